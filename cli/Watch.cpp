// r73ctl watch: the window's poll cycle at its pace, as rows of the trend's CSV format with the
// service values after the trend's columns.

#include "Command.h"
#include "ParamSets.h"
#include "PollReads.h"
#include "SafeFile.h"
#include "Session.h"
#include "Target.h"
#include "TrendCsv.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>
#include <optional>

namespace r73::cli {

namespace {

const char* const ServiceHeader[] = {"frequency [0.1 Hz]",
                                     "clamp pulses",
                                     "release pulses",
                                     "release deviation [pulses]",
                                     "creep frequency [0.1 Hz]",
                                     "max frequency [0.1 Hz]",
                                     "duration [ms]"};

QString header()
{
    QString line = csvHeader(ChannelInfos{}, CsvFormat{});
    line.chop(1);
    for (const char* h : ServiceHeader)
        line += u',' + QString::fromLatin1(h);
    return line + u'\n';
}

/// The trend's cells, then the service values by the table the page "SERVICE" shows them by; a
/// cell stays empty when its step did not read it (release values before BIOS 2.08 included).
QString line(const TrendRow& row, const std::optional<ServiceWords>& s, quint16 bios)
{
    QString text = csvLine(row, CsvFormat{});
    text.chop(1);
    for (const ServiceDef& d : serviceDefs()) {
        const bool release = QLatin1String(d.key).startsWith(QLatin1String("release_"));
        text += u',';
        if (s && (bios >= 208 || !release)) text += QString::number(serviceNumber(d, (*s).*d.word));
    }
    return text + u'\n';
}

/// One step's reads as a row; false when nothing was read in it (the history step).
bool readStep(PollStep step, Session& calls, quint16 bios, TrendRow& row,
              std::optional<ServiceWords>& service)
{
    row = TrendRow{};
    row.msecs = QDateTime::currentMSecsSinceEpoch();
    service.reset();
    if (step == PollStep::Lines) {
        row.sensor = readSensorWords(calls).sensor;
        row.input = readInputWord(calls);
        row.selection = selectionText(quint16(row.input));
        const quint16 output = readOutputWord(calls);
        row.output = output;
        row.state = stateName(output);
        row.finished = finishedName(output);
        row.result = resultName(output, quint16(row.input));
        return true;
    }
    if (step == PollStep::StatusService) {
        row.status = readStatusWord(calls);
        service = readServiceWords(calls, bios);
        return true;
    }
    // No readout runs here; the step only keeps the cycle's pace.
    return false;
}

/// The output: standard output, or the named file, never emptied.
class Output
{
public:
    bool open(const QString& path, bool append, QString& error)
    {
        if (path.isEmpty()) return true;
        QFile existing(path);
        const bool hasRows = existing.exists() && existing.size() > 0;
        if (hasRows && !append) {
            error =
                QStringLiteral("%1 exists; it is not overwritten (--append adds to it)").arg(path);
            return false;
        }
        if (hasRows) {
            if (!existing.open(QIODevice::ReadOnly) || existing.readLine() != header().toUtf8()) {
                error = QStringLiteral("%1 has other columns than watch writes; nothing was added")
                            .arg(path);
                return false;
            }
        }
        if (!m_file.open(path, append ? GrowingFile::Mode::Append : GrowingFile::Mode::New)) {
            error = QStringLiteral("cannot write %1: %2").arg(path, m_file.reason());
            return false;
        }
        // The header at once: a watch that fails at its first read leaves a file that says so.
        if (!hasRows && !m_file.write(header().toUtf8())) {
            error = QStringLiteral("cannot write %1: %2").arg(path, m_file.reason());
            return false;
        }
        return true;
    }
    bool write(const QString& text, QString& error)
    {
        if (!m_file.isOpen()) {
            QTextStream(stdout) << text << Qt::flush;
            return true;
        }
        if (m_file.write(text.toUtf8())) return true;
        error = QStringLiteral("cannot write %1: %2").arg(m_file.path(), m_file.reason());
        return false;
    }
    bool toFile() const { return m_file.isOpen(); }

private:
    GrowingFile m_file;
};

} // namespace

int runWatch(const QStringList& args, const QCommandLineParser& parser)
{
    if (!args.isEmpty()) return BadUsage;
    bool ok = true;
    const QString secondsText = parser.value(QStringLiteral("seconds"));
    const int seconds = secondsText.isEmpty() ? 0 : secondsText.toInt(&ok);
    if (!ok || seconds < 0) {
        QTextStream(stderr) << "r73ctl: --seconds needs whole seconds, 0 or more\n";
        return BadUsage;
    }
    const QString csv = parser.value(QStringLiteral("csv"));
    const bool append = parser.isSet(QStringLiteral("append"));
    QString error;
    // An existing file is refused before the controller is asked anything.
    if (!csv.isEmpty() && !append && QFileInfo(csv).size() > 0)
        return fail(
            QStringLiteral("%1 exists; it is not overwritten (--append adds to it)").arg(csv));

    Session session;
    if (!session.open(error)) return fail(error);
    const quint16 bios = session.identity().biosVersion;
    Output out;
    if (!out.open(csv, append, error)) return fail(error);
    if (!out.toFile() && !out.write(header(), error)) return fail(error);

    // The window's pace: one step a second, as its Timer1.
    PollCycle cycle;
    QDeadlineTimer end = seconds ? QDeadlineTimer(qint64(seconds) * 1000) : QDeadlineTimer::Forever;
    while (!end.hasExpired()) {
        QDeadlineTimer tick(1000);
        TrendRow row;
        std::optional<ServiceWords> service;
        const bool read = readStep(cycle.next(bios), session, bios, row, service);
        // A step that failed anywhere writes nothing: its words would be zeros, not readings.
        if (session.exchangeFailed()) return fail(session.failure());
        if (read && !out.write(line(row, service, bios), error)) return fail(error);
        const qint64 wait =
            seconds ? qMin(tick.remainingTime(), end.remainingTime()) : tick.remainingTime();
        QThread::msleep(quint64(qMax<qint64>(0, wait)));
    }
    return Done;
}

} // namespace r73::cli
