#pragma once
/// Re-captions the main window in the current language.

#include "ProgramVersion.h"

#include <functional>

class QWidget;

namespace r73 {

/// Sets every translatable caption of the main window form1 through Translate, in a fixed order,
/// finding each element by its object name among form1's widgets (other windows parented to
/// form1 are not searched). Labels, buttons, check boxes, group boxes and line edits get their
/// text or title; pages are the tabs of the QTabWidget "TabbedNotebook1", list columns the header
/// of the QTreeWidget "ListView1". Elements that form1 does not have are skipped.
///
/// Side effects worth knowing: "Edit1", "Edit3" and "Edit4" are emptied, "Label37"/"Label38"
/// reset to "xx", the window title becomes the plain "R73-Controller" (no demo suffix), and
/// setCaptionComStat (if set) is called to refresh the port status right after the connection
/// group's captions. The tabs of the three channel pages (6 to 8) and list columns 1 and 2 are
/// left alone.
void ApplyLanguage(QWidget* form1, const std::function<void()>& setCaptionComStat);

} // namespace r73
