#include "CellStats.h"

#include "Recorder.h"

#include <algorithm>
#include <cstdlib>

namespace zyrk {

namespace {
constexpr int kTpErrorAbove = 100;
} // namespace

void CellStats::Clear() {
    const quint64 revision = revision_ + 1;
    *this = CellStats();
    revision_ = revision;
}

void CellStats::Add(const MonitorSample& sample, qint64 atMs) {
    ++samples_;
    ++revision_;
    const qint64 dt = atMs - lastMs_;
    // A clock that stepped back or a silence the caller did not report gives the last reply
    // no time at all rather than a wrong one.
    const bool timed = haveLast_ && dt >= 0 && dt <= kNoAnswerMs;
    for (size_t s = 0; s < kServoCount; ++s) {
        if (timed && pending_[s] >= 0)
            maps_[s][static_cast<size_t>(pending_[s])].ms += dt;
        pending_[s] = -1;
    }
    haveLast_ = true;
    lastMs_ = atMs;
    if (sample.tpPercent > kTpErrorAbove)
        return;
    for (size_t s = 0; s < kServoCount; ++s) {
        if (sample.servoState[s] == 0)
            continue;
        const int row = sample.liveRow[s];
        const int column = sample.liveColumn[s];
        if (row >= kMapRows || column >= kMapColumns) // a damaged or foreign log
            continue;
        const int index = row * kMapColumns + column;
        CellFigures& cell = maps_[s][static_cast<size_t>(index)];
        const int error = int(sample.servoDesiredMv[s]) - int(sample.servoMeasuredMv[s]);
        ++cell.hits;
        cell.errorSumMv += error;
        cell.errorAbsSumMv += std::abs(error);
        cell.errorMaxAbsMv = std::max(cell.errorMaxAbsMv, std::abs(error));
        ++counted_[s];
        pending_[s] = index;
    }
}

void CellStats::Silence() {
    pending_.fill(-1);
    haveLast_ = false;
    ++revision_;
}

qint64 CellStats::MaxHits(int servo) const {
    qint64 m = 0;
    for (const CellFigures& c : Servo(servo))
        m = std::max(m, c.hits);
    return m;
}

qint64 CellStats::MaxMs(int servo) const {
    qint64 m = 0;
    for (const CellFigures& c : Servo(servo))
        m = std::max(m, c.ms);
    return m;
}

double CellStats::MaxErrorMeanAbsMv(int servo) const {
    double m = 0;
    for (const CellFigures& c : Servo(servo))
        m = std::max(m, c.ErrorMeanAbsMv());
    return m;
}

CellStats CellStatsOfLog(const std::vector<LogRow>& rows) {
    CellStats stats;
    for (const LogRow& row : rows) {
        if (row.event == LogEvent::Sample)
            stats.Add(row.sample, row.sinceMs);
        else if (row.event == LogEvent::NoAnswer)
            stats.Silence();
    }
    return stats;
}

} // namespace zyrk
