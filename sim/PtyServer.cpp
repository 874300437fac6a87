#include "PtyServer.h"

#include "Frame.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace zyrk {

namespace {

QString SystemError(const QString& what, int error) {
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(error)));
}

// Non-blocking, and not handed down to programs this one might start.
bool SetFlags(int fd) {
    const int statusFlags = fcntl(fd, F_GETFL);
    const int fdFlags = fcntl(fd, F_GETFD);
    return statusFlags >= 0 && fdFlags >= 0 && fcntl(fd, F_SETFL, statusFlags | O_NONBLOCK) == 0 &&
           fcntl(fd, F_SETFD, fdFlags | FD_CLOEXEC) == 0;
}

// The target of the symbolic link at path, or an empty array when it is none.
QByteArray LinkTarget(const QByteArray& path) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink(path.constData(), buffer, sizeof buffer);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer)
        return {};
    return QByteArray(buffer, static_cast<qsizetype>(n));
}

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

} // namespace

PtyServer::PtyServer(SimUnit& unit) : unit_(unit) {}

PtyServer::~PtyServer() {
    RemoveLink();
    CloseAll();
}

void PtyServer::CloseAll() {
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
    slave_ = -1;
    master_ = -1;
    slavePath_.clear();
    pending_.clear();
}

bool PtyServer::Open(QString& error) {
    RemoveLink();
    CloseAll();
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = SystemError(QStringLiteral("cannot create a pseudo-terminal"), errno);
        return false;
    }
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || !SetFlags(master_)) {
        error = SystemError(QStringLiteral("cannot prepare the pseudo-terminal"), errno);
        CloseAll();
        return false;
    }
    const char* name = ptsname(master_);
    if (name == nullptr) {
        error = SystemError(QStringLiteral("cannot name the pseudo-terminal"), errno);
        CloseAll();
        return false;
    }
    const QByteArray device(name);
    slave_ = open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ < 0 || !SetFlags(slave_)) {
        error = SystemError(QStringLiteral("cannot open %1").arg(QString::fromLocal8Bit(device)),
                            errno);
        CloseAll();
        return false;
    }
    // Raw from the start: an echoing terminal would send the tool's requests straight back
    // to it, and the line discipline would swallow or rewrite control bytes.
    termios tio{};
    if (tcgetattr(slave_, &tio) != 0) {
        error = SystemError(QStringLiteral("cannot read the terminal settings"), errno);
        CloseAll();
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&tio, B57600);
    cfsetospeed(&tio, B57600);
    if (tcsetattr(slave_, TCSANOW, &tio) != 0) {
        error = SystemError(QStringLiteral("cannot set the terminal raw"), errno);
        CloseAll();
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(device);
    return true;
}

bool PtyServer::PlaceLink(const QString& path, QString& error) {
    if (!IsOpen()) {
        error = QStringLiteral("no pseudo-terminal to link to");
        return false;
    }
    const QByteArray link = QFile::encodeName(path);
    struct stat st {};
    if (lstat(link.constData(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = QStringLiteral("%1 exists and is not a symbolic link; it was left alone").arg(path);
        return false;
    }
    // Link beside the final name and rename it over, so that a tool reopening the path never
    // finds it missing or half made.
    const QByteArray temp = link + ".tmp" + QByteArray::number(static_cast<qint64>(getpid()));
    if (lstat(temp.constData(), &st) == 0 && S_ISLNK(st.st_mode))
        unlink(temp.constData());
    if (symlink(QFile::encodeName(slavePath_).constData(), temp.constData()) != 0) {
        error = SystemError(QStringLiteral("cannot create a link at %1").arg(path), errno);
        return false;
    }
    if (rename(temp.constData(), link.constData()) != 0) {
        const int saved = errno;
        unlink(temp.constData());
        error = SystemError(QStringLiteral("cannot place the link at %1").arg(path), saved);
        return false;
    }
    linkPath_ = path;
    return true;
}

void PtyServer::RemoveLink() {
    if (linkPath_.isEmpty())
        return;
    const QByteArray link = QFile::encodeName(linkPath_);
    if (LinkTarget(link) == QFile::encodeName(slavePath_))
        unlink(link.constData());
    linkPath_.clear();
}

void PtyServer::DropStalePartial(std::chrono::steady_clock::time_point now) {
    if (!pending_.isEmpty() && now - lastByte_ > kFrameGap) {
        bytesDropped += static_cast<int>(pending_.size());
        pending_.clear();
    }
}

bool PtyServer::ServeOnce(int timeoutMs) {
    if (!IsOpen())
        return false;
    int wait = std::max(0, timeoutMs);
    if (!pending_.isEmpty()) {
        // Wake up in time to drop a partial frame that has gone stale.
        const int untilStale = MillisecondsLeft(lastByte_ + kFrameGap) + 1;
        wait = std::min(wait, untilStale);
    }
    pollfd p{master_, POLLIN, 0};
    const int ready = poll(&p, 1, wait);
    const auto now = std::chrono::steady_clock::now();
    if (ready < 0)
        return errno == EINTR; // a signal: the caller looks at its flags and calls again
    DropStalePartial(now);
    if (ready == 0)
        return true;
    if ((p.revents & POLLIN) == 0)
        return (p.revents & (POLLERR | POLLHUP | POLLNVAL)) == 0;

    char buffer[kReadChunk];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    if (n == 0)
        return true;
    pending_.append(buffer, static_cast<qsizetype>(n));
    lastByte_ = now;
    AnswerCompleteFrames();
    return true;
}

void PtyServer::AnswerCompleteFrames() {
    while (pending_.size() >= kFrameSize) {
        const QByteArray request = pending_.left(kFrameSize);
        pending_.remove(0, kFrameSize);
        if (noiseBytes > 0)
            WriteNoise();
        const QByteArray reply = unit_.Answer(request);
        if (reply.isEmpty())
            continue;
        if (FrameByte(request, 0) != kCmdMonitor && hangUpAfterFrames >= 0) {
            if (hangUpAfterFrames == 0) {
                WriteReply(reply.left(kFrameSize / 2));
                HangUp();
                return;
            }
            --hangUpAfterFrames;
        }
        WriteReply(reply);
        if (answerTwice)
            WriteReply(reply);
        ++framesAnswered;
    }
}

void PtyServer::WriteNoise() {
    // Any bytes but the same ones every run, so that a test that trips over them repeats.
    constexpr uint32_t kMultiplier = 1664525;
    constexpr uint32_t kIncrement = 1013904223;
    uint32_t state = 1;
    QByteArray chunk;
    while (noiseBytes > 0) {
        chunk.clear();
        for (int i = 0; i < kReadChunk && i < noiseBytes; ++i) {
            state = state * kMultiplier + kIncrement;
            chunk.append(static_cast<char>(state >> 24));
        }
        noiseBytes -= static_cast<int>(chunk.size());
        WriteReply(chunk);
    }
}

void PtyServer::HangUp() {
    // The device node goes with the adapter: the link first, while it still names this
    // server's terminal.
    RemoveLink();
    CloseAll();
    hungUp_ = true;
}

void PtyServer::WriteReply(const QByteArray& reply) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteWaitMs);
    const char* data = reply.constData();
    size_t left = static_cast<size_t>(reply.size());
    while (left > 0) {
        const ssize_t n = write(master_, data, left);
        if (n > 0) {
            data += n;
            left -= static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // A full queue means nobody reads the terminal; after a short wait the rest of the
        // reply is lost, as on a real line, and the tool's retries cover it.
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return;
        const int wait = MillisecondsLeft(deadline);
        if (wait <= 0)
            return;
        pollfd p{master_, POLLOUT, 0};
        poll(&p, 1, wait);
    }
}

} // namespace zyrk
