#include "Translate.h"

namespace r73 {

int CurrentLanguage = 0;
QStringList GermanTexts;
QStringList EnglishTexts;
QStringList ThirdTexts;

namespace {

const QStringList* textsOf(int language)
{
    switch (language) {
    case 1:
        return &EnglishTexts;
    case 2:
        return &ThirdTexts;
    default:
        return nullptr;
    }
}

} // namespace

QString Translate(int offset, const QString& german)
{
    if (CurrentLanguage == 0) return german;
    const QStringList* texts = textsOf(CurrentLanguage);
    if (!texts) return german;
    // First match wins, which is why "Speichern" lands on "SPEICHERN" and needs offset 1.
    for (qsizetype i = 0; i < GermanTexts.size(); ++i) {
        if (GermanTexts.at(i).compare(german, Qt::CaseInsensitive) != 0) continue;
        const qsizetype row = i + offset;
        return row >= 0 && row < texts->size() ? texts->at(row) : german;
    }
    return german;
}

} // namespace r73
