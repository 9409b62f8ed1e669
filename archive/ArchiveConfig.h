#pragma once
/// The archive's settings in the configuration file, in a section of their own ("Archiv"),
/// and the technician's name for reports ("Servicebericht"). A team's server is named by
/// "Server", "Port", "Datenbank" and "Benutzer"; its password never stands in the file: it
/// comes from the environment (R73_ARCHIVE_PASSWORD) or from the file named by
/// "Passwortdatei", which only its owner may read.

#include "Archive.h"

namespace r73::archive {

inline constexpr auto ArchiveSection = "Archiv";
inline constexpr auto ReportSection = "Servicebericht";

/// The index in the working folder, used alone or when the server cannot be reached.
QString localIndexFile();
/// The folder of the controllers' files, "Archive" in the working folder.
QString filesRoot();

/// The configured location: the server if one is named, else the local file. False with the
/// reason when the server's password cannot be had safely.
bool configuredLocation(Location* where, QString* error);

/// The technician's name, empty until asked once.
QString technicianName();
bool writeTechnicianName(const QString& name);

} // namespace r73::archive
