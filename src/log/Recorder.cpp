#include "Recorder.h"

#include <QDir>
#include <QFileInfo>

namespace zyrk {

namespace {
// Two recordings started within the same second get " (2)", " (3)" ... after the time.
constexpr int kMaxSameSecond = 100;
} // namespace

bool Recorder::Start(const QString& folder, qint64 nowMs, const QString& note) {
    failure_ = Failure::None;
    error_.clear();
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.mkpath(QStringLiteral("."))) {
        failure_ = Failure::Folder;
        path_ = folder;
        return false;
    }
    const QString name = LogFileName(nowMs);
    QString path = dir.filePath(name);
    for (int n = 2; QFileInfo::exists(path) && n <= kMaxSameSecond; ++n)
        path =
            dir.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(" (%1).csv").arg(n));
    return StartFile(path, nowMs, note);
}

bool Recorder::StartFile(const QString& path, qint64 nowMs, const QString& note) {
    Stop();
    failure_ = Failure::None;
    error_.clear();
    stoppedByFailure_ = false;
    path_ = path;
    if (!writer_.Open(path)) {
        failure_ = Failure::Create;
        error_ = writer_.ErrorText();
        return false;
    }
    startMs_ = nowMs;
    rows_ = 0;
    markers_ = 0;
    lastSyncMs_ = nowMs;
    // The chart keeps what it shows; the recording's start is a mark on it.
    feed_.AddEvent(nowMs, LogEvent::Start, 0);
    LogRow start;
    start.event = LogEvent::Start;
    start.timeMs = nowMs;
    start.note = note;
    Write(start);
    return Recording();
}

void Recorder::Stop() {
    writer_.Close();
}

bool Recorder::TakeStoppedByFailure() {
    const bool was = stoppedByFailure_;
    stoppedByFailure_ = false;
    return was;
}

void Recorder::Write(const LogRow& row) {
    if (!writer_.IsOpen())
        return;
    if (writer_.Append(row))
        return;
    // The writer has cut the file back to its last whole row and closed it.
    failure_ = Failure::Write;
    error_ = writer_.ErrorText();
    stoppedByFailure_ = true;
}

void Recorder::MarkGap(qint64 atMs) {
    silent_ = true;
    feed_.AddGap(atMs);
    LogRow row;
    row.event = LogEvent::NoAnswer;
    row.timeMs = atMs;
    row.sinceMs = atMs - startMs_;
    Write(row);
}

void Recorder::AddSample(const MonitorSample& sample) {
    // A silence that Tick did not see (no tick ran in it) still breaks the curves.
    if (haveSample_ && !silent_ && sample.timeMs - lastSampleMs_ > kNoAnswerMs)
        MarkGap(lastSampleMs_ + kNoAnswerMs);
    haveSample_ = true;
    silent_ = false;
    lastSampleMs_ = sample.timeMs;
    feed_.AddSample(sample);
    if (!Recording())
        return;
    LogRow row;
    row.timeMs = sample.timeMs;
    row.sinceMs = sample.timeMs - startMs_;
    row.sample = sample;
    Write(row);
    if (Recording())
        ++rows_;
}

int Recorder::AddMarker(qint64 nowMs) {
    if (!Recording())
        return 0;
    const int number = ++markers_;
    feed_.AddMarker(nowMs, number);
    LogRow row;
    row.event = LogEvent::Marker;
    row.timeMs = nowMs;
    row.sinceMs = nowMs - startMs_;
    row.marker = number;
    Write(row);
    return number;
}

void Recorder::Tick(qint64 nowMs) {
    if (haveSample_ && !silent_ && nowMs - lastSampleMs_ > kNoAnswerMs)
        MarkGap(nowMs);
    // At most kSyncMs of rows are lost to a power cut.
    if (Recording() && nowMs - lastSyncMs_ >= kSyncMs) {
        lastSyncMs_ = nowMs;
        writer_.Sync();
    }
}

} // namespace zyrk
