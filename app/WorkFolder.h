#pragma once
/// Where the program works when started from the desktop menu: a folder of its own in the
/// user's home, never the home itself, so "ini", "Log" and what comes later stay together.

#include <QString>

namespace r73 {

/// ~/R73-Service
QString userWorkFolder();

/// Makes the folder if needed and makes it the working folder; false after a message saying
/// why it cannot be used.
bool enterUserWorkFolder();

} // namespace r73
