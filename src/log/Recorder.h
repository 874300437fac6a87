#pragma once

#include "ChartFeed.h"
#include "LogFile.h"
#include "MonitorSample.h"

#include <QString>

namespace zyrk {

// Silence longer than this breaks the curves and puts a "no answer" row in the log: more
// than three of the unit's monitor periods (six ticks of 55 ms), so one late reply does not.
constexpr qint64 kNoAnswerMs = 1200;
// How often the rows written are handed to the disk itself (and at stop).
constexpr qint64 kSyncMs = 2000;

// Takes every sample the link hands out: feeds the chart always, and the log while recording.
// Widget-free and clock-free: the caller passes the time, so tests drive it without waiting.
class Recorder {
  public:
    enum class Failure : uint8_t {
        None,
        Folder, // the log folder cannot be made
        Create, // the file cannot be created
        Write,  // a write failed while recording; recording stopped, the rows written kept
    };

    explicit Recorder(ChartFeed& feed) : feed_(feed) {}

    // Starts a new log named by the time in folder (made when missing). The note goes into
    // the start row. False, with Failure() and ErrorText() telling why, when it cannot start.
    bool Start(const QString& folder, qint64 nowMs, const QString& note = QString());
    bool StartFile(const QString& path, qint64 nowMs, const QString& note = QString());
    void Stop();

    void AddSample(const MonitorSample& sample);
    // Adds the next numbered marker to the log and the chart; 0 when not recording.
    int AddMarker(qint64 nowMs);
    // Notices a unit that stopped answering; call it often (the window's timer).
    void Tick(qint64 nowMs);

    bool Recording() const { return writer_.IsOpen(); }
    qint64 Rows() const { return rows_; } // sample rows written in this recording
    int Markers() const { return markers_; }
    qint64 ElapsedMs(qint64 nowMs) const { return Recording() ? nowMs - startMs_ : 0; }
    const QString& FilePath() const { return path_; }
    Failure LastFailure() const { return failure_; }
    const QString& ErrorText() const { return error_; }
    // Set when a write failure stopped the recording; cleared by reading it, so the window
    // reports it once.
    bool TakeStoppedByFailure();

  private:
    void Write(const LogRow& row);
    void MarkGap(qint64 atMs);

    ChartFeed& feed_;
    LogWriter writer_;
    QString path_;
    qint64 startMs_ = 0;
    qint64 lastSyncMs_ = 0;
    qint64 rows_ = 0;
    int markers_ = 0;
    bool haveSample_ = false;
    qint64 lastSampleMs_ = 0;
    bool silent_ = false; // a gap was marked and no sample has come since
    Failure failure_ = Failure::None;
    QString error_;
    bool stoppedByFailure_ = false;
};

} // namespace zyrk
