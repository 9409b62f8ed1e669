#include "TextHook.h"

namespace r73 {

namespace {
TranslateFunction g_translate = nullptr;
}

void setTranslateFunction(TranslateFunction fn)
{
    g_translate = fn;
}

QString tr73(int offset, const QString& german)
{
    return g_translate ? g_translate(offset, german) : german;
}

QString tr73own(const QString& german)
{
    return tr73(OwnText, german);
}

} // namespace r73
