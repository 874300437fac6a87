#pragma once

#include "LogFile.h"
#include "MonitorSample.h"

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace zyrk {

// The curves the chart draws, in legend order.
enum Trace : int {
    TraceRpm,
    TraceThrottle,
    TraceSupply,
    TraceServo1Desired,
    TraceServo1Measured,
    TraceServo2Desired,
    TraceServo2Measured,
    kTraceCount
};

struct ChartEntry {
    enum Kind : uint8_t { Point, Gap, Marker };
    Kind kind = Point;
    // Marker entries: LogEvent::Marker for the technician's numbered markers, the transfer
    // events (programmed, read, verify failed...) and Start for where a recording began.
    LogEvent event = LogEvent::Sample;
    int marker = 0;     // the marker's number, or the transfer's block (Marker)
    double seconds = 0; // since the feed's origin
    qint64 timeMs = 0;  // wall clock
    // RPM, per cent, volts, mV, mV, mV, mV
    std::array<float, kTraceCount> values{};
};

// What the chart draws, kept within a fixed budget however long the run: the recent past at
// full resolution (enough for the five-minute view at the unit's reply rate, with room to
// spare) and an overview of the whole run that halves its resolution whenever it fills.
// The run itself lives on disk in the log. Markers are kept apart, also within a budget.
//
// Entries get consecutive sequence numbers, so the chart appends only what is new.
// The short label a mark carries on the chart: "M3" for a marker, "P" programmed, "R" read,
// "V" verified, "P!3" / "R!3" / "V!3" failed at block 3, "REC" the start of a recording.
QString MarkLabel(const ChartEntry& mark);

class ChartFeed {
  public:
    static constexpr size_t kRecentCapacity = 4096;
    static constexpr size_t kOverviewCapacity = 2048;
    static constexpr size_t kMarkerCapacity = 1000;

    explicit ChartFeed(size_t recentCapacity = kRecentCapacity,
                       size_t overviewCapacity = kOverviewCapacity);

    // Starts afresh with time zero at originMs (the start of a recording).
    void Reset(qint64 originMs);
    void AddSample(const MonitorSample& sample);
    // The unit stopped answering: the curves break here instead of bridging the silence.
    void AddGap(qint64 timeMs);
    void AddMarker(qint64 timeMs, int number);
    // A transfer (or the start of a recording) shown as a mark where it happened; block is
    // the block that failed, 0 for a transfer that went through.
    void AddEvent(qint64 timeMs, LogEvent event, int block);

    // A whole log file, for looking at it again; its own feed with room for every row.
    static ChartFeed FromLog(const std::vector<LogRow>& rows);
    // The same, row by row as a log is read: a feed with room for every row, then AddLogRow.
    static ChartFeed ForLog();
    void AddLogRow(const LogRow& row);

    static std::array<float, kTraceCount> Values(const MonitorSample& sample);

    const std::deque<ChartEntry>& Recent() const { return recent_; }
    uint64_t RecentFirstSeq() const { return nextSeq_ - recent_.size(); }
    uint64_t NextSeq() const { return nextSeq_; }
    const std::vector<ChartEntry>& Overview() const { return overview_; }
    // Changes whenever the overview was thinned out, i.e. what was drawn of it is stale.
    int OverviewGeneration() const { return generation_; }
    const std::deque<ChartEntry>& Markers() const { return markers_; }
    // Counts every mark ever added, so a drawing knows when to show a new one.
    uint64_t MarkSeq() const { return markSeq_; }
    double LastSeconds() const { return lastSeconds_; }
    qint64 OriginMs() const { return originMs_; }
    bool HasOrigin() const { return hasOrigin_; }
    // Memory the feed holds, for the budget's figure in the bench.
    size_t Entries() const { return recent_.size() + overview_.size() + markers_.size(); }

  private:
    void Push(const ChartEntry& entry);
    void PushMark(const ChartEntry& entry);
    double SecondsOf(qint64 timeMs);

    size_t recentCapacity_;
    size_t overviewCapacity_;
    std::deque<ChartEntry> recent_;
    std::vector<ChartEntry> overview_;
    std::deque<ChartEntry> markers_;
    uint64_t nextSeq_ = 0;
    uint64_t markSeq_ = 0;
    int generation_ = 0;
    int stride_ = 1;    // the overview keeps every stride-th point
    int sinceKept_ = 0; // points passed over since the last one kept
    bool hasOrigin_ = false;
    qint64 originMs_ = 0;
    double lastSeconds_ = 0;
};

} // namespace zyrk
