#pragma once
/// A full disk for tests that run as root (permissions cannot make writes fail there): the body
/// runs in a child whose files may not grow beyond limit bytes, with SIGXFSZ ignored, so a write
/// past the limit fails with EFBIG as a full disk fails with ENOSPC.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace r73::test {

/// True when the body succeeded; the text it left in *reason comes back through a pipe.
inline bool inSmallFileSystem(qint64 limit, const std::function<bool(QString*)>& body,
                              QString* reason)
{
    int fds[2];
    if (::pipe(fds) != 0) return false;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit lim{rlim_t(limit), rlim_t(limit)};
        ::setrlimit(RLIMIT_FSIZE, &lim);
        QString why;
        const bool ok = body(&why);
        const QByteArray bytes = why.toUtf8();
        [[maybe_unused]] auto n = ::write(fds[1], bytes.constData(), size_t(bytes.size()));
        ::_exit(ok ? 0 : 1);
    }
    ::close(fds[1]);
    QByteArray got;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        got.append(buf, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    *reason = QString::fromUtf8(got);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

/// The shell words that start a program under the same limit (in 512-byte blocks), for a
/// QProcess: program "sh", these arguments, then the program and its own.
inline QStringList smallFileSystemShell(int blocks)
{
    return {QStringLiteral("-c"),
            QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(blocks)};
}

} // namespace r73::test
