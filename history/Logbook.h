#pragma once
/// The logbook text: identification, date and time, every parameter the main window shows, the
/// analog channels, the inputs and outputs, the status texts and the history, one line each,
/// in the window's captions with the values the program knows of the controller.

#include <QStringList>
#include <functional>

class QTreeWidget;

namespace r73 {

class PageHost;
class ParamPagesApi;

/// Where the logbook takes its lines from.
struct LogbookSources
{
    /// The controller's model, the page captions and the last failed call.
    PageHost& host;
    /// Which service values the service page shows, and their captions; none without the page.
    const ParamPagesApi* params = nullptr;
    /// The history page's list for its column captions; no history part while it is hidden.
    const QTreeWidget* historyList = nullptr;
    /// With BIOS 3.00 and later reads channel 1..3's settings from the controller first.
    std::function<void(int)> readAnalog;
};

/// Composes the logbook. An empty history asks whether to go on; *confirmed becomes false when
/// the operator cancels, the text is complete all the same.
QStringList ComposeLogbuch(const LogbookSources& from, bool* confirmed);

} // namespace r73
