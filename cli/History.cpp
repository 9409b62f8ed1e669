// r73ctl history: the controller's history as CSV, read with the calls of the program's readout.

#include "Command.h"
#include "Csv.h"
#include "Session.h"

#include <QCommandLineParser>
#include <QSaveFile>
#include <QTextStream>
#include <map>

namespace r73::cli {

namespace {

constexpr quint16 HistoryMarker = 8271;
constexpr quint16 FirstHistoryVersion = 208;

QString resultText(quint16 code)
{
    switch (code) {
    case 1:
        return QStringLiteral("short");
    case 2:
        return QStringLiteral("long");
    case 3:
        return QStringLiteral("timeout");
    case 4:
        return QStringLiteral("no tool");
    case 255:
        return QStringLiteral("ok");
    default:
        return {};
    }
}

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
        session.Exec(QStringLiteral("_@HIST_ELEMENT"), 4100);
        quint16 v[8];
        for (quint16 i = 0; i < 8; ++i)
            v[i] = session.Receive(quint16(4101 + i));
        if (session.exchangeFailed()) break;
        if (v[0] == HistoryMarker) {
            if (rows.count(v[1])) break;
            rows[v[1]] = {QString::number(v[1]), QString::number(v[2]), QString::number(v[3]),
                          QString::number(v[6]), resultText(v[4]), QString::number(v[7]),
                          resultText(v[5])};
        }
        session.Exec(QStringLiteral("_@HIST_?READ_END"), 4301);
        if (session.Receive(4302) != 0) break;
    }
    if (session.exchangeFailed()) return fail(session.failure());

    QList<QStringList> list;
    for (auto& [number, row] : rows)
        list << row;
    const QString text = archive::toCsv({QStringLiteral("number"), QStringLiteral("type"),
                                         QStringLiteral("subtype"),
                                         QStringLiteral("clamp travel [pulses]"),
                                         QStringLiteral("clamp result"),
                                         QStringLiteral("release travel [pulses]"),
                                         QStringLiteral("release result")},
                                        list);
    const QString path = parser.value(QStringLiteral("csv"));
    if (path.isEmpty()) {
        QTextStream(stdout) << text << Qt::flush;
        return Done;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return Done;
}

} // namespace r73::cli
