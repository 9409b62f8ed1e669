// r73ctl history: the controller's history as CSV, read with the calls of the program's readout.

#include "Command.h"
#include "Csv.h"
#include "HistoryReads.h"
#include "SafeFile.h"
#include "Session.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <map>

namespace r73::cli {

namespace {

constexpr quint16 FirstHistoryVersion = 208;

} // namespace

int runHistory(const QStringList& args, const QCommandLineParser& parser)
{
    if (!args.isEmpty()) return BadUsage;
    Session session;
    QString error;
    if (!session.open(error)) return fail(error);
    if (session.identity().biosVersion < FirstHistoryVersion)
        return fail(QStringLiteral("the controller keeps no history before BIOS 2.08"));

    // As the program does once at its connect; then element after element until one comes again
    // or the controller reports the end. The element number is a word, so a history that never
    // ends repeats a number after 65536 elements at the latest.
    session.Exec(QStringLiteral("_HIST_INIT_READ"), 4201);
    std::map<quint16, QStringList, std::greater<>> rows; // highest number first, as listed
    while (!session.exchangeFailed()) {
        const HistElement e = readHistElement(session);
        if (session.exchangeFailed()) break;
        if (e.marker == HistElement::HistoryMarker) {
            if (rows.count(e.number)) break;
            rows[e.number] = {QString::number(e.number),      QString::number(e.type),
                              QString::number(e.subtype),     QString::number(e.clampTravel),
                              HistResultText(e.clampResult),  QString::number(e.releaseTravel),
                              HistResultText(e.releaseResult)};
        }
        if (readHistEnd(session)) break;
    }
    if (session.exchangeFailed()) return fail(session.failure());

    QList<QStringList> list;
    for (auto& [number, row] : rows)
        list << row;
    const QString text = archive::toCsv(
        {QStringLiteral("number"), QStringLiteral("type"), QStringLiteral("subtype"),
         QStringLiteral("clamp travel [pulses]"), QStringLiteral("clamp result"),
         QStringLiteral("release travel [pulses]"), QStringLiteral("release result")},
        list);
    const QString path = parser.value(QStringLiteral("csv"));
    if (path.isEmpty()) {
        QTextStream(stdout) << text << Qt::flush;
        return Done;
    }
    QString reason;
    if (!writeFileAtomically(path, text.toUtf8(), &reason))
        return fail(QStringLiteral("cannot write %1: %2").arg(path, reason));
    return Done;
}

} // namespace r73::cli
