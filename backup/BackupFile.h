#pragma once
/// The backup file: one human-readable, versioned JSON file per backup. Saved atomically;
/// loaded strictly, so that a truncated, hand-edited or corrupt file is refused with a message
/// that names the file and the place, before anything is written to a controller.

#include "Settings.h"

#include <QByteArray>
#include <QDate>
#include <QString>

namespace r73::backup {

inline constexpr char FormatName[] = "r73-service-backup";
inline constexpr int FormatVersion = 1;

/// The items a file of this snapshot marks as held as is, with the reason, in the order of a
/// restore: what the controller holds but the loader refuses in an unmarked item (an empty
/// channel name, a limit text that is no number, a range whose minimum lies above its maximum,
/// ...). The file keeps them as they are and loads; a restore skips and lists them.
QList<std::pair<QString, QString>> heldItems(const Snapshot& snapshot);
/// The file's text for a snapshot, with the held items marked.
QByteArray toJson(const Snapshot& snapshot);
/// Writes the file atomically (a failed save leaves an older file untouched); false with the
/// reason in error.
bool saveBackup(const QString& path, const Snapshot& snapshot, QString* error);
/// Reads a file; false with a message naming the file and the place in error.
bool loadBackup(const QString& path, Snapshot& out, QString* error);
/// The same for text already read; name is the file's name in messages.
bool parseBackup(const QByteArray& bytes, const QString& name, Snapshot& out, QString* error);

/// The first setting the loader would refuse, as "KEY: reason" with the channel page's own
/// message; empty when there is none. Items marked as held as is are left to their marks.
QString firstProblem(const Snapshot& snapshot);

/// The folder beside "Log" that backups are proposed in.
inline constexpr char BackupFolder[] = "Backup";
/// Proposed path, named like the logbook: folder/serial_yyyymmdd.json, or serial_yyyymmdd_n.json
/// with the smallest n whose file does not exist yet; ending replaces ".json" for the files
/// named alike (the verification report's "_report.txt").
QString proposedName(const QString& folder, quint16 serial,
                     const QDate& date = QDate::currentDate(),
                     const QString& ending = QStringLiteral(".json"));

} // namespace r73::backup
