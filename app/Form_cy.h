#pragma once
/// The main window: its creation (folders, configuration, texts, link, initial state of every
/// control), connecting and identifying the controller, the live poll cycle, the function keys
/// and page changes, the error report of every controller call, and closing. The pages' own
/// logic lives beside their layouts in the subsystem folders and joins through PageHost.h.
///
/// The class is split over several sources: Form_cy.cpp (life of the window), Connect.cpp,
/// Polling.cpp and Navigation.cpp.

#include "PageHost.h"
#include "PollReads.h"
#include "ReportOfController.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TForm1;
}

class QLabel;

namespace r73 {
class TTarget;
class TTimer;
class TVersInfo;
class Hourglass;
class WindowKeepAlive;
} // namespace r73

class TForm1 : public QDialog, public r73::PageHost
{
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    Ui::TForm1& form() { return *m_ui; }

    // PageHost
    r73::TTarget* link() const override { return m_link; }
    void CommErr(quint16 status, quint16 location) override;
    r73::TTimer& Timer1() override { return *m_timer1; }
    r73::TTimer& Timer2() override { return *m_timer2; }
    r73::TTimer& Timer3() override { return *m_timer3; }
    r73::TTimer& Timer4() override { return *m_timer4; }
    QWidget* window() override { return this; }
    r73::model::ControllerModel& controllerModel() override { return *m_model; }

    /// The pages of the subsystems; each joins when it is set.
    void setParamPages(r73::ParamPagesApi* pages) { m_params = pages; }
    void setHistory(r73::HistoryApi* history) { m_history = history; }
    void setAnalog(r73::AnalogApi* analog) { m_analog = analog; }
    /// F6: composes the logbook text; true when the logbook window may be shown.
    void setLogbookComposer(std::function<bool()> compose)
    {
        m_composeLogbook = std::move(compose);
    }

    // Life of the window
    void SetCaptionComStat();
    void Button7Click();
    void BtSpracheClick();

    // Connect
    void Button3Click();
    /// Ends the session as closing the window does (the reminder, "TEST_STOP"), closes the
    /// port and shows the window unconnected again, ready for the next controller.
    void Disconnect();
    void ReadVersion();
    /// Reads the four parameter sets and the service values, as the connect does.
    void readSettings();
    /// Drops the link and makes a new one over the serial backend installed now; false when
    /// its port cannot be used.
    bool reopenLink();

    // Poll cycle
    void Timer1Timer();
    void ReadIO();
    void ReadSensor();
    void ReadInport();
    void ReadOutport();
    /// The lamps off and the status texts "---", as before the first poll.
    void showNoReadings();
    void ReadStatus();
    void Timer2Timer();
    void Timer3Timer();
    void Timer4Timer();
    /// Focus entry or a character key in a parameter field: polling waits for Timer3.
    void PausePolling();
    int PollPhase() const { return m_poll.phase(); }
    /// The pages of the subsystems, for functions that read them afresh (report).
    r73::ParamPagesApi* paramPages() const { return m_params; }
    r73::AnalogApi* analogPages() const { return m_analog; }
    r73::HistoryApi* historyPage() const { return m_history; }
    quint16 InputWord() const { return m_inputWord; }
    /// The last output word read, none before the first.
    std::optional<quint16> OutputWord() const { return m_outputWord; }
    /// The link's latest failed call since the connect, as "Last ComErr:" shows it.
    r73::LastCommError lastCommError() const override { return m_lastCommError; }
    QString pageCaption(int page) const override;
    void showDone(const QString& text) override;
    QString lastChangeText(const QString& key) const override
    {
        return m_lastChange ? m_lastChange(key) : QString();
    }
    /// Gives the pages' tooltips the archive's last change of a setting.
    void setLastChangeSource(std::function<QString(const QString& key)> source)
    {
        m_lastChange = std::move(source);
    }
    /// The status line's text.
    QString doneText() const;

    // Function keys and pages
    void F1Click();
    void bbtnZurueckClick();
    void bbtnVorClick();
    void BitBtn7Click();
    void BitBtn8Click();
    void BitBtn9Click();
    void TabbedNotebook1Click();

signals:
    /// The connect step has read the controller's identity and pages.
    void controllerConnected();
    /// F5 or the reminder kept sets permanently.
    void setsSaved();
    /// Offline, instead of the reminder of unsaved sets: the session is about to end.
    void offlineEnding();
    /// Disconnect has closed the link; the next one is made right after.
    void linkClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    /// False, after its message, when the folder is missing and cannot be made.
    bool createFolder(const QString& name, const QString& failureText);
    bool FormCloseQuery();
    /// Closing while connected: asks whether sets sent but not saved permanently are saved now.
    void offerUnsavedSets();
    void FormClose();
    void setUpFunctionKeys();
    void watchParameterFields();
    /// The connect's progress in the status panel of the page "SPANNEN".
    void setConnectStatus(const QString& text);
    QString connectStatus() const;
    /// Makes a new link on the configured port; false (and no link) when the port is unusable.
    bool makeLink();
    /// The controller did not answer the opening handshake: back to unconnected, with a message.
    void notAnswered();
    /// Delivers the input queued during the connect, without its F7 presses.
    void dropQueuedF7();
    void setLamp(QLabel* lamp, bool on);
    void setResult(const QString& text, const QColor* colour);
    void setStatusPanels(const QString& text);
    /// F4/F5: runs the action with its status text, counting its exchanges while it runs.
    void withStatus(const QString& text, const std::function<void()>& action);
    /// Shows a page without running the page-change handler.
    void showPage(int index);

    std::unique_ptr<Ui::TForm1> m_ui;
    r73::TTarget* m_link = nullptr;
    r73::TTimer* m_timer1 = nullptr;
    r73::TTimer* m_timer2 = nullptr;
    r73::TTimer* m_timer3 = nullptr;
    r73::TTimer* m_timer4 = nullptr;
    r73::TVersInfo* m_versInfo = nullptr;
    r73::WindowKeepAlive* m_keepAlive = nullptr;
    r73::ParamPagesApi* m_params = nullptr;
    r73::HistoryApi* m_history = nullptr;
    r73::AnalogApi* m_analog = nullptr;
    std::function<bool()> m_composeLogbook;
    QLabel* m_statusLine = nullptr;
    QString m_doneText; ///< whole, as the status line may shorten it
    std::function<QString(const QString& key)> m_lastChange;
    QList<QWidget*> m_parameterFields;
    bool m_changingPage = false;
    bool m_droppingF7 = false;
    bool m_closePending = false;
    QString m_portProblem;         ///< why the port is not usable, shown under Panel17's text
    QString m_connectStep;         ///< the connect's step shown with its progress
    quint32 m_connectExpected = 0; ///< exchanges the connect is known to make so far
    r73::PollCycle m_poll;
    r73::model::ControllerModel* m_model; ///< a child of the window
    quint16 m_inputWord = 0;
    std::optional<quint16> m_outputWord;
    r73::LastCommError m_lastCommError;
};
