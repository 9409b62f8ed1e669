#pragma once
/// The page "LOGBUCH" as part of the main window: the read button that switches the history
/// readout on and off, the delete button, the readout of single elements for the poll cycle,
/// the list's scroll keys, and the logbook text (F6).

#include "HistoryList.h"
#include "PageHost.h"

#include <QObject>
#include <functional>

class LogbuchPage;
class TFileForm;

namespace r73 {

class HistoryPage : public QObject, public HistoryApi
{
    Q_OBJECT
public:
    /// params: the service page's rows for the logbook, may be null. readAnalog(channel)
    /// reads channel 1..3's settings from the controller.
    HistoryPage(PageHost& host, LogbuchPage* page, const ParamPagesApi* params,
                std::function<void(int)> readAnalog, QObject* parent = nullptr);

    // HistoryApi
    bool ReadHistElement() override;
    bool Hist_End() override;
    void setReadoutProgress(int n) override;
    void passEnded(bool atEnd) override;
    bool stopInput(const QEvent* event, const QWidget* target) override;
    void pageShown() override {}
    void showUnconnected() override
    {
        Button9Click();
        setReadoutUsable(true);
    }
    void showBios(quint16 bios) override;
    /// As read-only as the file: no readout adds to the list, nothing clears it.
    void showRecorded(const QStringList& lines) override
    {
        m_list.clear();
        m_list.addRecorded(lines);
        setReadoutUsable(false);
    }

    /// The read button: switches the readout on ("Stop") or off ("Lesen").
    void Button8Click();
    /// The delete button: empties the list.
    void Button9Click();
    /// Fetches one element from the controller ("_@HIST_ELEMENT" and eight values).
    HistElement fetchElement() { return readHistElement(m_host); }
    /// Lists a fetched element; true when its number was listed already.
    bool takeElement(const HistElement& element) { return m_list.AddElement(element); }
    HistoryList& list() { return m_list; }

    /// The logbook text of the controller as the program knows it now.
    QStringList logbookLines(bool* confirmed);
    /// Writes the logbook text into the logbook window; false when the operator cancelled one
    /// of the history questions (the text is complete all the same).
    bool GetLogbuch();
    /// The logbook window: the one the program made, or one made here on first use.
    TFileForm* logbookWindow();

protected:
    /// ListView1KeyDown for the list and both buttons.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The read and clear buttons, off while the list shows a file's history.
    void setReadoutUsable(bool usable);

    PageHost& m_host;
    LogbuchPage* m_page;
    HistoryList m_list;
    const ParamPagesApi* m_params;
    std::function<void(int)> m_readAnalog;
};

/// Makes the page's controller, owned by the window, and joins it to the window as its history
/// and as the composer of the logbook. readAnalog: see HistoryPage.
template <class Window>
HistoryPage* joinHistory(Window& window, LogbuchPage* page, std::function<void(int)> readAnalog)
{
    auto* history =
        new HistoryPage(window, page, window.paramPages(), std::move(readAnalog), &window);
    window.setHistory(history);
    window.setLogbookComposer([history] { return history->GetLogbuch(); });
    return history;
}

} // namespace r73
