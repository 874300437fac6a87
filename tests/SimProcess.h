#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtDebug>

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

} // namespace zyrk
