#pragma once
/// How the main window and the pages of the subsystems meet. The main window is the host: it
/// owns the link, the timers and the error report. Each subsystem's pages implement their
/// interface below and join the connect step, the poll cycle and the function keys through it;
/// a subsystem whose pages are absent is simply not asked.

#include "Exchanger.h"
#include "ProgramState.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QEvent;
class QWidget;

namespace r73 {

class TTarget;
class TTimer;
namespace model {
class ControllerModel;
}

/// What the pages may use of the main window.
/// Its calls (Exec, Receive, Send, ReceiveText, SendText) are the Exchanger's; CommErr is
/// fatal while connecting or connected.
class PageHost : public Exchanger
{
public:
    ~PageHost() override;
    virtual TTimer& Timer1() = 0;
    virtual TTimer& Timer2() = 0;
    virtual TTimer& Timer3() = 0;
    virtual TTimer& Timer4() = 0;
    /// The main window, owner of the pages' message boxes.
    virtual QWidget* window() = 0;
    /// The connected controller as the program knows it: the pages show it, the documents
    /// state it.
    virtual model::ControllerModel& controllerModel() = 0;
    /// The caption of page 0..8's tab as the window shows it (the channels' by their names).
    virtual QString pageCaption(int page) const = 0;
    /// The link's latest failed call since the connect.
    virtual LastCommError lastCommError() const = 0;
    /// The status line: what was just done, and to which controller.
    virtual void showDone(const QString& text) = 0;
    /// When a setting was last changed and by whom, as the archive knows it; empty when not.
    virtual QString lastChangeText(const QString& key) const
    {
        Q_UNUSED(key);
        return {};
    }
    /// The program-wide flags the pages share.
    ProgramState& state() { return programState(); }
};

/// The parameter pages (clamping, release, times, flat contact, vibration) and the service page.
class ParamPagesApi
{
public:
    virtual ~ParamPagesApi();
    virtual void ReadSpann() = 0;
    virtual void ReadLoes() = 0;
    virtual void ReadPlan() = 0;
    virtual void ReadSchwing() = 0;
    virtual void ReadService() = 0;
    /// F4 on page 0..3: Enter in each field of the page.
    virtual void SendPage(int page) = 0;
    /// F5 on page 0..3: the permanent save of the page's sets.
    virtual void SavePage(int page) = 0;
    /// Demo mode: the demonstration values in all parameter and service fields.
    virtual void FillDemoValues() = 0;
    /// The fields and captions that the controller's BIOS version decides, after the connect
    /// has read it.
    virtual void showBios(quint16 bios) = 0;
    /// As at the program's start, before any controller: the service page's pulse fields
    /// captioned "Pulse" and empty, the hydraulic group hidden.
    virtual void showUnconnected() = 0;
    /// The poll's vibration sensor word on the service page's gauge.
    virtual void showSensor(quint16 sensor) = 0;
    /// Before BIOS 2.08 the one pulse field is captioned by the function the output word runs.
    virtual void showRunningFunction(quint16 outputWord) = 0;
    /// The status panel of the page "SPANNEN", where the connect and the backup's sequences
    /// report their steps.
    virtual void showConnectStatus(const QString& text) = 0;
    virtual QString connectStatus() const = 0;
    /// The same text in the status panels of all four parameter pages.
    virtual void showStatusPanels(const QString& text) = 0;
    /// The service page's rows the window shows, in its order: the key of the service value
    /// (serviceDefs(), "vibration" for the gauge's value) and its caption.
    virtual QList<QPair<QString, QString>> shownServiceRows() const = 0;
    /// The sets sent since their last permanent save, by their German captions.
    virtual QStringList UnsavedSets() const = 0;
    /// The permanent saves of every unsaved set, as F5 makes them page by page.
    virtual void SaveUnsaved() = 0;
    /// Another sequence has selected a set: the next send selects its own first.
    virtual void selectionLost() = 0;
};

/// The controller's history on the page "LOGBUCH".
class HistoryApi
{
public:
    virtual ~HistoryApi();
    /// Elements one readout pass reads at most (the range of its progress bar). An element costs
    /// about a quarter of a second at 2400 baud: a long history arrives over several passes, one
    /// per poll cycle, and a controller that never reports its end cannot hold the window.
    static constexpr int PassLimit = 100;
    /// Reads one element; true when its number was already in the list.
    virtual bool ReadHistElement() = 0;
    /// True when the controller reports the end of its history.
    virtual bool Hist_End() = 0;
    /// The progress of a readout pass, 0 when none runs.
    virtual void setReadoutProgress(int n) = 0;
    /// A pass is over: at the history's end or a known element, or with more to come.
    virtual void passEnded(bool atEnd) = 0;
    /// During a pass: true when the input (with the widget it is meant for) is the operator's
    /// stop, Esc or the Stop button; it switches the readout off, and the pass ends at the
    /// next element.
    virtual bool stopInput(const QEvent* event, const QWidget* target) = 0;
    /// Page change to "LOGBUCH".
    virtual void pageShown() = 0;
    /// The session ended: the list is emptied for the next controller.
    virtual void showUnconnected() = 0;
    /// The readout's buttons and list from BIOS 2.08, the notice before it.
    virtual void showBios(quint16 bios) = 0;
    /// Offline: the list as a backup recorded it, one line per element.
    virtual void showRecorded(const QStringList& lines) = 0;
};

/// The three analog channel pages and the live values.
class AnalogApi
{
public:
    virtual ~AnalogApi();
    /// At connect: the channel names as tab captions.
    virtual void ReadChannelNames() = 0;
    /// Page change to channel 1..3.
    virtual void ReadAnalog(int channel) = 0;
    /// F4/F5 on channel 1..3.
    virtual void WriteAnalog(int channel) = 0;
    /// Demo mode: demonstration values on the channel pages.
    virtual void FillPage6To8() = 0;
    /// Page change to "ANALOGWERTE".
    virtual void ReadGraphR73() = 0;
    /// Refreshes channel 1..3 on the live page.
    virtual void AktWert(int channel) = 0;
    /// The channels' groups from BIOS 3.00, each page's notice before it.
    virtual void showBios(quint16 bios) = 0;
    /// As at the program's start: the live page's units empty.
    virtual void showUnconnected() = 0;
    /// "Kanal aktiv" of channel 1..3 is checked.
    virtual bool channelActive(int channel) const = 0;
};

} // namespace r73
