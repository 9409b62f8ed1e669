#pragma once
/// The "archive" command of r73ctl.

#include "Command.h"

namespace r73::cli {

/// "list": the controllers, tab-separated; "show SERIAL": that controller's visits as CSV.
int runArchive(const QStringList& args, const QCommandLineParser& parser);

} // namespace r73::cli
