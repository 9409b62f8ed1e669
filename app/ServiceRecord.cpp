#include "ServiceRecord.h"

#include "ArchiveConfig.h"
#include "ArchiveWindow.h"
#include "BackupFile.h"
#include "ChangeRecords.h"
#include "ChangesView.h"
#include "ControllerModel.h"
#include "Csv.h"
#include "FiPri.h"
#include "Form_cy.h"
#include "LinkState.h"
#include "LogPrint.h"
#include "MessageFacade.h"
#include "PageHost.h"
#include "ProgramState.h"
#include "ReportFromWindow.h"
#include "ReportOfController.h"
#include "SafeFile.h"
#include "ShownValues.h"
#include "Terminate.h"
#include "TextHook.h"
#include "ui_Form1.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>

namespace r73 {

namespace {

/// A connect or read of this session failed: what the pages show is no longer the
/// controller's, so no document and no visit is made of it. The failure has been said.
bool sessionFailed()
{
    return !DemoMode &&
           (!programState().connected || programState().commErrorSeen || terminateRequested());
}

} // namespace

ServiceRecord::ServiceRecord(TForm1& window, TFileForm& logbook, QObject* parent)
    : QObject(parent), m_window(window)
{
    archive::Location where;
    if (archive::configuredLocation(&where, &m_settingsProblem)) {
        m_recorder = std::make_unique<archive::Recorder>(where, archive::localIndexFile(),
                                                         archive::filesRoot());
        connect(m_recorder.get(), &archive::Recorder::problem, this, &ServiceRecord::problem);
        connect(m_recorder.get(), &archive::Recorder::sent, this, [this](int count) {
            showMessage({&m_window,
                         tr73own("%1 lokal aufgezeichnete Besuche wurden an den Archiv-Server "
                                 "gesendet.")
                             .arg(count),
                         tr73own("Archiv"), MsgIcon::Information, MsgButtons::Ok});
        });
    }
    connect(&window, &TForm1::controllerConnected, this, [this] {
        // A new visit: what was written and replaced belongs to the controller before.
        m_sessionChanges.clear();
        m_replacement = {};
        m_lastChanges.clear();
        recordVisit(archive::KindConnect);
        // The pages' tooltips name a setting's last change from the archive, once it answers.
        const QString serial = model::shownSerial(m_window.controllerModel());
        if (m_recorder && !serial.isEmpty())
            m_recorder->readChanges(
                serial, this, [this, serial](const QList<archive::Change>& found) {
                    if (model::shownSerial(m_window.controllerModel()) != serial) return;
                    for (const archive::Change& c : found)
                        if (!m_lastChanges.contains(c.setting)) m_lastChanges.insert(c.setting, c);
                });
    });
    window.setLastChangeSource([this](const QString& key) {
        const auto it = m_lastChanges.constFind(key);
        if (it == m_lastChanges.cend()) return QString();
        return tr73own("Zuletzt geändert: %1 von %2 (%3)")
            .arg(archive::shownTime(it->at),
                 it->technician.isEmpty() ? tr73own("unbekannt") : it->technician,
                 archive::originName(*it));
    });
    connect(&logbook, &TFileForm::saved, this,
            [this](const QString& path) { recordVisit(archive::KindLogbook, {path}); });
    // Every write is recorded where the model learns of it.
    model::ControllerModel& m = window.controllerModel();
    connect(&m, &model::ControllerModel::settingWritten, this, &ServiceRecord::pageWrite);
    connect(&m, &model::ControllerModel::setMadePermanent, this,
            [this](SetId set) { recordSaves({set}); });
}

QString ServiceRecord::currentPage() const
{
    return m_window.pageCaption(m_window.form().TabbedNotebook1->currentIndex());
}

void ServiceRecord::recordChanges(QList<archive::Change> changes)
{
    const model::ControllerModel& m = m_window.controllerModel();
    // Offline no controller was changed: the file it is saved to is the record.
    if (changes.isEmpty() || !m.inSession() || m.demonstration() || OfflineMode) return;
    archive::stamp(changes, m.identity(), technician());
    if (m_recorder) m_recorder->recordChanges(changes); // it keeps their order in time
    // For the report, archive or not.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (archive::Change& c : changes) {
        c.at = now;
        m_sessionChanges << c;
        m_lastChanges.insert(c.setting, c);
    }
}

void ServiceRecord::pageWrite(const QString& key, const std::optional<backup::Value>& before,
                              const backup::Value& after)
{
    const backup::Setting* s = backup::settingOf(key);
    if (!s) return;
    const quint16 bios = m_window.controllerModel().identity().bios;
    archive::Change c;
    c.origin = QLatin1String(archive::OriginPage);
    c.source = currentPage();
    c.setting = key;
    c.caption = backup::label(*s, bios);
    if (before) c.before = backup::shown(*s, *before);
    c.after = backup::shown(*s, after);
    recordChanges({c});
}

void ServiceRecord::recordRestore(const QString& file, const backup::Plan& plan,
                                  const backup::Outcome& outcome)
{
    recordChanges(archive::restoreChanges(plan, outcome, QLatin1String(archive::OriginRestore),
                                          QFileInfo(file).fileName()));
    // The report names what was put onto this controller, and from where.
    backup::Snapshot source;
    const bool read = backup::loadBackup(file, source, nullptr);
    m_replacement = {tr73own("Austausch"), {}, {}};
    if (read)
        m_replacement.rows << QStringList{tr73own("Quelle: Controller"),
                                          tr73own("Seriennummer %1, BIOS %2")
                                              .arg(source.id.serial)
                                              .arg(backup::shownVersionText(source.id.bios))};
    m_replacement.rows << QStringList{tr73own("Datei"), QDir::toNativeSeparators(file)}
                       << QStringList{tr73own("Geschriebene Einstellungen"),
                                      QString::number(outcome.written.size())}
                       << QStringList{tr73own("Prüfung"),
                                      outcome.aborted ? tr73own("abgebrochen")
                                      : outcome.mismatches > 0
                                          ? tr73own("%1 weichen ab").arg(outcome.mismatches)
                                          : tr73own("alle stimmen überein")};
}

void ServiceRecord::recordSaves(const QList<SetId>& sets, const QString& file)
{
    if (sets.isEmpty()) return;
    const bool fromPage = file.isEmpty();
    recordChanges({archive::saveChange(
        sets, QLatin1String(fromPage ? archive::OriginPage : archive::OriginRestore),
        fromPage ? currentPage() : QFileInfo(file).fileName())});
}

ServiceRecord::~ServiceRecord() = default;

void ServiceRecord::problem(const QString& message)
{
    showMessage({&m_window, message, tr73own("Archiv"), MsgIcon::Warning, MsgButtons::Ok});
}

ServiceRecord::AddFiles ServiceRecord::recordVisit(const char* kind, const QStringList& files)
{
    if (sessionFailed() || OfflineMode) return {}; // offline no controller was visited
    if (!m_recorder) {
        if (!m_settingsProblem.isEmpty()) problem(m_settingsProblem);
        m_settingsProblem.clear(); // said once
        return {};
    }
    archive::Visit v;
    if (QLatin1String(kind) == QLatin1String(archive::KindReport)) {
        v.customer = m_customer.customer;
        v.site = m_customer.site;
        v.machine = m_customer.machine;
        v.order = m_customer.order;
    }
    v.serial = model::shownSerial(m_window.controllerModel());
    v.bios = model::shownBios(m_window.controllerModel());
    v.kind = QString::fromLatin1(kind);
    v.technician = technician();
    v.counters = countersFromWindow(m_window);
    // Recorded again under its id, the visit gains the files; those kept before stay listed.
    return [recorder = m_recorder.get(),
            queued = m_recorder->record(v, files)](const QStringList& more) {
        if (!more.isEmpty()) recorder->record(queued, more);
    };
}

QString ServiceRecord::technician() const
{
    return m_technician.isEmpty() ? archive::technicianName() : m_technician;
}

bool ServiceRecord::technicianKnown()
{
    if (!archive::technicianName().isEmpty()) return true;
    bool ok = false;
    const QString name =
        QInputDialog::getText(&m_window, tr73own("Servicebericht"), tr73own("Name des Technikers:"),
                              QLineEdit::Normal, {}, &ok)
            .trimmed();
    if (!ok || name.isEmpty()) return false;
    if (!archive::writeTechnicianName(name))
        problem(tr73own("Der Name kann nicht in der Konfigurationsdatei gespeichert werden."));
    return true;
}

void ServiceRecord::refreshPages()
{
    // The channels and their live values as the controller holds them now, read as their page
    // reads them; everything else is on the pages already.
    if (programState().biosVersion >= 300 && !DemoMode && m_window.analogPages())
        m_window.analogPages()->ReadGraphR73();
}

void ServiceRecord::makeReport()
{
    if (!technicianKnown()) return;
    QDialog dialog(&m_window);
    dialog.setWindowTitle(tr73own("Servicebericht"));
    auto* technician = new QLineEdit(archive::technicianName(), &dialog);
    proposeCustomer();
    QLineEdit* customer[] = {
        new QLineEdit(m_customer.customer, &dialog), new QLineEdit(m_customer.site, &dialog),
        new QLineEdit(m_customer.machine, &dialog), new QLineEdit(m_customer.order, &dialog)};
    const char* const customerNames[] = {"edCustomer", "edSite", "edMachine", "edOrder"};
    for (int i = 0; i < 4; ++i)
        customer[i]->setObjectName(QLatin1String(customerNames[i]));
    auto* remarks = new QPlainTextEdit(&dialog);
    remarks->setPlaceholderText(tr73own("Befund, durchgeführte Arbeiten, Empfehlungen"));
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* pdf = buttons->addButton(tr73own("PDF speichern"), QDialogButtonBox::AcceptRole);
    QPushButton* print = buttons->addButton(tr73own("Drucken"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    auto* form = new QFormLayout(&dialog);
    form->addRow(tr73own("Techniker"), technician);
    form->addRow(tr73own("Kunde"), customer[0]);
    form->addRow(tr73own("Standort"), customer[1]);
    form->addRow(tr73own("Maschine"), customer[2]);
    form->addRow(tr73own("Auftragsnummer"), customer[3]);
    form->addRow(tr73own("Bemerkungen"), remarks);
    form->addRow(buttons);
    QPushButton* chosen = nullptr;
    connect(buttons, &QDialogButtonBox::clicked, &dialog, [&](QAbstractButton* b) {
        chosen = qobject_cast<QPushButton*>(b);
        dialog.done(chosen == pdf || chosen == print ? QDialog::Accepted : QDialog::Rejected);
    });
    dialog.resize(480, 380);
    if (dialog.exec() != QDialog::Accepted) return;
    if (technician->text().trimmed() != archive::technicianName())
        archive::writeTechnicianName(technician->text().trimmed());
    m_customer = {customer[0]->text().trimmed(), customer[1]->text().trimmed(),
                  customer[2]->text().trimmed(), customer[3]->text().trimmed()};
    if (chosen == print) {
        printReport(remarks->toPlainText());
        return;
    }
    const QString serial = model::shownSerial(m_window.controllerModel());
    const QString folder = archive::controllerFolder(archive::filesRoot(), serial);
    QDir().mkpath(folder);
    const QString path =
        showSaveDialog({&m_window, tr73own("Servicebericht"), folder,
                        report::proposeReportFileName(serial, QDate::currentDate()),
                        QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)")});
    if (!path.isEmpty()) saveReport(path, remarks->toPlainText());
}

report::ServiceReport ServiceRecord::currentReport(const QString& remarks) const
{
    report::ServiceReport r = reportFromWindow(m_window);
    r.technician = technician();
    r.customer = m_customer;
    r.remarks = remarks;
    r.replacement = m_replacement;
    if (!m_sessionChanges.isEmpty()) {
        r.changes = {tr73own("Änderungen während des Besuchs"),
                     {tr73own("Zeit"), tr73own("Einstellung"), tr73own("Vorher"),
                      tr73own("Nachher"), tr73own("Herkunft")},
                     {}};
        for (const archive::Change& c : m_sessionChanges)
            r.changes.rows << QStringList{
                r.locale.toString(c.at.toLocalTime().time(), QLocale::ShortFormat), c.caption,
                c.before, c.after, archive::originName(c)};
    }
    return r;
}

void ServiceRecord::addLogo(report::ServiceReport& r)
{
    QString why;
    r.logo = report::configuredLogo(&why);
    if (!why.isEmpty())
        showMessage({&m_window, why, tr73own("Servicebericht"), MsgIcon::Warning, MsgButtons::Ok});
}

void ServiceRecord::proposeCustomer()
{
    const QString serial = model::shownSerial(m_window.controllerModel());
    if (!m_recorder || serial.isEmpty() || serial == m_customerOf) return;
    m_customerOf = serial;
    // What is queued goes in first; the last report that named a customer proposes it.
    m_recorder->flush(3000);
    archive::Archive a;
    if (!a.open(m_recorder->location(), nullptr)) return;
    const QList<archive::Visit> visits = a.visits(serial, nullptr);
    for (auto v = visits.crbegin(); v != visits.crend(); ++v)
        if (!v->customer.isEmpty() || !v->site.isEmpty() || !v->machine.isEmpty() ||
            !v->order.isEmpty()) {
            m_customer = {v->customer, v->site, v->machine, v->order};
            return;
        }
    m_customer = {};
}

bool ServiceRecord::saveReport(const QString& path, const QString& remarks)
{
    if (sessionFailed()) return false;
    refreshPages();
    if (sessionFailed()) return false; // a file of that name stays as it was
    report::ServiceReport r = currentReport(remarks);
    addLogo(r);
    QString error;
    if (!report::writeReportPdf(r, path, &error)) {
        showMessage({&m_window,
                     tr73own("Der Servicebericht %1 kann nicht gespeichert werden: %2")
                         .arg(QDir::toNativeSeparators(path), error),
                     tr73own("Fehler"), MsgIcon::Error, MsgButtons::Ok});
        return false;
    }
    recordVisit(archive::KindReport, {path});
    m_window.showDone(tr73own("Bericht gespeichert: %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

bool ServiceRecord::printReport(const QString& remarks)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!runPrintDialog(&m_window, printer)) return false;
    printer.setPageSize(report::paperFor(QLocale()));
    if (sessionFailed()) return false;
    refreshPages();
    if (sessionFailed()) return false;
    report::ServiceReport r = currentReport(remarks);
    addLogo(r);
    report::renderReport(r, printer);
    if (printer.printerState() == QPrinter::Error) {
        showMessage({&m_window, tr73own("Der Servicebericht kann nicht gedruckt werden."),
                     tr73own("Fehler"), MsgIcon::Error, MsgButtons::Ok});
        return false;
    }
    recordVisit(archive::KindReport);
    return true;
}

void ServiceRecord::showArchive()
{
    if (!m_recorder) {
        problem(m_settingsProblem);
        return;
    }
    // The window reads what is written: visits still queued go in first.
    m_recorder->flush(3000);
    if (m_archiveWindow) m_archiveWindow->deleteLater();
    m_archiveWindow =
        new archive::ArchiveWindow(m_recorder->location(), archive::filesRoot(), &m_window);
    m_archiveWindow->setAttribute(Qt::WA_DeleteOnClose);
    m_archiveWindow->showController(model::shownSerial(m_window.controllerModel()));
    m_archiveWindow->show();
}

bool ServiceRecord::exportHistory(const QString& path)
{
    const report::Table t = report::historyOf(m_window.controllerModel());
    QStringList header = t.header;
    // Travel columns: clamp and release, in pulses.
    for (int c : {1, 3})
        if (c < header.size()) header[c] += QStringLiteral(" [Pulse]");
    QString reason;
    if (writeFileAtomically(path, archive::toCsv(header, t.rows).toUtf8(), &reason)) return true;
    showMessage({&m_window,
                 tr73own("Datei %1 kann nicht gespeichert werden: %2")
                     .arg(QDir::toNativeSeparators(path), reason),
                 tr73own("Fehler"), MsgIcon::Error, MsgButtons::Ok});
    return false;
}

void ServiceRecord::exportHistoryAsked()
{
    // A file of only the header would pass for an empty history.
    if (m_window.controllerModel().history().isEmpty()) {
        showMessage({&m_window,
                     tr73own("Es ist noch keine Historie gelesen: \"Lesen\" auf der Seite LOGBUCH "
                             "liest sie."),
                     tr73own("Historie als CSV"), MsgIcon::Information, MsgButtons::Ok});
        return;
    }
    const QString serial = model::shownSerial(m_window.controllerModel());
    const QString path =
        showSaveDialog({&m_window, tr73own("Historie als CSV"), QStringLiteral("Log"),
                        serial + u'_' + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
                            tr73own("_historie.csv"),
                        QStringLiteral("csv"), QStringLiteral("CSV (*.csv)")});
    if (!path.isEmpty()) exportHistory(path);
}

} // namespace r73
