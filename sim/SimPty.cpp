#include "SimPty.h"

#include "SimEngine.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace r73::sim {

namespace {

constexpr qint64 NsPerSec = 1000000000;
constexpr qint64 RetryNs = 100 * 1000000;   // no client: look at the master again after this
constexpr qint64 DrainPollNs = 5 * 1000000; // closing: how often to see if the client has read
constexpr int DrainLimit = 200;             // ... and for how many rounds at most

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * NsPerSec + ts.tv_nsec;
}

timespec toTimespec(qint64 ns)
{
    return timespec{time_t(ns / NsPerSec), long(ns % NsPerSec)};
}

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

QString errnoText(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

} // namespace

SimPty::SimPty(SimEngine& engine, const PtyOptions& options) : m_engine(engine), m_options(options)
{}

SimPty::~SimPty()
{
    closeAll();
}

void SimPty::blockStopSignals()
{
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

bool SimPty::open(QString* error)
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        *error = errnoText("openpty");
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    // Raw on the slave: no echo, no line editing, all 256 byte values pass. The slave stays open
    // for our whole life so the master never sees a hang-up when a client closes.
    termios tio{};
    tcgetattr(m_slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(m_slave, TCSANOW, &tio);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);

    const sigset_t set = stopSignals();
    m_signals = signalfd(-1, &set, SFD_CLOEXEC);
    if (m_signals < 0) {
        *error = errnoText("signalfd");
        return false;
    }

    if (!m_options.linkPath.isEmpty()) {
        const QByteArray link = m_options.linkPath.toLocal8Bit();
        bool made = symlink(name, link.constData()) == 0;
        if (!made && errno == EEXIST) {
            // Replace a link left behind by an earlier run, never a real file.
            struct stat st
            {
            };
            if (lstat(link.constData(), &st) == 0 && S_ISLNK(st.st_mode) &&
                unlink(link.constData()) == 0)
                made = symlink(name, link.constData()) == 0;
        }
        if (!made) {
            *error = errnoText("cannot create link") + u' ' + m_options.linkPath;
            return false;
        }
        m_linkCreated = true;
    }
    return true;
}

void SimPty::closeAll()
{
    if (m_linkCreated) {
        unlink(m_options.linkPath.toLocal8Bit().constData());
        m_linkCreated = false;
    }
    for (int* fd : {&m_master, &m_slave, &m_signals}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void SimPty::writeAll(const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_master, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return; // nobody to hear it; the host will time out as on a dead line
        }
        data += n;
        size -= n;
    }
}

void SimPty::transmit(const QByteArray& bytes, qint64 notBefore)
{
    const quint32 baud = m_options.baud;
    if (baud == 0) {
        writeAll(bytes.constData(), bytes.size());
        return;
    }
    // Each byte leaves only when its own time on the wire has passed.
    const qint64 byteNs = 10 * NsPerSec / baud;
    // Start from the modelled end of the request rather than from when we woke up, so wake-up
    // latency does not add to every exchange; but never burst to catch up on a long stall.
    const qint64 start = std::max(notBefore, monotonicNs() - byteNs);
    for (char c : bytes) {
        m_txClock = std::max(m_txClock, start) + byteNs;
        const timespec due = toTimespec(m_txClock);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
        }
        writeAll(&c, 1);
    }
}

void SimPty::reportViolations()
{
    const QStringList& all = m_engine.violations();
    for (; m_reported < all.size(); ++m_reported)
        std::fprintf(stderr, "r73-sim: protocol violation: %s\n", qPrintable(all[m_reported]));
}

bool SimPty::serveBytes(const char* data, qsizetype size, qint64 notBefore)
{
    const QByteArray answer = m_engine.feed(QByteArray(data, size));
    reportViolations();
    if (!answer.isEmpty()) transmit(answer, notBefore);
    return !m_engine.lineClosed();
}

void SimPty::drainBeforeClose()
{
    // Closing the master flushes what the client has not read yet; give it a moment to read
    // the last answer. Polling the slave (rather than asking for its queue length) also moves
    // bytes still in flight into its queue, so a fresh answer is never mistaken for a read one.
    for (int i = 0; i < DrainLimit; ++i) {
        pollfd p{m_slave, POLLIN, 0};
        if (poll(&p, 1, 0) <= 0 || !(p.revents & POLLIN)) return;
        const timespec pause = toTimespec(DrainPollNs);
        ppoll(nullptr, 0, &pause, nullptr);
    }
}

int SimPty::run()
{
    if (m_options.baud > 0)
        prctl(PR_SET_TIMERSLACK, 1UL); // wake on time: pacing is measured in microseconds

    const qint64 byteNs = m_options.baud > 0 ? 10 * NsPerSec / m_options.baud : 0;
    struct Pending
    {
        char byte;
        qint64 arrived; // when its last bit has crossed the modelled wire
    };
    std::deque<Pending> received;
    qint64 rxClock = 0;
    qint64 masterRetryAt = 0;
    qint64 lastByteAt = 0; // when the host's last byte was served
    const qint64 quietNs = qint64(m_options.quietMs) * 1000000;
    char buffer[4096];

    for (;;) {
        qint64 now = monotonicNs();
        while (!received.empty() && received.front().arrived <= now) {
            const Pending p = received.front();
            received.pop_front();
            if (!serveBytes(&p.byte, 1, p.arrived)) break;
            now = lastByteAt = monotonicNs();
        }
        const bool waitingForRest = quietNs > 0 && received.empty() && m_engine.midMessage();
        if (waitingForRest && now - lastByteAt >= quietNs) {
            m_engine.lineQuiet();
            reportViolations();
        }
        if (m_engine.lineClosed()) {
            drainBeforeClose();
            std::fprintf(stderr, "r73-sim: line closed after %d exchanges\n",
                         m_engine.completedExchanges());
            closeAll();
            return 0;
        }

        const bool watchMaster = now >= masterRetryAt;
        pollfd fds[2] = {{m_signals, POLLIN, 0}, {m_master, POLLIN, 0}};
        timespec timeout{};
        const timespec* timeoutPtr = nullptr;
        if (!received.empty())
            timeout = toTimespec(std::max<qint64>(0, received.front().arrived - now));
        else if (!watchMaster)
            timeout = toTimespec(masterRetryAt - now);
        if (!received.empty() || !watchMaster) timeoutPtr = &timeout;
        if (received.empty() && quietNs > 0 && m_engine.midMessage()) {
            const qint64 quietLeft = std::max<qint64>(0, lastByteAt + quietNs - now);
            if (!timeoutPtr || quietLeft < qint64(timeout.tv_sec) * NsPerSec + timeout.tv_nsec)
                timeout = toTimespec(quietLeft);
            timeoutPtr = &timeout;
        }

        if (ppoll(fds, watchMaster ? 2 : 1, timeoutPtr, nullptr) < 0) {
            if (errno == EINTR) continue;
            std::perror("r73-sim: ppoll");
            closeAll();
            return 1;
        }
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            [[maybe_unused]] const ssize_t n = ::read(m_signals, &info, sizeof info);
            closeAll();
            return 0;
        }
        if (!watchMaster || !(fds[1].revents & (POLLIN | POLLHUP | POLLERR))) continue;

        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) {
            // EIO: no client has the slave open right now; look again shortly.
            if (n == 0 || errno != EINTR) masterRetryAt = monotonicNs() + RetryNs;
            continue;
        }
        if (byteNs == 0) {
            serveBytes(buffer, n, 0);
            lastByteAt = monotonicNs();
            continue;
        }
        const qint64 arrival = monotonicNs();
        for (ssize_t i = 0; i < n; ++i) {
            rxClock = std::max(rxClock, arrival) + byteNs;
            received.push_back({buffer[i], rxClock});
        }
    }
}

} // namespace r73::sim
