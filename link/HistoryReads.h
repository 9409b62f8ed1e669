#pragma once
/// The controller's history as calls, and what its values mean: shared by the page "LOGBUCH"
/// and r73ctl, so both make the same calls with the same location codes and name the results
/// alike.

#include "Exchanger.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace r73 {

/// One history element as the controller delivers it, eight values in this order.
struct HistElement
{
    /// Any other first value means the controller had no valid element.
    static constexpr quint16 HistoryMarker = 8271;

    quint16 marker = 0;
    quint16 number = 0;
    quint16 type = 0;
    quint16 subtype = 0;
    quint16 clampResult = 0;
    quint16 releaseResult = 0;
    quint16 clampTravel = 0;
    quint16 releaseTravel = 0;
};

/// "_@HIST_ELEMENT" (4100), then its eight values (4101-4108).
HistElement readHistElement(Exchanger& calls);
/// "_@HIST_?READ_END" (4301, 4302): true when the end of the history is reached.
bool readHistEnd(Exchanger& calls);

/// The text of a result code: "kurz", "lang", "timeout", "kein Werkzeug", "ok" (translated),
/// empty for any other code.
QString HistResultText(quint16 code);

/// An element as the list's columns show it: number, type, subtype, clamp travel, clamp result,
/// release travel, release result.
QStringList historyCells(const HistElement& e);

} // namespace r73
