// zyrk-cli program against the simulated unit: the ticks from the start of the command to
// its first frame and to the last verify reply (in-process, on the tick the tool counts),
// and the wall time from starting the real program to its first frame on a pseudo-terminal.
#include "bench_cli.h"

#include "Cli.h"
#include "ParameterFile.h"
#include "SimPort.h"
#include "SimUnit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#ifdef ZYRK_BENCH_PTY
#include "PtyServer.h"
#endif

namespace {

constexpr int kTickLimit = 200;

// In-process: ticks from the command to the first frame and to the accepted last verify.
void TickCounts(const QString& file) {
    zyrk::SimUnit unit;
    zyrk::SimPort port(unit);
    QString sink;
    QTextStream out(&sink);
    QTextStream err(&sink);
    zyrk::cli::Options options;
    options.command = zyrk::cli::Command::Program;
    options.file = file;
    options.port = QStringLiteral("COM1");
    options.quiet = true;
    zyrk::cli::Session session(port, options, out, err);
    int tick = 0;
    int doneTick = -1;
    session.TheLink().AddTransferObserver([&](const zyrk::TransferEvent& e) {
        if (e.kind == zyrk::TransferEvent::Kind::Done)
            doneTick = tick;
    });
    if (!session.Prepare()) {
        std::printf("zyrk-cli program, in-process: could not start\n");
        return;
    }
    int firstTick = -1;
    for (tick = 1; tick <= kTickLimit && doneTick < 0; ++tick) {
        session.Tick();
        if (firstTick < 0 && !port.written.isEmpty())
            firstTick = tick;
    }
    std::printf("zyrk-cli program: first frame at tick %d (goal <= 4), last verify reply at "
                "tick %d (goal <= 19)\n",
                firstTick, doneTick);
}

#ifdef ZYRK_BENCH_PTY
// The real program: from QProcess::start to the first frame at the simulated unit.
void StartToFirstFrame(const QString& file) {
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/zyrk-cli");
    zyrk::SimUnit unit;
    zyrk::PtyServer server(unit);
    QString error;
    if (!QFile::exists(cli) || !server.Open(error)) {
        std::printf("zyrk-cli start to first frame: not measured (%s)\n",
                    qPrintable(error.isEmpty() ? cli + QStringLiteral(" missing") : error));
        return;
    }
    constexpr int kRuns = 5;
    constexpr int kServeMs = 1;
    constexpr int kRunLimitMs = 15000;
    double worst = 0;
    double best = 1e9;
    double total = 0;
    for (int run = 0; run < kRuns; ++run) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(cli, {QStringLiteral("--quiet"), QStringLiteral("--port"), server.SlavePath(),
                            QStringLiteral("program"), file});
        const int before = server.framesAnswered;
        double firstMs = -1;
        while (clock.elapsed() < kRunLimitMs) {
            server.ServeOnce(kServeMs);
            if (firstMs < 0 && server.framesAnswered > before)
                firstMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            if (process.state() == QProcess::NotRunning || process.waitForFinished(0))
                break;
        }
        process.waitForFinished(kRunLimitMs);
        worst = std::max(worst, firstMs);
        best = std::min(best, firstMs);
        total += firstMs;
    }
    std::printf("zyrk-cli program, start to first frame: mean %.1f ms, min %.1f ms, max %.1f ms"
                " over %d runs   (goal < 300 ms)\n",
                total / kRuns, best, worst, kRuns);
}
#endif

} // namespace

void BenchCli() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("unit.ign"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return;
    out.write(zyrk::WriteParameterFile(zyrk::SimUnit().store));
    out.close();
    TickCounts(file);
#ifdef ZYRK_BENCH_PTY
    StartToFirstFrame(file);
#endif
}
