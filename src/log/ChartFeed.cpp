#include "ChartFeed.h"

#include <algorithm>
#include <limits>

namespace zyrk {

namespace {
constexpr float kMvPerVolt = 1000.0f;
constexpr double kMsPerSecond = 1000.0;
} // namespace

ChartFeed::ChartFeed(size_t recentCapacity, size_t overviewCapacity)
    : recentCapacity_(std::max<size_t>(recentCapacity, 1)),
      overviewCapacity_(std::max<size_t>(overviewCapacity, 4)) {
    overview_.reserve(overviewCapacity_);
}

void ChartFeed::Reset(qint64 originMs) {
    recent_.clear();
    overview_.clear();
    markers_.clear();
    ++generation_;
    stride_ = 1;
    sinceKept_ = 0;
    hasOrigin_ = true;
    originMs_ = originMs;
    lastSeconds_ = 0;
}

std::array<float, kTraceCount> ChartFeed::Values(const MonitorSample& s) {
    return {static_cast<float>(s.rpm),
            static_cast<float>(s.tpPercent),
            static_cast<float>(s.supplyMv) / kMvPerVolt,
            static_cast<float>(s.servoDesiredMv[0]),
            static_cast<float>(s.servoMeasuredMv[0]),
            static_cast<float>(s.servoDesiredMv[1]),
            static_cast<float>(s.servoMeasuredMv[1])};
}

double ChartFeed::SecondsOf(qint64 timeMs) {
    if (!hasOrigin_) {
        hasOrigin_ = true;
        originMs_ = timeMs;
    }
    // The wall clock may be set back while the tool runs; the chart's time never runs back.
    const double seconds = static_cast<double>(timeMs - originMs_) / kMsPerSecond;
    lastSeconds_ = std::max(lastSeconds_, seconds);
    return lastSeconds_;
}

void ChartFeed::AddSample(const MonitorSample& sample) {
    ChartEntry e;
    e.kind = ChartEntry::Point;
    e.timeMs = sample.timeMs;
    e.seconds = SecondsOf(sample.timeMs);
    e.values = Values(sample);
    Push(e);
}

void ChartFeed::AddGap(qint64 timeMs) {
    if (recent_.empty() || recent_.back().kind == ChartEntry::Gap)
        return; // nothing to break, or already broken
    ChartEntry e;
    e.kind = ChartEntry::Gap;
    e.timeMs = timeMs;
    e.seconds = SecondsOf(timeMs);
    Push(e);
}

void ChartFeed::AddMarker(qint64 timeMs, int number) {
    ChartEntry e;
    e.kind = ChartEntry::Marker;
    e.event = LogEvent::Marker;
    e.marker = number;
    e.timeMs = timeMs;
    e.seconds = SecondsOf(timeMs);
    PushMark(e);
}

void ChartFeed::AddEvent(qint64 timeMs, LogEvent event, int block) {
    ChartEntry e;
    e.kind = ChartEntry::Marker;
    e.event = event;
    e.marker = block;
    e.timeMs = timeMs;
    e.seconds = SecondsOf(timeMs);
    PushMark(e);
}

void ChartFeed::PushMark(const ChartEntry& entry) {
    markers_.push_back(entry);
    ++markSeq_;
    if (markers_.size() > kMarkerCapacity)
        markers_.pop_front();
}

QString MarkLabel(const ChartEntry& mark) {
    const auto failed = [&mark](const char* letter) {
        return QString::fromLatin1(letter) + QStringLiteral("!%1").arg(mark.marker);
    };
    switch (mark.event) {
    case LogEvent::Start:
        return QStringLiteral("REC");
    case LogEvent::Programmed:
        return QStringLiteral("P");
    case LogEvent::Read:
        return QStringLiteral("R");
    case LogEvent::Verified:
        return QStringLiteral("V");
    case LogEvent::ProgramFailed:
        return failed("P");
    case LogEvent::ReadFailed:
        return failed("R");
    case LogEvent::VerifyFailed:
        return failed("V");
    default:
        return QStringLiteral("M%1").arg(mark.marker);
    }
}

void ChartFeed::Push(const ChartEntry& entry) {
    recent_.push_back(entry);
    ++nextSeq_;
    if (recent_.size() > recentCapacity_)
        recent_.pop_front();

    // The overview keeps every break, so the whole-run view shows the silences too.
    if (entry.kind == ChartEntry::Point && ++sinceKept_ < stride_)
        return;
    sinceKept_ = 0;
    if (overview_.size() >= overviewCapacity_) {
        // Full: keep every other point (and every break) and take points half as often.
        std::vector<ChartEntry> thinned;
        thinned.reserve(overviewCapacity_);
        bool keep = true;
        for (const ChartEntry& e : overview_) {
            if (e.kind != ChartEntry::Point || keep)
                thinned.push_back(e);
            if (e.kind == ChartEntry::Point)
                keep = !keep;
        }
        overview_.swap(thinned);
        stride_ *= 2;
        ++generation_;
    }
    overview_.push_back(entry);
}

ChartFeed ChartFeed::FromLog(const std::vector<LogRow>& rows) {
    ChartFeed feed = ForLog();
    for (const LogRow& row : rows)
        feed.AddLogRow(row);
    return feed;
}

ChartFeed ChartFeed::ForLog() {
    return ChartFeed(std::numeric_limits<size_t>::max(), kOverviewCapacity);
}

// The block a transfer row names in its note ("block 3"); 0 when it names none.
static int NoteBlock(const QString& note) {
    static const QString kBlock = QStringLiteral("block ");
    if (!note.startsWith(kBlock))
        return 0;
    return QStringView(note).mid(kBlock.size()).toInt();
}

void ChartFeed::AddLogRow(const LogRow& row) {
    if (!hasOrigin_)
        Reset(row.timeMs - row.sinceMs);
    // The log's own seconds, so the chart's axis reads as the file's "t [ms]" column, and its
    // own wall-clock time for the cursor.
    ChartEntry e;
    e.timeMs = row.timeMs;
    e.seconds = std::max(lastSeconds_, static_cast<double>(row.sinceMs) / kMsPerSecond);
    lastSeconds_ = e.seconds;
    switch (row.event) {
    case LogEvent::Sample:
        e.values = Values(row.sample);
        Push(e);
        break;
    case LogEvent::Marker:
        e.kind = ChartEntry::Marker;
        e.event = LogEvent::Marker;
        e.marker = row.marker;
        PushMark(e);
        break;
    case LogEvent::NoAnswer:
        if (!recent_.empty() && recent_.back().kind != ChartEntry::Gap) {
            e.kind = ChartEntry::Gap;
            Push(e);
        }
        break;
    case LogEvent::Start:
        break;
    case LogEvent::Programmed:
    case LogEvent::Read:
    case LogEvent::Verified:
    case LogEvent::ProgramFailed:
    case LogEvent::ReadFailed:
    case LogEvent::VerifyFailed:
        e.kind = ChartEntry::Marker;
        e.event = row.event;
        e.marker = NoteBlock(row.note);
        PushMark(e);
        break;
    }
}

} // namespace zyrk
