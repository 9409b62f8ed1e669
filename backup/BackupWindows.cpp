#include "BackupWindows.h"

#include "AnalogPages.h"
#include "BackupFile.h"
#include "ControllerModel.h"
#include "Exchanger.h"
#include "LinkState.h"
#include "LogPrint.h"
#include "MessageFacade.h"
#include "ParamFormat.h"
#include "ParamPages.h"
#include "ProgramState.h"
#include "Target.h"
#include "TextHook.h"
#include "TimerWrapper.h"
#include "WindowKeepAlive.h"

#include <QCheckBox>
#include <QColor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace r73 {

namespace {

const char* const Caption = "Service-Daten";

void info(QWidget* owner, const QString& text, MsgIcon icon = MsgIcon::Information)
{
    showMessage({owner, text, tr73own(Caption), icon, MsgButtons::Ok});
}

/// The program's flag "sent since its last permanent save" of a set.
bool& changedFlag(ProgramState& state, SetId set)
{
    bool* const flags[] = {&state.clampChanged, &state.releaseChanged, &state.flatChanged,
                           &state.vibrationChanged};
    return *flags[int(set)];
}

QDialog* makeDialog(QWidget* owner, const QString& title)
{
    auto* d = new QDialog(owner);
    d->setAttribute(Qt::WA_DeleteOnClose, false);
    d->setWindowTitle(title);
    d->resize(760, 520);
    return d;
}

} // namespace

TBackupActions::TBackupActions(PageHost& host, TParamPages* params, TAnalogPages* analog,
                               std::function<void()> reread, QObject* parent)
    : QObject(parent), m_host(host), m_params(params), m_analog(analog), m_reread(std::move(reread))
{}

TBackupActions::~TBackupActions() = default;

backup::Snapshot TBackupActions::demoSnapshot() const
{
    // The demonstration's values, as the model holds them; the hydraulic switch has none.
    backup::Snapshot s = m_host.controllerModel().snapshot();
    s.id.bios = m_host.state().biosVersion;
    for (auto it = s.values.begin(); it != s.values.end();) {
        const backup::Setting* st = backup::settingOf(it.key());
        if (!st || !backup::offeredBy(*st, s.id.bios) || st->kind == backup::Kind::Switch)
            it = s.values.erase(it);
        else
            ++it;
    }
    return s;
}

backup::Controller& TBackupActions::controller()
{
    if (!m_controller) {
        if (DemoMode) {
            m_controller = std::make_unique<backup::MemoryController>(demoSnapshot());
        } else {
            m_controller = std::make_unique<backup::LinkController>(
                m_host, backup::Identity{m_host.state().biosVersion,
                                         m_host.controllerModel().identity().serial});
        }
    }
    return *m_controller;
}

void TBackupActions::held(const QString& step, const std::function<void()>& f)
{
    // Polling waits while the sequence runs, as during F4 and F5; the timers' ticks inside it
    // are skipped anyway, so nothing interleaves with the sequence's exchanges.
    TTimer& poll = m_host.Timer1();
    TTimer& live = m_host.Timer4();
    const bool polling = poll.Enabled(), living = live.Enabled();
    poll.setEnabled(false);
    live.setEnabled(false);
    TTarget* link = m_host.link();
    const quint32 first = link ? link->ExchangeCount() : 0;
    {
        SequenceProgress progress([&] {
            if (m_params && link)
                m_params->showConnectStatus(
                    QStringLiteral("%1 … %2").arg(step).arg(link->ExchangeCount() - first));
        });
        f();
    }
    if (m_params) m_params->showConnectStatus(QString());
    if (m_host.state().commErrorSeen) return; // the program is ending
    // The page shows the controller again, with its own set selected.
    if (m_reread && !DemoMode) m_reread();
    poll.setEnabled(polling);
    live.setEnabled(living);
}

bool TBackupActions::readController(backup::Snapshot& out, const QString& step)
{
    bool failed = false;
    held(step, [&] {
        out = controller().read();
        failed = controller().failed();
    });
    return !failed;
}

namespace {

/// The controller's history as the page "LOGBUCH" lists it, one line per element, without
/// the list's hidden type and subtype; read-only information, so no exchange is spent on it.
QStringList listedHistory(const model::ControllerModel& model)
{
    QStringList lines;
    for (const HistElement& e : model.history()) {
        QStringList cells = historyCells(e);
        cells.remove(1, 2);
        lines << cells.join(QStringLiteral(" | "));
    }
    return lines;
}

} // namespace

void TBackupActions::Backup()
{
    backup::Snapshot snapshot;
    if (!readController(snapshot, tr73own("LESEN"))) return;
    snapshot.history = listedHistory(m_host.controllerModel());
    QDir().mkpath(QLatin1String(backup::BackupFolder));
    const QString proposed =
        backup::proposedName(QLatin1String(backup::BackupFolder), snapshot.id.serial);
    const QString path = showSaveDialog(
        {m_host.window(), tr73own("Service-Daten sichern"), QLatin1String(backup::BackupFolder),
         QFileInfo(proposed).fileName(), QStringLiteral("json"), tr73own("Sicherung (*.json)")});
    if (path.isEmpty()) return;
    QString error;
    if (!backup::saveBackup(path, snapshot, &error))
        info(m_host.window(), error, MsgIcon::Error);
    else {
        if (m_recorder) m_recorder(false, {path});
        m_host.showDone(tr73own("Sicherung gespeichert: %1").arg(QDir::toNativeSeparators(path)));
        QString text = tr73own("%1 Einstellungen gesichert in \"%2\".")
                           .arg(snapshot.values.size())
                           .arg(QDir::toNativeSeparators(path));
        const auto held = backup::heldItems(snapshot);
        if (!held.isEmpty()) {
            text += QStringLiteral("\n\n") +
                    tr73own("So gesichert, wie der Controller sie hält; eine Wiederherstellung "
                            "überspringt sie:");
            for (const auto& [key, reason] : held)
                text += QStringLiteral("\n") +
                        backup::label(*backup::settingOf(key), snapshot.id.bios) +
                        QStringLiteral(": ") + reason;
        }
        info(m_host.window(), text, held.isEmpty() ? MsgIcon::Information : MsgIcon::Warning);
    }
}

bool TBackupActions::chooseFile(QString& path, backup::Snapshot& file)
{
    path = showOpenDialog({m_host.window(), tr73own("Sicherung öffnen"),
                           QLatin1String(backup::BackupFolder), QString(), QStringLiteral("json"),
                           tr73own("Sicherung (*.json)")});
    if (path.isEmpty()) return false;
    QString error;
    if (backup::loadBackup(path, file, &error)) return true;
    info(m_host.window(), error + u'\n' + tr73own("Es wurde nichts zum R73 gesendet."),
         MsgIcon::Error);
    return false;
}

void TBackupActions::Compare()
{
    QString path;
    backup::Snapshot file, current;
    if (!chooseFile(path, file) || !readController(current, tr73own("LESEN"))) return;
    showComparison(backup::planRestore(file, current), path, false);
}

bool TBackupActions::showComparison(const backup::Plan& plan, const QString& fileName, bool restore)
{
    std::unique_ptr<QDialog> d(makeDialog(m_host.window(), tr73own("Vergleich")));
    auto* layout = new QVBoxLayout(d.get());
    if (!plan.identityDifferences.isEmpty()) {
        auto* identity = new QLabel(plan.identityDifferences.join(u'\n'), d.get());
        identity->setObjectName(QStringLiteral("identity"));
        identity->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
        layout->addWidget(identity);
    }
    // The file's full path heads the dialog; its column is named by the file's name alone.
    auto* file = new QLabel(QDir::toNativeSeparators(fileName), d.get());
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(file);
    const QStringList lines =
        backup::comparisonLines(plan, QFileInfo(fileName).fileName(), tr73own("Controller"));
    // The identity lines and a blank one come first, then the heading and the rows.
    const qsizetype first =
        plan.identityDifferences.isEmpty() ? 0 : plan.identityDifferences.size() + 1;
    auto* table = new QTableWidget(int(lines.size() - first - 1), 4, d.get());
    table->setObjectName(QStringLiteral("comparison"));
    table->setHorizontalHeaderLabels(lines[first].split(QStringLiteral(" | ")));
    const QString same = tr73own("gleich");
    QList<int> sameRows;
    for (qsizetype r = first + 1; r < lines.size(); ++r) {
        const QStringList cells = lines[r].split(QStringLiteral(" | "));
        // What differs stands out, so a long table is read at a glance.
        const bool differs = cells.value(3) != same;
        if (!differs) sameRows << int(r - first - 1);
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells.value(c));
            if (differs) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(QColor(0xff, 0xf0, 0xb0));
            }
            table->setItem(int(r - first - 1), c, item);
        }
    }
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    d->resize(920, 560);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true); // the last column is never cut off
    // Only what differs at first; the rest a click away.
    auto* count = new QLabel(tr73own("%1 von %2 Einstellungen verschieden")
                                 .arg(table->rowCount() - sameRows.size())
                                 .arg(table->rowCount()),
                             d.get());
    count->setObjectName(QStringLiteral("differing"));
    auto* all = new QCheckBox(tr73own("Alle Einstellungen zeigen"), d.get());
    all->setObjectName(QStringLiteral("showAll"));
    auto showRows = [table, sameRows](bool everything) {
        for (int row : sameRows)
            table->setRowHidden(row, !everything);
    };
    showRows(false);
    connect(all, &QCheckBox::toggled, table, showRows);
    auto* filter = new QHBoxLayout;
    filter->addWidget(count);
    filter->addStretch();
    filter->addWidget(all);
    layout->addLayout(filter);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(d.get());
    if (restore) {
        auto* write = buttons->addButton(
            (plan.toWrite() == 1
                 ? tr73own("&Wiederherstellen (1 Einstellung)")
                 : tr73own("&Wiederherstellen (%1 Einstellungen)").arg(plan.toWrite())),
            QDialogButtonBox::AcceptRole);
        write->setObjectName(QStringLiteral("restore"));
        write->setEnabled(plan.toWrite() > 0);
        buttons->addButton(QDialogButtonBox::Cancel);
    } else {
        buttons->addButton(QDialogButtonBox::Close);
    }
    connect(buttons, &QDialogButtonBox::accepted, d.get(), &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, d.get(), &QDialog::reject);
    layout->addWidget(buttons);
    return d->exec() == QDialog::Accepted;
}

bool TBackupActions::confirmIdentity(const backup::Plan& plan)
{
    if (plan.identityDifferences.isEmpty()) return true;
    // A backup of another controller is allowed only after the operator read what differs.
    return showMessage({m_host.window(),
                        plan.identityDifferences.join(u'\n') + QStringLiteral("\n\n") +
                            tr73own("Die Sicherung stammt von einem anderen Controller. Trotzdem "
                                    "wiederherstellen?"),
                        tr73own(Caption), MsgIcon::Warning, MsgButtons::YesNo}) == MsgAnswer::Yes;
}

void TBackupActions::Restore()
{
    QString path;
    backup::Snapshot file, current;
    if (!chooseFile(path, file) || !readController(current, tr73own("LESEN"))) return;
    const backup::Plan plan = backup::planRestore(file, current);
    if (!showComparison(plan, path, true) || !confirmIdentity(plan)) return;
    QDir().mkpath(QLatin1String(backup::BackupFolder));
    const QString journal = QStringLiteral("%1/restore_%2_%3.log")
                                .arg(QLatin1String(backup::BackupFolder))
                                .arg(current.id.serial)
                                .arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    // No write without a record of it: a journal that cannot be written refuses the restore.
    backup::Journal record;
    if (!record.open(journal, QStringLiteral("restore of %1").arg(path))) {
        info(m_host.window(),
             tr73own(
                 "Das Protokoll \"%1\" kann nicht geschrieben werden: %2\nEs wurde nichts zum R73 "
                 "gesendet.")
                 .arg(QDir::toNativeSeparators(journal), record.reason()),
             MsgIcon::Error);
        return;
    }
    backup::Outcome outcome;
    held(tr73own("SENDEN"), [&] { outcome = backup::restore(controller(), plan, &record); });
    // Written but not yet saved: F5 and the reminder at closing know them as changed.
    for (SetId set : outcome.changedSets())
        changedFlag(m_host.state(), set) = true;
    // Recorded even when it broke off: the journal tells what was written.
    const AttachFiles attach = m_recorder ? m_recorder(true, {path, journal}) : AttachFiles();
    if (m_changes.written && !outcome.written.isEmpty()) m_changes.written(path, plan, outcome);
    if (m_host.state().commErrorSeen)
        return; // the fatal box has been shown; the journal is the record
    m_host.showDone((outcome.clean() ? tr73own("Wiederhergestellt aus %1")
                                     : tr73own("Wiederherstellung aus %1 mit Abweichungen"))
                        .arg(QDir::toNativeSeparators(path)));
    showReport(controller(), outcome, record, path, attach);
}

void TBackupActions::showReport(backup::Controller& ctl, const backup::Outcome& outcome,
                                backup::Journal& journal, const QString& fileName,
                                const AttachFiles& attach)
{
    const QStringList lines = backup::reportLines(outcome, fileName, ctl.identity());
    std::unique_ptr<QDialog> d(makeDialog(m_host.window(), tr73own("Prüfbericht")));
    auto* layout = new QVBoxLayout(d.get());
    auto* text = new QPlainTextEdit(lines.join(u'\n'), d.get());
    text->setObjectName(QStringLiteral("report"));
    text->setReadOnly(true);
    text->setFont(QFont(QStringLiteral("Monospace")));
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(d.get());
    QPushButton* save = buttons->addButton(tr73own("&Speichern …"), QDialogButtonBox::ActionRole);
    QPushButton* print = buttons->addButton(tr73own("&Drucken …"), QDialogButtonBox::ActionRole);
    QPushButton* permanent =
        buttons->addButton(tr73own("&Dauerhaft speichern"), QDialogButtonBox::ActionRole);
    permanent->setObjectName(QStringLiteral("permanent"));
    // Only a clean verification is worth keeping over a power cycle.
    permanent->setEnabled(outcome.clean() && !outcome.changedSets().isEmpty());
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, d.get(), &QDialog::reject);
    // What the dialog shows, the permanent save's outcome included.
    const auto shownLines = [text] { return text->toPlainText().split(u'\n'); };
    connect(save, &QPushButton::clicked, d.get(), [&] {
        // Named after the controller verified: a backup of another one is restored onto it too.
        const QString proposed =
            backup::proposedReportName(QLatin1String(backup::BackupFolder), ctl.identity());
        const QString path = showSaveDialog(
            {d.get(), tr73own("Prüfbericht speichern"), QLatin1String(backup::BackupFolder),
             QFileInfo(proposed).fileName(), QStringLiteral("txt"), tr73own("Text (*.txt)")});
        if (path.isEmpty()) return;
        QString error;
        if (!backup::writeReport(path, shownLines(), &error)) {
            info(d.get(),
                 tr73own("Datei %1 kann nicht gespeichert werden: %2")
                     .arg(QDir::toNativeSeparators(path), error),
                 MsgIcon::Error);
            return;
        }
        // The report belongs to the restore's visit in the archive, beside its journal.
        if (attach) attach({path});
    });
    connect(print, &QPushButton::clicked, d.get(), [&] {
        QPrinter printer;
        if (!runPrintDialog(d.get(), printer)) return;
        if (!printLines(printer, shownLines()))
            info(d.get(), tr73own("Fehler beim Drucken: ") + printer.printerName(), MsgIcon::Error);
    });
    connect(permanent, &QPushButton::clicked, d.get(), [&] {
        backup::Saved saved;
        held(tr73own("SPEICHERN"),
             [&] { saved = backup::saveChangedSets(ctl, outcome, &journal); });
        // Only the sets saved lose their mark; F5 and the reminder still know the others.
        for (SetId set : saved.saved)
            changedFlag(m_host.state(), set) = false;
        if (m_changes.saved) m_changes.saved(saved.saved, fileName);
        permanent->setEnabled(false);
        if (saved.complete()) {
            text->appendPlainText(QStringLiteral("\n") + tr73own("Dauerhaft gespeichert."));
            return;
        }
        const QString lines = backup::saveLines(saved).join(u'\n');
        text->appendPlainText(QStringLiteral("\n") + lines);
        // After a failed call the fatal box has been shown and the program is ending.
        if (!m_host.state().commErrorSeen) info(d.get(), lines, MsgIcon::Error);
    });
    d->exec();
}

} // namespace r73
