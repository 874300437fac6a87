#pragma once

#include "ParamImage.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtDebug>
#include <sys/resource.h>

namespace zyrk {

// One zyrk-sim process serving the simulated unit on a pseudo-terminal, with a link to it at
// a path of the test's choosing. Stop() also runs from the destructor, so a failed check
// never leaves a simulator behind; --exit-with-stdin covers a test program that dies outright.
class Simulator {
  public:
    static constexpr int kProcessWaitMs = 5000;

    ~Simulator() { Stop(); }

    bool Start(const QString& link, const QStringList& extra = {}) {
        process.setProgram(QStringLiteral(ZYRK_SIM_PATH));
        process.setArguments(
            QStringList{QStringLiteral("--exit-with-stdin"), QStringLiteral("--link"), link} +
            extra);
        process.start();
        if (!process.waitForStarted(kProcessWaitMs))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (!process.canReadLine() && timer.elapsed() < kProcessWaitMs) {
            if (!process.waitForReadyRead(kProcessWaitMs) &&
                process.state() == QProcess::NotRunning)
                break;
        }
        if (!process.canReadLine()) {
            qWarning() << "zyrk-sim:" << process.readAllStandardError();
            return false;
        }
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
        return !device.isEmpty();
    }

    // The exit code of a clean stop, -1 when the process had to be killed.
    int Stop() {
        if (process.state() == QProcess::NotRunning)
            return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        process.terminate();
        if (!process.waitForFinished(kProcessWaitMs)) {
            process.kill();
            process.waitForFinished(kProcessWaitMs);
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QProcess process;
    QString device;
};

// CPU time of this process (the window and the test) against wall time since construction.
class CpuClock {
  public:
    CpuClock() : cpuStart_(Now()) { wall_.start(); }
    long long UsedMs() const { return (Now() - cpuStart_) / 1000; }
    long long WallMs() const { return wall_.elapsed(); }

  private:
    static long long Now() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto us = [](const timeval& t) { return t.tv_sec * 1000000LL + t.tv_usec; };
        return us(usage.ru_utime) + us(usage.ru_stime);
    }
    long long cpuStart_;
    QElapsedTimer wall_;
};

// Block b of an image as the bytes a frame carries.
inline QByteArray BlockBytes(const ParamImage& image, int b) {
    const ParamImage::Block block = image.GetBlock(b);
    return QByteArray(reinterpret_cast<const char*>(block.data()), kBlockSize);
}

} // namespace zyrk
