#pragma once

#include "MonitorSample.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <vector>

namespace zyrk {

// What a row of the data log stands for. The event column carries the word, so that a
// spreadsheet shows it as it is and the reader knows what to expect in the other columns.
enum class LogEvent : uint8_t {
    Sample,   // one monitor reply; every value column filled
    Start,    // the first row; the note says what was loaded when recording began
    Marker,   // a numbered marker set by the technician
    NoAnswer, // the unit stopped answering; the value columns stay empty so plots break here
};

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
// 8601 with milliseconds and the local offset from UTC; numbers use a decimal point whatever
// the user's locale.
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
    QString error_;
};

// Why a file could not be read as a log, or where it stops being one.
enum class LogReadError : uint8_t {
    None,
    CannotOpen, // the system's words in detail
    NotALog,    // the first line is not this tool's header row
    FieldCount, // detail: the number of fields found
    BadValue,   // column names the column, detail the text found there
    OpenQuote,  // a quoted field runs to the end of the file
    CutOff,     // the last row stops before its line end (a crash while writing it)
};

struct LogReadResult {
    std::vector<LogRow> rows; // every row before the first damaged one
    LogReadError error = LogReadError::None;
    int line = 0;   // the line (from 1) where the damaged row starts
    QString column; // the column's header text (BadValue)
    QString detail;
};

// Loads a log written by LogWriter. Reading stops at the first row that is not what the
// writer writes; the rows before it are kept and the result names the line.
LogReadResult ReadLog(const QString& path);
LogReadResult ParseLog(const QByteArray& bytes);

// "ZYRK log 2026-12-10 14-05-33.csv": sorts by time in a folder listing and is a valid
// name on every system the tool runs on.
QString LogFileName(qint64 timeMs);

} // namespace zyrk
