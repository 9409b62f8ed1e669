// r73ctl report: connects, reads the settings and makes one poll cycle with the window's calls,
// writes the service report of what it read, and archives the visit as the program's connect
// and menu do.

#include "ArchiveConfig.h"
#include "ChannelSequences.h"
#include "Command.h"
#include "CommandRecord.h"
#include "Controller.h"
#include "ControllerModel.h"
#include "FunctionCatalog.h"
#include "NorloIni.h"
#include "PollReads.h"
#include "Protocol.h"
#include "ReportOfController.h"
#include "SettingsCommands.h"
#include "Target.h"
#include "Translate.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

namespace r73::cli {

namespace {

/// The channels' live values as their page reads them, on the scale of each one's range.
void readChannels(Session& session, model::ControllerModel& model)
{
    for (int c = 1; c <= 3; ++c) {
        const QString stem = QStringLiteral("channel%1.").arg(c);
        const quint16 word = model::valueOr(model, stem + QStringLiteral("parameters")).word;
        if (!(word & 1)) continue; // an inactive channel shows no value
        const auto [raw, flags] = readLiveValue(session, c);
        QLocale locale;
        locale.setNumberOptions(QLocale::RejectGroupSeparator);
        const double min =
            locale.toDouble(model::valueOr(model, stem + QStringLiteral("minimum")).text.trimmed());
        const double max =
            locale.toDouble(model::valueOr(model, stem + QStringLiteral("maximum")).text.trimmed());
        model.channelRead(c, {raw, flags, rawToPhys(raw, min, max, rawBottom(word), RawTop),
                              QDateTime::currentDateTime()});
    }
}

/// One cycle of the window's poll: the lines, then status and service values.
void pollOnce(Session& session, model::ControllerModel& model)
{
    const quint16 bios = model.identity().bios;
    model.sensorRead(readSensorWords(session).sensor);
    model.inputRead(readInputWord(session));
    model.outputRead(readOutputWord(session));
    model.statusRead(readStatusWord(session));
    model.serviceRead(readServiceWords(session, bios));
}

} // namespace

int runReport(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() > 1) return BadUsage;
    // The program's language, technician and archive; the configured port stays as it is.
    useConfigFile(true);
    useDevice(devicePath(parser.value(QStringLiteral("device"))));
    CurrentLanguage = readLanguage(0);
    CommandRecord record;
    QString problem;
    if (!record.open(&problem)) return fail(problem);
    Session session;
    if (!session.open(problem)) return fail(problem);
    session.Exec(QStringLiteral("TEST_START"), 100); // as the program's connect
    const Identity& id = session.identity();
    backup::LinkController controller(session, {id.biosVersion, id.serialNumber});
    const backup::Snapshot snapshot = controller.read();
    if (controller.failed()) return fail(session.failure());
    model::ControllerModel model;
    model.begin(snapshot.id, QStringLiteral(R73_VERSION), false);
    model.snapshotRead(snapshot);
    record.visit(model, archive::KindConnect);
    pollOnce(session, model);
    if (model.identity().bios >= 300) readChannels(session, model);
    if (session.exchangeFailed()) return fail(session.failure());
    // The session ends as closing the program's window ends it.
    if (TService* stop = services().find(QStringLiteral("TEST_STOP"))) stop->Execute();

    // A folder, or none, takes the name the program proposes.
    QString path = args.isEmpty() ? QDir::currentPath() : args.first();
    if (QFileInfo(path).isDir())
        path = QDir(path).filePath(report::proposeReportFileName(
            QString::number(snapshot.id.serial), QDate::currentDate()));
    report::ServiceReport r = report::reportOf(model, {0, std::nullopt});
    r.technician = archive::technicianName();
    const auto given = [&parser](const char* name) {
        return parser.value(QLatin1String(name)).trimmed();
    };
    r.customer = {given("customer"), given("site"), given("machine"), given("order")};
    QString logoProblem;
    r.logo = report::configuredLogo(&logoProblem);
    if (!logoProblem.isEmpty()) QTextStream(stderr) << "r73ctl: " << logoProblem << Qt::endl;
    QString error;
    if (!report::writeReportPdf(r, path, &error))
        return fail(QStringLiteral("the service report %1 cannot be saved: %2")
                        .arg(QDir::toNativeSeparators(path), error));
    record.visit(model, archive::KindReport, {path}, r.customer);
    // Beside the file's name, which scripts take from standard output.
    if (const QString why = record.finish(); !why.isEmpty()) return fail(why);
    QTextStream(stdout) << QDir::toNativeSeparators(path) << Qt::endl;
    return Done;
}

} // namespace r73::cli
