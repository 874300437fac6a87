// Measures the data log and the chart as the window runs them: the work one monitor reply
// causes in the tick (a row written to the log, the chart feed updated), the chart's drawing
// of it (the new points added to the picture and the changed strip painted, or, when the time
// axis steps on, everything drawn afresh with the axes), which the chart's own timer runs
// outside the tick, and the resident memory over a long run. Prints figures; never fails on
// them.
#include "bench_log.h"
#include "BenchUtil.h"

#include "ChartWindow.h"
#include "Hlav.h"
#include "HlavLog.h"
#include "LogFile.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr qint64 kReplyMs = 330; // the unit answers every sixth 55 ms tick
constexpr int kTimedReplies = 2000;
constexpr int kLongRun = 100000;

double NowMs(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// Values that move like a running engine's, so the chart has real curves to draw.
zyrk::MonitorSample Sample(qint64 timeMs, int i) {
    zyrk::MonitorSample s;
    s.timeMs = timeMs;
    const double phase = i * 0.05;
    s.rpm = static_cast<uint16_t>(4500 + 3500 * std::sin(phase));
    s.tpPercent = static_cast<uint8_t>(50 + 45 * std::sin(phase * 0.7));
    s.tpsMv = static_cast<uint16_t>(480 + 40 * s.tpPercent);
    s.supplyMv = 13600 + (i % 7) * 30;
    s.servoDesiredMv = {static_cast<uint16_t>(1000 + 20 * s.tpPercent),
                        static_cast<uint16_t>(3000 - 15 * s.tpPercent)};
    s.servoMeasuredMv = {static_cast<uint16_t>(s.servoDesiredMv[0] - 12 + i % 25),
                         static_cast<uint16_t>(s.servoDesiredMv[1] - 12 + i % 25)};
    s.servoState = {1, 1};
    s.unitVersion = 56;
    return s;
}

} // namespace

void BenchLog(zyrk::TFormHlav& form) {
    QTemporaryDir folder;
    zyrk::HlavLog& log = *form.DataLog;
    log.SetFolder(folder.path());
    log.StartRecording();
    log.ShowChart();
    zyrk::ChartWindow& chart = *log.Chart();
    QCoreApplication::processEvents();

    qint64 t = QDateTime::currentMSecsSinceEpoch();
    int i = 0;
    auto reply = [&] { log.Recording().AddSample(Sample(t += kReplyMs, i++)); };
    // The chart's timer comes round about once per reply at the unit's pace: the new points
    // are drawn and the paint of the changed strip follows. Only posted events are delivered
    // (the paint, the chart's own deferred work), not the main window's timers, which are
    // measured on their own.
    auto draw = [&] {
        chart.Refresh();
        QCoreApplication::sendPostedEvents();
    };

    // Fill the last minute first, as a chart that has been open a while is.
    for (int k = 0; k < 200; ++k)
        reply();
    draw();

    QElapsedTimer clock;
    clock.start();
    std::vector<double> tick, drawn, both, steps;
    for (int k = 0; k < kTimedReplies; ++k) {
        const auto range = chart.TimeRange();
        const double a = NowMs(clock);
        reply();
        const double b = NowMs(clock);
        draw();
        const double c = NowMs(clock);
        tick.push_back(b - a);
        drawn.push_back(c - b);
        both.push_back(c - a);
        if (chart.TimeRange() != range)
            steps.push_back(c - b);
    }

    // The long run: every reply logged, fed and drawn, on the five-minute view.
    chart.SetSpan(zyrk::ChartWindow::Last5min);
    for (int k = 0; k < 2000; ++k)
        reply();
    draw();
    const double before = zyrk::bench::ResidentMb();
    for (int k = 0; k < kLongRun; ++k) {
        reply();
        draw();
    }
    const double after = zyrk::bench::ResidentMb();
    const qint64 rows = log.Recording().Rows();
    const double fileMb =
        static_cast<double>(QFileInfo(log.Recording().FilePath()).size()) / (1024.0 * 1024.0);

    std::printf("log, per reply in the tick (row written, chart fed): median %.4f ms\n",
                zyrk::bench::Median(tick));
    std::printf("chart drawing per reply (points added, strip painted; own timer): median %.4f ms,"
                " mean %.4f ms\n",
                zyrk::bench::Median(drawn), zyrk::bench::Mean(drawn));
    std::printf("chart axis step (all drawn afresh with the axes; %zu of %d replies; the axes'"
                " own repaint follows a reply later): median %.3f ms\n",
                steps.size(), kTimedReplies, zyrk::bench::Median(steps));
    std::printf("a reply written to the log and drawn on the open chart: median %.4f ms,"
                " mean %.4f ms   (goal < 0.1 ms)\n",
                zyrk::bench::Median(both), zyrk::bench::Mean(both));
    std::printf("resident memory over %d samples through logger and chart: %+.1f MB"
                " (%.1f -> %.1f MB; %lld rows, %.1f MB on disk)   (goal < 10 MB)\n",
                kLongRun, after - before, before, after, static_cast<long long>(rows), fileMb);

    // --shots DIR: the chart as it looks after the run, with a cursor and a marker.
    const QStringList args = QCoreApplication::arguments();
    const qsizetype shots = args.indexOf(QStringLiteral("--shots"));
    if (shots > 0 && shots + 1 < args.size()) {
        chart.SetSpan(zyrk::ChartWindow::Last60s);
        log.AddMarker();
        for (int k = 0; k < 40; ++k)
            reply();
        log.Recording().Tick(t + 5000); // the unit falls silent for a while
        t += 8000;
        for (int k = 0; k < 60; ++k)
            reply();
        chart.Refresh();
        const auto range = chart.TimeRange();
        chart.SetCursor(range.first + (range.second - range.first) * 0.7);
        QCoreApplication::processEvents();
        chart.grab().save(args[shots + 1] + QStringLiteral("/chart.png"));
    }
    // The whole run opened again, as "Open log" does: read, fed and drawn.
    const QString path = log.Recording().FilePath();
    log.StopRecording();
    clock.restart();
    const zyrk::LogReadResult read = zyrk::ReadLog(path);
    const double readMs = NowMs(clock);
    chart.ShowLog(zyrk::ChartFeed::FromLog(read.rows), QFileInfo(path).fileName());
    QCoreApplication::processEvents();
    const double shownMs = NowMs(clock);
    std::printf("log of %zu rows opened again: read %.0f ms, on the chart %.0f ms later\n",
                read.rows.size(), readMs, shownMs - readMs);
    chart.close();
}
