#pragma once
/// The trend in the program: watches the poll from the start, records when switched on and
/// keeps the trend window, which gathers the live rows even while it is closed.

#include <QObject>

class QWidget;

namespace r73 {

class TrendFeed;
class TrendRecorder;
class TrendWindow;

class TrendTools : public QObject
{
    Q_OBJECT
public:
    explicit TrendTools(QWidget* mainWindow);
    ~TrendTools() override;

    void showWindow();
    /// Starts or stops the recording; a file that cannot be made is reported.
    void toggleRecording();

    TrendFeed& feed() { return *m_feed; }
    TrendRecorder& recorder() { return *m_recorder; }
    TrendWindow& window() { return *m_window; }

private:
    QWidget* m_mainWindow;
    TrendFeed* m_feed;
    TrendRecorder* m_recorder;
    TrendWindow* m_window;
};

} // namespace r73
