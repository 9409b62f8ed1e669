#pragma once
/// The one way the program and r73ctl put files on disk.
///
/// A whole file (backup, report, logbook, CSV, configuration) is written to a temporary file in
/// the target's folder, every write, the fsync and the close are checked, and only then is it
/// renamed over the target: a full disk, a quota or a pulled stick leave the old file as it was
/// and no temporary file behind. A file that grows while it is written (recording, trace) cannot
/// be renamed at the end; GrowingFile checks each write instead, so the first failure is known.
/// Reasons are the system's, in words and in the current language ("kein Platz auf dem
/// Datenträger"), never Qt's "Unknown error".

#include <QByteArray>
#include <QString>

namespace r73 {

/// Files read whole are refused above this size: a backup, a configuration or a recording of
/// ours is far smaller, and a device or a runaway file must not exhaust memory.
inline constexpr qint64 MaxReadSize = 10 * 1024 * 1024;

/// The reason for a failed system call, in words and in the current language.
QString fileErrorReason(int err);

/// Writes bytes as the whole new content of path, or leaves path untouched. A symbolic link is
/// followed: its target is replaced, the link stays. Refused: a folder, a device or FIFO, a
/// write-protected file, a link to nothing. On failure reason (if given) says why.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

/// Whether writeFileAtomically(path) could succeed, found without touching path: the checks it
/// makes first, and a temporary file made and removed beside the target. A full disk can still
/// fail the write itself.
bool canWriteFile(const QString& path, QString* reason = nullptr);

/// Reads a regular file of at most limit bytes. A FIFO, a device or a folder is refused before
/// a byte is read (opening a FIFO does not block), as is a file above limit.
bool readRegularFile(const QString& path, QByteArray* out, QString* reason = nullptr,
                     qint64 limit = MaxReadSize);

/// A file written piece by piece, each write checked and unbuffered, so a failed write is known
/// at the row that failed and what was written before stays on disk.
class GrowingFile
{
public:
    enum class Mode {
        Truncate, ///< start empty (a new recording)
        Append,   ///< keep what is there and add
        New,      ///< refuse an existing file: it is never emptied
    };

    GrowingFile() = default;
    ~GrowingFile();
    GrowingFile(const GrowingFile&) = delete;
    GrowingFile& operator=(const GrowingFile&) = delete;

    bool open(const QString& path, Mode mode);
    bool isOpen() const { return m_fd >= 0; }
    /// Writes all bytes or fails; after a failure the file stays open for close().
    bool write(const QByteArray& bytes);
    /// Puts what was written on the disk (fdatasync).
    bool sync();
    bool close();
    QString path() const { return m_path; }
    /// Why the last call failed, in words.
    QString reason() const { return m_reason; }

private:
    bool fail(int err);

    int m_fd = -1;
    QString m_path;
    QString m_reason;
};

} // namespace r73
