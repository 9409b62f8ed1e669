#include "TextHook.h"

namespace r73 {

namespace {
TranslateFunction g_translate = nullptr;
FileTextFunction g_toFile = nullptr;
FileTextFunction g_fromFile = nullptr;
} // namespace

void setTranslateFunction(TranslateFunction fn)
{
    g_translate = fn;
}

void setFileTextFunctions(FileTextFunction toFile, FileTextFunction fromFile)
{
    g_toFile = toFile;
    g_fromFile = fromFile;
}

QString fileText(const QString& shown)
{
    return g_toFile ? g_toFile(shown) : shown;
}

QString shownText(const QString& inFile)
{
    return g_fromFile ? g_fromFile(inFile) : inFile;
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
