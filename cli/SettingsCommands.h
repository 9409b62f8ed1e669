#pragma once
/// The r73ctl commands on the controller's settings, one source each (Params.cpp, Backup.cpp,
/// Diff.cpp, Restore.cpp), and what they share (SettingsCommands.cpp).

#include "Command.h"
#include "Restore.h"
#include "Session.h"

namespace r73::cli {

int runParams(const QStringList& args, const QCommandLineParser& parser);
int runBackup(const QStringList& args, const QCommandLineParser& parser);
int runDiff(const QStringList& args, const QCommandLineParser& parser);
int runRestore(const QStringList& args, const QCommandLineParser& parser);
int runSet(const QStringList& args, const QCommandLineParser& parser);

/// Options of these commands.
QCommandLineOption jsonOption();
QCommandLineOption saveOption();
QCommandLineOption yesOption();
QCommandLineOption confirmIdentityOption();

/// Opens the session and reads every setting; false (after the error line) on failure.
bool readController(Session& session, backup::Snapshot& out);
/// Loads a backup file; false (after the error line) when it is refused.
bool loadFile(const QString& path, backup::Snapshot& out);
/// Prints "r73ctl: refused: <line>" on standard error and returns Refused.
int refuse(const QString& line);
void printLines(const QStringList& lines);

} // namespace r73::cli
