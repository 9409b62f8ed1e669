#include "Form_cy.h"

#include "AnalogPages.h"
#include "AppWindows.h"
#include "ApplyLanguage.h"
#include "ControllerModel.h"
#include "FiPri.h"
#include "FunctionCatalog.h"
#include "HistoryPage.h"
#include "KeepAlive.h"
#include "LinkState.h"
#include "MessageFacade.h"
#include "NorloIni.h"
#include "ParamPages.h"
#include "ProgramState.h"
#include "Protocol.h"
#include "Sprache.h"
#include "Target.h"
#include "Terminate.h"
#include "TextHook.h"
#include "TextTable.h"
#include "TimerWrapper.h"
#include "Translate.h"
#include "VersInfo.h"
#include "WindowKeepAlive.h"
#include "comport.h"
#include "ui_Form1.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

using namespace r73;

TForm1::TForm1(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm1>())
{
    m_ui->setupUi(this);
    m_model = new model::ControllerModel(this);
    m_keepAlive = new WindowKeepAlive(this);
    // The status line, below the form's controls, which keep their places: the window grows by
    // its height.
    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("lbStatusLine"));
    m_statusLine->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statusLine->setGeometry(2, height() + 1, width() - 4, 19);
    setFixedSize(width(), height() + 22);
    // A main window of its own, with system menu and minimise button, centred on the screen.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    // The window's bold 13-pixel font; a form file can only give it in points.
    QFont bold = font();
    bold.setPixelSize(13);
    setFont(bold);
    QFont plain = bold;
    plain.setBold(false);
    m_statusLine->setFont(plain);
    // Enter belongs to the parameter fields; no button of this window is a default button.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    m_timer1 = new TTimer(this, 1000);
    m_timer2 = new TTimer(this, 700);
    m_timer3 = new TTimer(this, 3000);
    m_timer4 = new TTimer(this, 3000);
    connect(m_ui->Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(m_ui->BtSprache, &QPushButton::clicked, this, &TForm1::BtSpracheClick);
    connect(m_ui->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    m_timer1->setOnTimer([this] { Timer1Timer(); });
    m_timer2->setOnTimer([this] { Timer2Timer(); });
    m_timer3->setOnTimer([this] { Timer3Timer(); });
    m_timer4->setOnTimer([this] { Timer4Timer(); });
    m_versInfo = new TVersInfo(this);
    m_ui->Panel15->installEventFilter(this);
    for (QWidget* logo : m_ui->Panel15->findChildren<QWidget*>())
        logo->installEventFilter(this);
    setUpFunctionKeys();
    watchParameterFields();
    auto* params = new TParamPages(*this, m_ui->pgSpannen, m_ui->pgZeiten, m_ui->pgPlan,
                                   m_ui->pgSchwingung, m_ui->pgService, m_ui->Edit2, this);
    params->setFillPage6To8([this] {
        if (m_analog) m_analog->FillPage6To8();
    });
    setParamPages(params);
    // In demo mode the logbook's channel read-back, like a page change, shows the demonstration.
    joinHistory(*this, m_ui->pgLogbuch, [this](int channel) {
        if (m_analog) DemoMode ? m_analog->FillPage6To8() : m_analog->ReadAnalog(channel);
    });
    setAnalog(new TAnalogPages(*this, m_ui->pgAnalog1, m_ui->pgAnalog2, m_ui->pgAnalog3,
                               m_ui->pgAnalogwerte, m_ui->TabbedNotebook1, this));
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::showDone(const QString& text)
{
    const r73::model::ControllerModel& m = *m_model;
    m_doneText = m.inSession() && !m.demonstration() && !text.isEmpty()
                     ? QStringLiteral("R73 %1: %2").arg(m.identity().serial).arg(text)
                     : text;
    // The window's width is fixed: a long line gives up the controller (its "Ser. Nr." is shown),
    // then its end; the tooltip keeps it whole.
    const QFontMetrics metrics(m_statusLine->font());
    const int room = m_statusLine->contentsRect().width() - 4;
    QString shown = m_doneText;
    if (metrics.horizontalAdvance(shown) > room)
        shown = metrics.elidedText(text, Qt::ElideRight, room);
    m_statusLine->setText(shown);
    m_statusLine->setToolTip(shown == m_doneText ? QString() : m_doneText);
}

QString TForm1::doneText() const
{
    return m_doneText;
}

QString TForm1::pageCaption(int page) const
{
    return m_ui->TabbedNotebook1->tabText(page);
}

bool TForm1::createFolder(const QString& name, const QString& failureText)
{
    if (QDir(name).exists() || QDir().mkdir(name)) return true;
    showMessage({this, failureText, QStringLiteral("Error"), MsgIcon::Error, MsgButtons::Ok});
    return false;
}

void TForm1::FormCreate()
{
    // 1
    m_link = nullptr;
    for (TTimer* t : {m_timer1, m_timer2, m_timer3, m_timer4})
        t->setEnabled(false);
    // 2, 3: the messages are English on purpose: the texts are not yet loaded.
    // Both are tried and reported before the program is asked to end: once it is ending, no
    // further box would be shown.
    const bool ini =
        createFolder(QStringLiteral("ini"), QStringLiteral("Unable to create Directory 'ini'"));
    const bool log =
        createFolder(QStringLiteral("Log"), QStringLiteral("Unable to create Directory 'Log' !"));
    if (!ini || !log) requestTerminate();
    // 4
    ComPortNumber = readComPort();
    DemoMode = readDemoMode();
    CurrentLanguage = readLanguage(CurrentLanguage);
    // 5
    BuildTextTable();
    ApplyLanguage(this, [this] { SetCaptionComStat(); });
    // 6
    makeLink();
    // 7, 8
    SetCaptionComStat();
    if (DemoMode) {
        setWindowTitle(windowTitle() + QStringLiteral(" Demo-Version"));
        showDone(tr73own("Demonstration ohne Controller: alle Werte sind Beispielwerte"));
    }
    // 9
    for (QLineEdit* e : {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3, m_ui->Edit4})
        e->clear();
    // 10, 18: the service page's pulse fields, the hydraulic group
    if (m_params) m_params->showUnconnected();
    // 11
    m_timer3->setEnabled(false);
    m_timer3->setInterval(3000);
    m_timer4->setEnabled(false);
    m_timer4->setInterval(3000);
    // 12
    for (QWidget* w : {static_cast<QWidget*>(m_ui->bbtnZurueck),
                       static_cast<QWidget*>(m_ui->bbtnVor), static_cast<QWidget*>(m_ui->BitBtn7),
                       static_cast<QWidget*>(m_ui->BitBtn8), static_cast<QWidget*>(m_ui->BitBtn9)})
        w->setEnabled(false);
    // 13
    m_ui->TabbedNotebook1->setCurrentIndex(0);
    m_ui->TabbedNotebook1->setVisible(false);
    m_ui->GroupBox10->setVisible(true);
    // 14
    programState().historyReading = false;
    // 16: the limit fields carry their tags from their pages.
    // 17
    if (m_analog) m_analog->showUnconnected();
}

void TForm1::SetCaptionComStat()
{
    static const char* const texts[] = {" Schnittstelle: Fehler!", " Schnittstelle: Com1",
                                        " Schnittstelle: Com2", " Schnittstelle: Com3",
                                        " Schnittstelle: Com4"};
    if (ComPortNumber < 0 || ComPortNumber > 4) return;
    QString text = tr73(0, QString::fromUtf8(texts[ComPortNumber]));
    // The reason below, so the technician need not remember the message box.
    QLabel* panel = m_ui->Panel17;
    panel->setWordWrap(!m_portProblem.isEmpty());
    if (!m_portProblem.isEmpty()) text += QStringLiteral("\n ") + m_portProblem;
    panel->setText(text);
    panel->setToolTip(m_portProblem);
    panel->resize(panel->width(), m_portProblem.isEmpty()
                                      ? 24
                                      : qMin(panel->heightForWidth(panel->width()) + 4, 100));
}

bool TForm1::makeLink()
{
    m_link = new TTarget(this); // opens the port; an unusable one is reported there
    m_portProblem = m_link->PortProblem();
    if (ComPortNumber == 0) {
        delete m_link;
        m_link = nullptr;
    }
    SetCaptionComStat();
    return m_link;
}

void TForm1::CommErr(quint16 status, quint16 location)
{
    if (status == 0 && !(m_link && m_link->LinkFailed())) return;
    programState().commErrorSeen = true;
    m_lastCommError = {status, location};
    m_ui->Label37->setText(QString::number(status));
    m_ui->Label38->setText(QString::number(location));
    if (programState().reportCommErrors) {
        // The box is shown once: its modal loop lets timers tick, and a tick that failed again
        // would open a second one on top of it.
        programState().reportCommErrors = false;
        for (TTimer* t : {m_timer1, m_timer2, m_timer3, m_timer4})
            t->setEnabled(false);
        showMessage({this,
                     tr73(0, QStringLiteral("Kommunikation mit dem R73-Controller gestört! "
                                            "Programm wird beendet! Bitte neu starten!")),
                     tr73(0, QStringLiteral("Fehler")), MsgIcon::Error, MsgButtons::Ok});
        requestTerminate();
    }
}

void TForm1::Button7Click()
{
    if (!frmComPort) frmComPort = new TfrmComPort(this);
    frmComPort->exec();
    ComPortNumber = readComPort();
    // The previous link stays with the window, its port closed by the dialog when the choice
    // moved; the new one becomes current.
    if (ComPortNumber != 0) makeLink();
    SetCaptionComStat();
}

void TForm1::BtSpracheClick()
{
    if (!frmSprache)
        frmSprache = new TfrmSprache(
            this, [this] { SetCaptionComStat(); }, this);
    frmSprache->exec();
    // The port dialog and the logbook window follow the main window into the new language.
    if (frmComPort) frmComPort->translateCaptions();
    if (FileForm) FileForm->translateCaptions();
}

void TForm1::F1Click()
{
    m_versInfo->ShowInfo(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    // The logo and its label open the version window.
    if (event->type() == QEvent::MouseButtonRelease &&
        (widget == m_ui->Panel15 || m_ui->Panel15->isAncestorOf(widget))) {
        F1Click();
        return true;
    }
    // Typing into a parameter field holds the poll off until Timer3 ticks.
    if (m_parameterFields.contains(widget)) {
        if (event->type() == QEvent::FocusIn)
            PausePolling();
        else if (event->type() == QEvent::KeyPress &&
                 !static_cast<QKeyEvent*>(event)->text().isEmpty())
            PausePolling();
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm1::FormCloseQuery()
{
    for (TTimer* t : {m_timer1, m_timer2, m_timer3, m_timer4})
        t->setEnabled(false);
    offerUnsavedSets();
    showMessage({this, tr73(0, QStringLiteral("Verbindung zum R73 trennen!")), QString(),
                 MsgIcon::None, MsgButtons::Ok});
    return true;
}

void TForm1::offerUnsavedSets()
{
    // A set that was sent but not saved is lost at the controller's next power-off; F5 saves
    // only the sets of the page shown, so a change on another page is easily forgotten.
    if (!programState().connected || !m_params) return;
    // Offline a power-off loses nothing: what is at stake is the file, which the offline
    // session offers to save.
    if (OfflineMode) {
        emit offlineEnding();
        return;
    }
    const QStringList sets = m_params->UnsavedSets();
    if (sets.isEmpty()) return;
    QStringList names;
    for (const QString& set : sets)
        names << tr73(0, set);
    const QString text =
        tr73(0, QString::fromUtf8("Diese Parametersätze wurden geändert, aber nicht dauerhaft "
                                  "gespeichert:\n%1\n\nJetzt speichern?"))
            .arg(names.join(QStringLiteral(", ")));
    if (showMessage({this, text, tr73(0, QString::fromUtf8("Nicht gespeicherte Änderungen")),
                     MsgIcon::Question, MsgButtons::YesNo}) != MsgAnswer::Yes)
        return;
    setStatusPanels(tr73(0, QStringLiteral("SPEICHERN")));
    m_params->SaveUnsaved();
    if (!programState().commErrorSeen) emit setsSaved();
}

void TForm1::FormClose()
{
    if (programState().connected) {
        TService* stop = services().find(QStringLiteral("TEST_STOP"));
        CommErr(stop ? stop->Execute() : 1, 99);
    }
    ReleaseTextTable();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // A close from the desktop reaches the window while an exchange lets the loop turn: it
    // waits for the sequence to end, so its questions and "TEST_STOP" never cut into it.
    if (insideExchange()) {
        event->ignore();
        if (!std::exchange(m_closePending, true))
            m_keepAlive->afterSequence([this] {
                m_closePending = false;
                close();
            });
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    done(QDialog::Accepted);
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close the main window.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm1::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isActiveWindow() && isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
}
