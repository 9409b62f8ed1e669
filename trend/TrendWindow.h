#pragma once
/// The trend window: the channels' physical values with their limits, the vibration sensor and
/// the input and output lines as a strip, over a time window of 1 min to 1 h. Live it follows
/// the poll; paused, zoomed or replaying a recorded file it stays where the user put it. A
/// cursor reads the values, dashed markers show where the test result changed, and the picture
/// and the shown span can be saved.

#include "TrendCsv.h"
#include "TrendPlot.h"

#include <QWidget>
#include <memory>
#include <vector>

namespace Ui {
class TrendWindow;
}

namespace r73 {

class TrendFeed;
class TrendRecorder;

class TrendWindow : public QWidget
{
    Q_OBJECT
public:
    TrendWindow(TrendFeed& feed, TrendRecorder& recorder, QWidget* parent = nullptr);
    ~TrendWindow() override;

    Ui::TrendWindow& form() { return *m_ui; }

    /// Replay: shows a recorded file; false after a message when nothing could be read.
    bool openFile(const QString& path);
    /// Back to the live rows, following the poll.
    void showLive();
    bool replaying() const { return m_replaying; }
    const std::vector<TrendRow>& rows() const { return m_replaying ? m_replay : m_live; }
    const ChannelInfos& channels() const { return m_replaying ? m_replayInfo : m_liveInfo; }

    /// A live row (the feed's rows come here).
    void appendLive(const TrendRow& row);
    /// Shown span in milliseconds and its end (the newest row while following).
    qint64 span() const { return m_span; }
    qint64 viewEnd() const;
    void setSpan(qint64 msecs);
    /// Stops following at the given end (paused, or a replay's position).
    void setViewEnd(qint64 msecs);
    /// Redraws the plots for the shown span.
    void redraw();
    /// Captions in the current language.
    void applyLanguage();

    bool savePicture(const QString& path);
    bool saveSpan(const QString& path);
    QString cursorText(qint64 msecs) const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool following() const;
    void setCursorAt(qint64 msecs);
    void zoom(int steps);
    void askOpen();
    void askSavePicture();
    void askSaveSpan();
    void recordClicked(bool on);
    void rebuildMarkers();
    void addMarker(const TrendRow& row);
    void updateScrollBar();
    /// The strips' plots share their left and right edges.
    void alignPlots();
    void error(const QString& text);

    std::unique_ptr<Ui::TrendWindow> m_ui;
    TrendRecorder& m_recorder;
    std::vector<TrendRow> m_live;
    std::vector<TrendRow> m_replay;
    ChannelInfos m_liveInfo;
    ChannelInfos m_replayInfo;
    QString m_replayPath;
    bool m_replaying = false;
    bool m_paused = false;
    bool m_updatingScroll = false;
    bool m_aligning = false;
    qint64 m_span = 5 * 60 * 1000;
    qint64 m_end = 0;
    qint64 m_cursor = 0;
    QString m_lastResult;
    QList<ResultMarker> m_markers;
    TrendPlot* m_channel[TrendChannels] = {};
    TrendPlot* m_sensor = nullptr;
    TrendPlot* m_lines = nullptr;
};

} // namespace r73
