#include "HistoryReads.h"

#include "TextHook.h"

namespace r73 {

HistElement readHistElement(Exchanger& calls)
{
    calls.Exec(QStringLiteral("_@HIST_ELEMENT"), 4100);
    HistElement e;
    quint16* const values[] = {&e.marker,      &e.number,        &e.type,        &e.subtype,
                               &e.clampResult, &e.releaseResult, &e.clampTravel, &e.releaseTravel};
    quint16 location = 4101;
    for (quint16* v : values)
        *v = calls.Receive(location++);
    return e;
}

bool readHistEnd(Exchanger& calls)
{
    calls.Exec(QStringLiteral("_@HIST_?READ_END"), 4301);
    return calls.Receive(4302) != 0;
}

QString HistResultText(quint16 code)
{
    // The lower-case words sit one row after their upper-case twins in the language table.
    switch (code) {
    case 1:
        return tr73(1, QStringLiteral("kurz"));
    case 2:
        return tr73(1, QStringLiteral("lang"));
    case 3:
        return tr73(1, QStringLiteral("timeout"));
    case 4:
        return tr73(0, QStringLiteral("kein Werkzeug"));
    case 255:
        return tr73(1, QStringLiteral("ok"));
    default:
        return {};
    }
}

QStringList historyCells(const HistElement& e)
{
    return {QString::number(e.number),      QString::number(e.type),
            QString::number(e.subtype),     QString::number(e.clampTravel),
            HistResultText(e.clampResult),  QString::number(e.releaseTravel),
            HistResultText(e.releaseResult)};
}

} // namespace r73
