// Connecting: registering the controller's functions, the session, identification and the
// set-up of the pages by BIOS version.

#include "Form_cy.h"

#include "ControllerModel.h"
#include "FunctionCatalog.h"
#include "Hourglass.h"
#include "KeepAlive.h"
#include "LinkState.h"
#include "MessageFacade.h"
#include "NorloIni.h"
#include "ProgramState.h"
#include "Protocol.h"
#include "ShownValues.h"
#include "Target.h"
#include "TextHook.h"
#include "TimerWrapper.h"
#include "WindowKeepAlive.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QLocale>

using namespace r73;

namespace {

/// Makes the services of one version group and looks each up at once; an unknown one fails
/// when it is first used.
void makeAndResolve(TTarget* link, const VersionGroup& group)
{
    for (const FunctionDef& f : group.functions)
        services().make(link, QString::fromLatin1(f.name)).Resolve();
}

const VersionGroup& groupFrom(quint16 version)
{
    for (const VersionGroup& g : versionGroups())
        if (g.fromVersion == version) return g;
    Q_UNREACHABLE();
}

} // namespace

void TForm1::Button3Click()
{
    // An F7 that arrives while the connect lets the window process messages, or that was
    // queued behind it, is a key held or pressed twice, not a request to end the program.
    if (programState().connecting || m_droppingF7) return;
    if (programState().connected) {
        close();
        return;
    }
    // No usable port: try it again, an adapter may have been plugged in since; if it still
    // fails, the same message as at the start says why.
    if ((ComPortNumber == 0 || !m_link) && !makeLink()) return;
    programState().connecting = true;
    Hourglass hourglass;
    hourglass.show();
    m_ui->GroupBox10->setVisible(false);
    m_ui->TabbedNotebook1->setVisible(true);
    QApplication::processEvents();
    m_ui->Button3->setEnabled(false);
    m_ui->BitBtn10->setEnabled(false);

    const auto group = connectGroup();
    services().make(m_link, QString::fromLatin1(group[0].name));
    services().make(m_link, QString::fromLatin1(group[1].name));
    programState().reportCommErrors = true;
    setConnectStatus(tr73(0, QStringLiteral("VERBINDEN")));
    QApplication::processEvents();
    for (size_t i = 2; i < group.size(); ++i)
        services().make(m_link, QString::fromLatin1(group[i].name));
    // Progress while the window stays alive: the step and the exchanges made of those expected.
    // Up to the version the count is exact (session, the four transfer look-ups, the names,
    // "TEST_START", the version); the version then adds its groups and the serial number.
    const quint32 firstExchange = m_link->ExchangeCount();
    m_connectStep = tr73(0, QStringLiteral("VERBINDEN"));
    const int names = m_link->WordList() ? m_link->WordList()->count() : 0;
    m_connectExpected = 1 + 4 + quint32(names) + 1 + 2;
    SequenceProgress progress([this, firstExchange] {
        const quint32 done = m_link->ExchangeCount() - firstExchange;
        setConnectStatus(
            done <= m_connectExpected
                ? QStringLiteral("%1 … %2 / %3").arg(m_connectStep).arg(done).arg(m_connectExpected)
                : QStringLiteral("%1 … %2").arg(m_connectStep).arg(done));
    });
    m_link->Initialize(); // a failure shows in the first call that follows
    if (m_link->NoAnswer()) {
        notAnswered();
        return;
    }
    if (!DemoMode) setWindowTitle(tr73(0, QStringLiteral("R73-Controller Online!")));
    setConnectStatus({});
    programState().clampChanged = programState().releaseChanged = programState().flatChanged =
        programState().vibrationChanged = false;
    m_lastCommError = {};
    m_ui->Label37->setText(QStringLiteral("0"));
    m_ui->Label38->setText(QStringLiteral("---"));
    Exec(QStringLiteral("TEST_START"), 100);
    programState().connected = true;
    programState().commErrorSeen = false;
    ReadVersion();

    if (m_params) m_params->showBios(programState().biosVersion);
    m_ui->TabbedNotebook1->setEnabled(true);

    m_connectStep = tr73(0, QStringLiteral("LESEN"));
    setConnectStatus(m_connectStep);
    readSettings();
    setConnectStatus({});
    m_timer1->setInterval(1000);
    m_timer1->setEnabled(true);
    for (QWidget* key :
         {static_cast<QWidget*>(m_ui->bbtnZurueck), static_cast<QWidget*>(m_ui->bbtnVor),
          static_cast<QWidget*>(m_ui->BitBtn7), static_cast<QWidget*>(m_ui->BitBtn8),
          static_cast<QWidget*>(m_ui->BitBtn9), static_cast<QWidget*>(m_ui->BitBtn10)})
        key->setEnabled(true);
    m_ui->BitBtn10->setText(tr73(0, QStringLiteral("F7:BEENDEN")));
    m_ui->pgSpannen->focusFirstField();
    if (programState().biosVersion >= 300 && m_analog) m_analog->ReadChannelNames();
    if (connectStatus().startsWith(m_connectStep)) setConnectStatus({}); // the last progress shown
    programState().connecting = false;
    dropQueuedF7();
    if (programState().commErrorSeen) return;
    showDone(DemoMode ? tr73own("Demonstration ohne Controller: alle Werte sind Beispielwerte")
                      : tr73own("Verbunden, BIOS %1").arg(model::shownBios(*m_model)));
    emit controllerConnected();
}

void TForm1::readSettings()
{
    if (m_params) {
        m_params->ReadSpann();
        m_params->ReadLoes();
        m_params->ReadPlan();
        m_params->ReadSchwing();
        m_params->ReadService();
    }
}

bool TForm1::reopenLink()
{
    delete m_link;
    m_link = nullptr;
    return makeLink();
}

void TForm1::Disconnect()
{
    if (!programState().connected || programState().connecting || insideExchange()) return;
    for (TTimer* t : {m_timer1, m_timer2, m_timer3, m_timer4})
        t->setEnabled(false);
    offerUnsavedSets();
    const QString serial = model::shownSerial(*m_model);
    // As at closing; a failure here ends the program as it would there.
    if (TService* stop = services().find(QStringLiteral("TEST_STOP"))) CommErr(stop->Execute(), 99);
    if (programState().commErrorSeen) return;
    // The port is closed for the next controller, and opened afresh by a new link.
    if (m_link) m_link->ClosePort();
    delete m_link;
    m_link = nullptr;
    services().clear();
    emit linkClosed();
    m_model->end();
    resetProgramState();
    if (m_history) m_history->showUnconnected();
    setWindowTitle(tr73(0, QStringLiteral("R73-Controller")) +
                   (DemoMode ? QStringLiteral(" Demo-Version") : QString()));
    for (QLineEdit* e : {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3, m_ui->Edit4})
        e->clear();
    if (m_params) m_params->showUnconnected();
    if (m_analog) m_analog->showUnconnected();
    showNoReadings();
    for (QWidget* w : {static_cast<QWidget*>(m_ui->bbtnZurueck),
                       static_cast<QWidget*>(m_ui->bbtnVor), static_cast<QWidget*>(m_ui->BitBtn7),
                       static_cast<QWidget*>(m_ui->BitBtn8), static_cast<QWidget*>(m_ui->BitBtn9)})
        w->setEnabled(false);
    m_ui->BitBtn10->setText(tr73(0, QStringLiteral("F7:VERBINDEN")));
    m_ui->Button3->setEnabled(true);
    m_ui->TabbedNotebook1->setCurrentIndex(0);
    m_ui->TabbedNotebook1->setVisible(false);
    m_ui->GroupBox10->setVisible(true);
    makeLink();
    showDone(tr73own("Verbindung zu R73 %1 getrennt").arg(serial));
    m_ui->Button3->setFocus(Qt::OtherFocusReason);
}

void TForm1::notAnswered()
{
    // Nothing was exchanged, so nothing is lost: back to the unconnected window, where another
    // port can be chosen. The silent link is dropped; the next F7 opens the port afresh.
    programState().reportCommErrors = false;
    setConnectStatus({});
    m_ui->TabbedNotebook1->setVisible(false);
    m_ui->GroupBox10->setVisible(true);
    m_ui->Button3->setEnabled(true);
    m_ui->BitBtn10->setEnabled(true);
    m_link = nullptr;
    m_portProblem =
        tr73(0, QString::fromUtf8("Keine Antwort vom R73 an COM%1 (%2): Kabel, Schnittstelle und "
                                  "Controller prüfen"))
            .arg(ComPortNumber)
            .arg(deviceNameForPort(ComPortNumber));
    SetCaptionComStat();
    programState().connecting = false;
    showMessage({this, m_portProblem, tr73(0, QStringLiteral("Warnung")), MsgIcon::Warning,
                 MsgButtons::Ok});
    dropQueuedF7();
}

void TForm1::dropQueuedF7()
{
    // Input that queued up during the connect's exchanges is delivered now, as it would be on
    // return; only F7 among it is dropped.
    m_droppingF7 = true;
    QApplication::processEvents();
    m_droppingF7 = false;
}

void TForm1::ReadVersion()
{
    programState().biosVersion = 0;
    Exec(QStringLiteral("SV_NO?"), 201);
    quint16 v = Receive(202);
    if (DemoMode) v = 300;
    programState().biosVersion = v;
    for (const VersionGroup& g : versionGroups())
        if (v >= g.fromVersion) m_connectExpected += quint32(g.functions.size());
    m_connectExpected += (v >= 208 ? 1 : 0) + 2; // "_HIST_INIT_READ", the serial number

    if (v >= 200) makeAndResolve(m_link, groupFrom(200));
    if (v >= 208) {
        makeAndResolve(m_link, groupFrom(208));
        if (m_history) m_history->showBios(v);
        Exec(QStringLiteral("_HIST_INIT_READ"), 4201);
    }
    if (v >= 300) makeAndResolve(m_link, groupFrom(300));
    if (m_analog) m_analog->showBios(v);
    if (v < 208 && m_history) m_history->showBios(v);
    if (v >= 210) makeAndResolve(m_link, groupFrom(210));
    if (v >= 310) makeAndResolve(m_link, groupFrom(310));

    Exec(QStringLiteral("HW_SER_NO?"), 203);
    const quint16 serial = Receive(204);
    programState().serialNumber = serial;
    m_model->begin({v, serial}, QCoreApplication::applicationVersion(), DemoMode);
    m_ui->Edit3->setText(backup::shownVersionText(v));
    m_ui->Edit4->setText(QString::number(serial));
}

void TForm1::setConnectStatus(const QString& text)
{
    if (m_params) m_params->showConnectStatus(text);
}

QString TForm1::connectStatus() const
{
    return m_params ? m_params->connectStatus() : QString();
}
