#pragma once

#include "MonitorSample.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

namespace zyrk {

// What a row of the data log stands for. The event column carries the word, so that a
// spreadsheet shows it as it is and the reader knows what to expect in the other columns.
enum class LogEvent : uint8_t {
    Sample,   // one monitor reply; every value column filled
    Start,    // the first row; the note says what was loaded when recording began
    Marker,   // a numbered marker set by the technician
    NoAnswer, // the unit stopped answering; the value columns stay empty so plots break here
    // A transfer ran while recording: the unit was busy with it, not silent. The note names
    // the blocks ("blocks 1-7") or the block that failed ("block 3").
    Programmed,
    Read,
    Verified,
    ProgramFailed,
    ReadFailed,
    VerifyFailed,
};

// The word of the event column ("" for a sample row).
const char* LogEventWord(LogEvent event);
bool IsTransferEvent(LogEvent event);

struct LogRow {
    LogEvent event = LogEvent::Sample;
    qint64 timeMs = 0;  // wall clock, milliseconds since 1970 (UTC)
    qint64 sinceMs = 0; // milliseconds since the recording started
    int marker = 0;     // the marker's number (Marker rows)
    QString note;       // free text (Start and Marker rows)
    MonitorSample sample;
};

// The columns of the log, in file order; the header row names them with their units.
QStringList LogHeader();
int LogColumnCount();

// One row as CSV text (RFC 4180: comma separated, fields quoted only when they hold a comma,
// a quote or a line break, CR LF at the end), ready to be written in UTF-8. The time is ISO
// 8601 with milliseconds and the local offset from UTC. Every number is a whole number (the
// time since the start in milliseconds, "t [ms]"), so a spreadsheet reads the same values in
// every locale: a decimal point would be digit grouping to a German or Czech one. The note
// never holds control characters other than tab and line breaks.
QByteArray FormatLogRow(const LogRow& row);
QByteArray FormatLogHeader();
QByteArray CsvField(const QString& text);

// Writes a log as it goes. Every row goes to the system with its own unbuffered write, so a
// crash of the program or a pulled cable loses nothing that was already handed in, and every
// write is checked. On the first failure (disk full, device gone, no permission) the file is
// cut back to the last whole row and closed: what was written stays readable.
class LogWriter {
  public:
    LogWriter() = default;
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;
    ~LogWriter() { Close(); }

    // Creates the file (never overwriting one that exists) and writes the header row.
    bool Open(const QString& path);
    bool Append(const LogRow& row);
    // Hands what was written to the disk itself (fsync), so that a power cut loses nothing
    // written before. False, with ErrorText(), when the system refuses.
    bool Sync();
    // Whether the file is still where it was opened: false once it was unlinked, its folder
    // removed or another file put in its place.
    bool StillInPlace() const;
    // Everything written so far, read back from the open file (which the system keeps while
    // it is open, even when its name is gone).
    QByteArray WrittenBytes();
    void Close();

    bool IsOpen() const { return file_.isOpen(); }
    QString Path() const { return file_.fileName(); }
    // The system's words for the last failure.
    const QString& ErrorText() const { return error_; }
    qint64 BytesWritten() const { return goodSize_; }

  private:
    bool WriteAll(const QByteArray& bytes);

    QFile file_;
    qint64 goodSize_ = 0; // the file's size after the last whole row
#ifndef Q_OS_WIN
    unsigned long long device_ = 0; // which file was opened, to notice it replaced
    unsigned long long inode_ = 0;
#endif
    QString error_;
};

// Why a file could not be read as a log, or where it stops being one.
enum class LogReadError : uint8_t {
    None,
    CannotOpen, // the system's words in detail
    NotAFile,   // a folder, a pipe, a device: only regular files are read
    TooLarge,   // larger than kMaxLogBytes; detail the size in bytes
    Cancelled,  // the caller stopped the reading
    NotALog,    // the first line is not this tool's header row
    FieldCount, // detail: the number of fields found
    BadValue,   // column names the column, detail the text found there
    OpenQuote,  // a quoted field runs to the end of the file
    CutOff,     // the last row stops before its line end (a crash while writing it)
};

// The largest log the reader takes: some 8 million rows, far more than a working day.
constexpr qint64 kMaxLogBytes = qint64(1) << 30;
// A field is quoted in messages with at most this many characters.
constexpr int kExcerptChars = 40;

struct LogReadResult {
    std::vector<LogRow> rows; // every whole row; damaged ones are passed over
    // The first damaged row (or why the file could not be read at all).
    LogReadError error = LogReadError::None;
    int line = 0;   // the line (from 1) where the damaged row starts
    QString column; // the column's header text (BadValue)
    QString detail; // a short excerpt at most (kExcerptChars), never a whole field
    // Every damaged row passed over: its first line. Counted in full, listed up to
    // kMaxListedLines.
    static constexpr size_t kMaxListedLines = 1000;
    std::vector<int> skippedLines;
    qint64 skipped = 0;
    qint64 rowCount = 0; // whole rows read (also when the rows went to a callback)
    bool Fatal() const {
        return error == LogReadError::CannotOpen || error == LogReadError::NotAFile ||
               error == LogReadError::TooLarge || error == LogReadError::NotALog ||
               error == LogReadError::Cancelled;
    }
};

// Shared with a reading thread: how far it is, and a request to stop.
struct LogReadControl {
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancel{false};
};

// Loads a log written by LogWriter (and the older logs with "t [s]" in seconds). A row that
// is not what the writer writes is passed over and named in the result; the rows before and
// after it are kept. Only a regular file of at most kMaxLogBytes is read. The cost is linear
// in the file's size, whatever it holds.
LogReadResult ReadLog(const QString& path);
LogReadResult ParseLog(const QByteArray& bytes);
// The same, handing every row to onRow instead of keeping them (result.rows stays empty).
using LogRowSink = std::function<void(LogRow&&)>;
LogReadResult ReadLog(const QString& path, const LogRowSink& onRow, LogReadControl* control);
LogReadResult ParseLog(const QByteArray& bytes, const LogRowSink& onRow, LogReadControl* control);

// The first kExcerptChars characters of a field, control bytes shown as \xNN, "..." when cut.
QString Excerpt(QByteArrayView field);

// "ZYRK log 2026-12-10 14-05-33.csv": sorts by time in a folder listing and is a valid
// name on every system the tool runs on.
QString LogFileName(qint64 timeMs);

} // namespace zyrk
