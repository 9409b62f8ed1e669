#include "SafeFile.h"

#include "TextHook.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace r73 {

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

bool writeAll(int fd, const char* data, qint64 size, int* err)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            *err = errno;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

/// The file a write to path lands in: a link's target, so that the link survives the rename.
QString writeTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    return info.symLinkTarget();
}

/// What must hold before a whole file is written to path: the target (a link's target) is
/// absent or a regular file that may be written. A rename would silently replace a
/// write-protected file, or a device node such as /dev/null, and a dangling link would create
/// its target wherever it points (an unmounted share's mount point).
bool checkTarget(const QString& path, QString* target, struct stat* old, bool* exists,
                 QString* reason)
{
    auto fail = [reason](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    *target = writeTarget(path);
    *exists = ::stat(native(*target).constData(), old) == 0;
    if (!*exists) {
        if (QFileInfo(path).isSymLink())
            return fail(tr73(0, QStringLiteral("die Verknüpfung zeigt ins Leere")));
        return true;
    }
    if (S_ISDIR(old->st_mode)) return fail(fileErrorReason(EISDIR));
    if (!S_ISREG(old->st_mode)) return fail(tr73(0, QStringLiteral("keine gewöhnliche Datei")));
    if (::access(native(*target).constData(), W_OK) != 0) return fail(fileErrorReason(errno));
    return true;
}

/// A name beside target that nothing else uses; O_EXCL below makes the choice race-free.
QString temporaryBeside(const QString& target)
{
    const QFileInfo info(target);
    const quint32 tag = QRandomGenerator::global()->generate();
    return info.dir().filePath(
        QStringLiteral(".%1.%2.tmp").arg(info.fileName()).arg(tag, 8, 16, QLatin1Char('0')));
}

/// Creates a new file beside target under a name that nothing else uses; -1 and errno set
/// when the folder takes no file.
int createTemporary(const QString& target, QString* temp)
{
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        *temp = temporaryBeside(target);
        fd = ::open(native(*temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    return fd;
}

} // namespace

QString fileErrorReason(int err)
{
    const char* german = nullptr;
    switch (err) {
    case ENOSPC:
        german = "kein Platz auf dem Datenträger";
        break;
    case EDQUOT:
        german = "Speicherkontingent erschöpft";
        break;
    case EFBIG:
        german = "Datei zu groß";
        break;
    case EACCES:
    case EPERM:
        german = "keine Berechtigung";
        break;
    case EROFS:
        german = "Datenträger schreibgeschützt";
        break;
    case ENOENT:
        german = "Datei oder Ordner nicht vorhanden";
        break;
    case ENOTDIR:
        german = "ein Teil des Pfades ist kein Ordner";
        break;
    case EISDIR:
        german = "ist ein Ordner";
        break;
    case EIO:
        german = "Ein-/Ausgabefehler";
        break;
    case ELOOP:
        german = "zu viele symbolische Verknüpfungen";
        break;
    case ENAMETOOLONG:
        german = "Name zu lang";
        break;
    default:
        return qt_error_string(err);
    }
    return tr73(0, QString::fromUtf8(german));
}

namespace {

/// The checked target of a write and a new temporary file beside it; -1 (and reason) when the
/// target cannot be written.
int openTemporaryFor(const QString& path, QString* target, struct stat* old, bool* exists,
                     QString* temp, QString* reason)
{
    if (!checkTarget(path, target, old, exists, reason)) return -1;
    const int fd = createTemporary(*target, temp);
    if (fd < 0 && reason) *reason = fileErrorReason(errno);
    return fd;
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason)
{
    QString target, temp;
    struct stat old
    {
    };
    bool exists = false;
    const int fd = openTemporaryFor(path, &target, &old, &exists, &temp, reason);
    if (fd < 0) return false;

    int err = 0;
    // The new file keeps the old one's permissions, as an editor's save would.
    bool ok = !exists || ::fchmod(fd, old.st_mode & 07777) == 0 || (err = errno, false);
    ok = ok && writeAll(fd, bytes.constData(), bytes.size(), &err);
    // A full disk with delayed allocation reports itself only here, not at write().
    ok = ok && (::fsync(fd) == 0 || (err = errno, false));
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    ok = ok && (::rename(native(temp).constData(), native(target).constData()) == 0 ||
                (err = errno, false));
    if (!ok) {
        ::unlink(native(temp).constData());
        if (reason) *reason = fileErrorReason(err);
        return false;
    }
    // The rename itself is durable only once the folder is synced; a folder that cannot be
    // opened for that has still renamed, so this is best effort.
    const int dir = ::open(native(QFileInfo(target).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool canWriteFile(const QString& path, QString* reason)
{
    QString target, temp;
    struct stat old
    {
    };
    bool exists = false;
    const int fd = openTemporaryFor(path, &target, &old, &exists, &temp, reason);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(native(temp).constData());
    return true;
}

bool readRegularFile(const QString& path, QByteArray* out, QString* reason, qint64 limit)
{
    auto fail = [reason](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; fstat then refuses it.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(fileErrorReason(errno));
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(fileErrorReason(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(S_ISDIR(st.st_mode) ? fileErrorReason(EISDIR)
                                        : tr73(0, QStringLiteral("keine gewöhnliche Datei")));
    }
    if (st.st_size > limit) {
        ::close(fd);
        return fail(tr73(0, QStringLiteral("Datei größer als %1 MB")).arg(limit / (1024 * 1024)));
    }
    QByteArray bytes;
    bytes.resize(qsizetype(st.st_size));
    qint64 done = 0;
    // The size can change under us; read to the end but never past the limit.
    for (;;) {
        if (done == bytes.size()) {
            if (bytes.size() >= limit + 1) break;
            bytes.resize(std::min<qint64>(limit + 1, bytes.size() + 4096));
        }
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return fail(fileErrorReason(err));
        }
        if (n == 0) break;
        done += n;
    }
    ::close(fd);
    if (done > limit)
        return fail(tr73(0, QStringLiteral("Datei größer als %1 MB")).arg(limit / (1024 * 1024)));
    bytes.resize(qsizetype(done));
    *out = bytes;
    return true;
}

GrowingFile::~GrowingFile()
{
    if (m_fd >= 0) ::close(m_fd);
}

bool GrowingFile::fail(int err)
{
    m_reason = fileErrorReason(err);
    return false;
}

bool GrowingFile::open(const QString& path, Mode mode)
{
    close();
    m_path = path;
    m_reason.clear();
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    switch (mode) {
    case Mode::Truncate:
        flags |= O_TRUNC;
        break;
    case Mode::Append:
        flags |= O_APPEND;
        break;
    case Mode::New:
        flags |= O_EXCL;
        break;
    }
    m_fd = ::open(native(path).constData(), flags, 0666);
    if (m_fd < 0) {
        if (mode == Mode::New && errno == EEXIST) {
            m_reason = tr73(0, QStringLiteral("die Datei gibt es schon"));
            return false;
        }
        return fail(errno);
    }
    return true;
}

bool GrowingFile::write(const QByteArray& bytes)
{
    if (m_fd < 0) return fail(EBADF);
    int err = 0;
    return writeAll(m_fd, bytes.constData(), bytes.size(), &err) || fail(err);
}

bool GrowingFile::sync()
{
    if (m_fd < 0) return fail(EBADF);
    return ::fdatasync(m_fd) == 0 || fail(errno);
}

bool GrowingFile::close()
{
    if (m_fd < 0) return true;
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0 || fail(errno);
}

} // namespace r73
