#pragma once
/// The program's configuration file "ini/norlo.ini" (relative to the working folder) and its
/// keys. Each read writes the value it got straight back, so missing keys appear with their
/// defaults.

#include <QString>

namespace r73 {

inline constexpr auto ComSection = "Comunication"; // spelled as the file has always had it
inline constexpr auto ComKey = "COM";
inline constexpr auto DemoSection = "DemoMode";
inline constexpr auto DemoKey = "ACTIVE";
inline constexpr auto LanguageSection = "Language";
inline constexpr auto LanguageKey = "Language";

QString configFilePath();

/// A tool that names its device itself leaves the program's file alone: reads then give the
/// defaults and nothing is written.
void useConfigFile(bool use);

/// The program on a device named on its command line: the port is COM1 on that device, demo
/// mode is off, and the file is only read (language, archive), so the configured port stays.
void useDevice(const QString& path);

/// Why the program's changes to the file would be lost (a folder of that name, a read-only
/// disk, a link to nothing), or empty when it can be written or is not written at all.
QString configFileProblem();

/// "COM" (default 1), written back.
int readComPort();
bool writeComPort(int number);
/// "ACTIVE" (default off), written back.
bool readDemoMode();
/// "Language" with the current value as default, written back.
int readLanguage(int current);
bool writeLanguage(int number);

/// Device behind port number 1..4: key "Device<n>" of section "Comunication" if present (never
/// created), else /dev/ttyS<n-1>.
QString deviceNameForPort(int number);

} // namespace r73
