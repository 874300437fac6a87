#pragma once

#include "LogFile.h"
#include "MonitorSample.h"
#include "ParamImage.h"

#include <array>
#include <vector>

namespace zyrk {

// What one map cell saw of a run: how often the engine was in it, how long, and how well the
// servo followed there (desired minus measured, so a servo lagging below the map is positive).
struct CellFigures {
    qint64 hits = 0;       // replies counted in the cell
    qint64 ms = 0;         // time spent, each reply weighted by the time to the next one
    qint64 errorSumMv = 0; // sum of (desired - measured)
    qint64 errorAbsSumMv = 0;
    int errorMaxAbsMv = 0; // largest |desired - measured|

    bool Visited() const { return hits > 0; }
    double Seconds() const { return static_cast<double>(ms) / 1000.0; }
    double ErrorMeanMv() const { return hits ? static_cast<double>(errorSumMv) / hits : 0.0; }
    double ErrorMeanAbsMv() const { return hits ? static_cast<double>(errorAbsSumMv) / hits : 0.0; }
    bool operator==(const CellFigures&) const = default;
};

// The statistics of both servo maps over a run of samples. The cell of a sample is the one it
// names (the live cell the link found for it with the map's axis at that moment), so a log
// read later bins exactly as the window showed it live, whatever the axis is today.
//
// A reply counts nowhere when the throttle sensor is in error (above 100 %), and for a servo
// when that servo's state byte is 0 (the servo is off, or faulted: it is not following the
// map then). The time of a reply runs to the next reply; it counts nothing when the unit fell
// silent in between (Silence(), a "no answer" row, or a gap longer than kNoAnswerMs), so a
// pulled cable does not pile hours onto the last cell.
//
// Widget-free and clock-free: the caller passes each sample's time. Adding one sample is a
// few additions, cheap enough for every reply of the tick.
class CellStats {
  public:
    using Map = std::array<CellFigures, kMapCells>;

    void Clear();
    // One monitor reply at atMs (any clock that only moves forward while the run lasts).
    void Add(const MonitorSample& sample, qint64 atMs);
    // The unit stopped answering: the last reply's time ends here, before the silence.
    void Silence();

    const CellFigures& Cell(int servo, int row, int column) const {
        return maps_[static_cast<size_t>(servo)][static_cast<size_t>(row * kMapColumns + column)];
    }
    const Map& Servo(int servo) const { return maps_[static_cast<size_t>(servo)]; }
    // Replies counted for the servo, and all replies seen (counted or not).
    qint64 Counted(int servo) const { return counted_[static_cast<size_t>(servo)]; }
    qint64 Samples() const { return samples_; }
    // Bumped by every change, so a view redraws only when something moved.
    quint64 Revision() const { return revision_; }

    // The largest figure over the cells of a servo, for the colour scales.
    qint64 MaxHits(int servo) const;
    qint64 MaxMs(int servo) const;
    double MaxErrorMeanAbsMv(int servo) const;

  private:
    std::array<Map, kServoCount> maps_{};
    std::array<qint64, kServoCount> counted_{};
    // The cell each servo's last counted reply went to (-1: none), waiting for its time.
    std::array<int, kServoCount> pending_{-1, -1};
    qint64 lastMs_ = 0;
    bool haveLast_ = false;
    qint64 samples_ = 0;
    quint64 revision_ = 0;
};

// The statistics of a log as read: sample rows counted, "no answer" rows as silences, start
// and marker rows neither. Time from each row's time since the start of the recording.
CellStats CellStatsOfLog(const std::vector<LogRow>& rows);

} // namespace zyrk
