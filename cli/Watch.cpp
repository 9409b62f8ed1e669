// r73ctl watch: the poll cycle's reads at its pace, as rows of the trend's CSV format.

#include "Command.h"
#include "FunctionCatalog.h"
#include "Identify.h"
#include "PollReads.h"
#include "Protocol.h"
#include "Target.h"
#include "TrendFeed.h"
#include "TrendRecorder.h"

#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QTextStream>
#include <QThread>

namespace r73::cli {

namespace {

/// The calls of the command line: the first failure ends the watch with its location code.
class WatchCalls : public Exchanger
{
public:
    explicit WatchCalls(TTarget& link) : m_link(link) {}
    TTarget* link() const override { return &m_link; }
    void CommErr(quint16, quint16) override {}

private:
    TTarget& m_link;
};

/// One step of the poll cycle: phase 0 the sensor and the lines, phase 1 the status.
void pollStep(int phase, WatchCalls& calls, TrendFeed& feed)
{
    if (phase == 0) {
        feed.sensorRead(readSensorWords(calls).sensor);
        const quint16 input = readInputWord(calls);
        feed.inputRead(input, selectionText(input));
        const quint16 output = readOutputWord(calls);
        feed.outputRead(output, stateText(output), finishedText(output),
                        resultOf(output, input).text);
    } else {
        feed.statusRead(readStatusWord(calls));
    }
    feed.commit();
}

} // namespace

int runWatch(const QStringList& args, const QCommandLineParser& parser)
{
    if (!args.isEmpty()) return BadUsage;
    bool ok = true;
    const QString secondsText = parser.value(QStringLiteral("seconds"));
    const int seconds = secondsText.isEmpty() ? 0 : secondsText.toInt(&ok);
    if (!ok || seconds < 0) return fail(QStringLiteral("--seconds needs whole seconds, 0 or more"));

    TTarget link;
    QString error;
    if (!openSession(link, error, timeoutSeconds())) return fail(error);

    TrendFeed feed;
    TrendRecorder recorder;
    QTextStream out(stdout);
    const QString csv = parser.value(QStringLiteral("csv"));
    if (!csv.isEmpty()) {
        if (!recorder.startFile(csv, RecorderSettings{}, feed.channels(), error))
            return fail(error);
        QObject::connect(&feed, &TrendFeed::rowReady, &recorder, &TrendRecorder::write);
        QObject::connect(&recorder, &TrendRecorder::failed,
                         [&error](const QString& why) { error = why; });
    } else {
        out << csvHeader(feed.channels(), CsvFormat{}) << Qt::flush;
        QObject::connect(&feed, &TrendFeed::rowReady, [&out](const TrendRow& row) {
            out << csvLine(row, CsvFormat{}) << Qt::flush;
        });
    }

    // The poll's pace: one step a second, as the program's Timer1.
    WatchCalls calls(link);
    QDeadlineTimer end = seconds ? QDeadlineTimer(qint64(seconds) * 1000) : QDeadlineTimer::Forever;
    for (int phase = 0; !end.hasExpired(); phase ^= 1) {
        QDeadlineTimer tick(1000);
        pollStep(phase, calls, feed);
        if (calls.failedAt())
            return fail(link.LinkFailed()
                            ? QStringLiteral("no answer from the controller within %1 s")
                                  .arg(timeoutSeconds())
                            : QStringLiteral("the controller reported a failed call (location %1)")
                                  .arg(calls.failedAt()));
        if (!error.isEmpty()) return fail(error);
        const qint64 wait =
            seconds ? qMin(tick.remainingTime(), end.remainingTime()) : tick.remainingTime();
        QThread::msleep(quint64(qMax<qint64>(0, wait)));
    }
    recorder.stop();
    return error.isEmpty() ? Done : fail(error);
}

} // namespace r73::cli
