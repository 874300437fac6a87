#include "LogFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <array>
#include <cmath>
#include <limits>

namespace zyrk {

namespace {

constexpr int kMsPerSecond = 1000;

// Fixed columns before the values.
enum FixedColumn : int { ColTime, ColSeconds, ColEvent, ColMarker, ColNote, kFixedColumns };

const char* const kFixedHeader[kFixedColumns] = {"time (ISO 8601)", "t [s]", "event", "marker",
                                                 "note"};

// The words of the event column; the sample row leaves it empty so a spreadsheet filter on
// "event" finds the markers at once.
const char* EventWord(LogEvent event) {
    switch (event) {
    case LogEvent::Start:
        return "start";
    case LogEvent::Marker:
        return "marker";
    case LogEvent::NoAnswer:
        return "no answer";
    default:
        return "";
    }
}

// One value column: its header text, the range a value may take and how it maps onto the
// sample. The map cell is written counted from 1, as the window's rows and columns are read.
struct ValueColumn {
    const char* header;
    qint64 low;
    qint64 high;
    qint64 (*get)(const MonitorSample&);
    void (*set)(MonitorSample&, qint64);
};

constexpr qint64 kWord = 0xFFFF;
constexpr qint64 kByte = 0xFF;

template <typename T> T Narrow(qint64 v) {
    return static_cast<T>(v);
}

#define ZYRK_COL(header, low, high, field, type)                                                   \
    ValueColumn {                                                                                  \
        header, low, high, [](const MonitorSample& s) -> qint64 { return s.field; },               \
            [](MonitorSample& s, qint64 v) { s.field = Narrow<type>(v); }                          \
    }
#define ZYRK_CELL(header, field, servo)                                                            \
    ValueColumn {                                                                                  \
        header, 1, kByte + 1, [](const MonitorSample& s) -> qint64 { return s.field[servo] + 1; }, \
            [](MonitorSample& s, qint64 v) { s.field[servo] = Narrow<uint8_t>(v - 1); }            \
    }

const std::array<ValueColumn, 26> kValueColumns = {{
    ZYRK_COL("engine speed [RPM]", 0, kWord, rpm, uint16_t),
    ZYRK_COL("throttle [%]", 0, kByte, tpPercent, uint8_t),
    ZYRK_COL("throttle sensor [mV]", 0, kWord, tpsMv, uint16_t),
    ZYRK_COL("supply [mV]", 0, std::numeric_limits<int>::max(), supplyMv, int),
    ZYRK_COL("servo 1 desired [mV]", 0, kWord, servoDesiredMv[0], uint16_t),
    ZYRK_COL("servo 1 measured [mV]", 0, kWord, servoMeasuredMv[0], uint16_t),
    ZYRK_COL("servo 2 desired [mV]", 0, kWord, servoDesiredMv[1], uint16_t),
    ZYRK_COL("servo 2 measured [mV]", 0, kWord, servoMeasuredMv[1], uint16_t),
    ZYRK_COL("servo 1 state", 0, kByte, servoState[0], uint8_t),
    ZYRK_COL("servo 2 state", 0, kByte, servoState[1], uint8_t),
    ZYRK_COL("data error", 0, 1, dataError, bool),
    ZYRK_COL("programmings", 0, kWord, programCount, uint16_t),
    ZYRK_COL("saving countdown", 0, kWord, busyCountdown, uint16_t),
    ZYRK_COL("unit version", 0, kByte, unitVersion, uint8_t),
    ZYRK_CELL("servo 1 map row", liveRow, 0),
    ZYRK_CELL("servo 1 map column", liveColumn, 0),
    ZYRK_CELL("servo 2 map row", liveRow, 1),
    ZYRK_CELL("servo 2 map column", liveColumn, 1),
    ZYRK_COL("test 1", 0, kWord, test[0], uint16_t),
    ZYRK_COL("test 2", 0, kWord, test[1], uint16_t),
    ZYRK_COL("test 3", 0, kWord, test[2], uint16_t),
    ZYRK_COL("test 4", 0, kWord, test[3], uint16_t),
    ZYRK_COL("test 5", 0, kWord, test[4], uint16_t),
    ZYRK_COL("test 6", 0, kWord, test[5], uint16_t),
    ZYRK_COL("test 7", 0, kWord, test[6], uint16_t),
    ZYRK_COL("test 8", 0, kWord, test[7], uint16_t),
}};

#undef ZYRK_COL
#undef ZYRK_CELL

constexpr int kColumns = kFixedColumns + static_cast<int>(kValueColumns.size());

QByteArray IsoTime(qint64 timeMs) {
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(timeMs);
    const QDateTime withOffset =
        QDateTime::fromMSecsSinceEpoch(timeMs, Qt::OffsetFromUTC, local.offsetFromUtc());
    return withOffset.toString(Qt::ISODateWithMs).toLatin1();
}

QByteArray Seconds(qint64 ms) {
    const qint64 whole = ms / kMsPerSecond;
    const qint64 part = ms % kMsPerSecond;
    QByteArray out = QByteArray::number(whole);
    out += '.';
    out += QByteArray::number(part).rightJustified(3, '0');
    return out;
}

// --- Reading ----------------------------------------------------------------------------

// Splits the text into records by RFC 4180. A quoted field may hold commas, doubled quotes
// and line breaks; the line count follows the physical lines so that messages name the line
// a technician sees in an editor.
class CsvScanner {
  public:
    enum Status { Record, End, OpenQuote, StrayQuote, Unended };

    explicit CsvScanner(const QByteArray& bytes) : b_(bytes) {
        if (b_.startsWith("\xEF\xBB\xBF")) // a byte-order mark from an editor that re-saved it
            pos_ = 3;
    }

    Status Next(QList<QByteArray>& fields, int& startLine, int& badField) {
        fields.clear();
        // Blank lines carry nothing; they are passed over wherever they are.
        while (pos_ < b_.size() && (b_[pos_] == '\n' || b_[pos_] == '\r')) {
            if (b_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
        startLine = line_;
        if (pos_ >= b_.size())
            return End;
        QByteArray field;
        for (;;) {
            if (pos_ < b_.size() && b_[pos_] == '"') {
                ++pos_;
                for (;;) {
                    if (pos_ >= b_.size())
                        return OpenQuote;
                    const char c = b_[pos_++];
                    if (c == '"') {
                        if (pos_ < b_.size() && b_[pos_] == '"') {
                            field += '"';
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++line_;
                    field += c;
                }
                if (pos_ < b_.size() && b_[pos_] != ',' && b_[pos_] != '\r' && b_[pos_] != '\n') {
                    badField = static_cast<int>(fields.size());
                    return StrayQuote;
                }
            } else {
                const qsizetype from = pos_;
                while (pos_ < b_.size() && b_[pos_] != ',' && b_[pos_] != '\r' && b_[pos_] != '\n')
                    ++pos_;
                field = b_.mid(from, pos_ - from);
                if (field.contains('"')) {
                    badField = static_cast<int>(fields.size());
                    return StrayQuote;
                }
            }
            fields.append(field);
            field.clear();
            if (pos_ >= b_.size())
                return Unended; // the writer ends every row; a crash may have cut the last one
            const char c = b_[pos_++];
            if (c == ',')
                continue;
            if (c == '\r' && pos_ < b_.size() && b_[pos_] == '\n')
                ++pos_;
            ++line_;
            return Record;
        }
    }

  private:
    const QByteArray& b_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

bool ParseInteger(const QByteArray& text, qint64 low, qint64 high, qint64& out) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < low || v > high || text.startsWith('+') || text.startsWith(' '))
        return false;
    out = v;
    return true;
}

bool ParseSeconds(const QByteArray& text, qint64& ms) {
    const qsizetype dot = text.indexOf('.');
    const QByteArray whole = dot < 0 ? text : text.left(dot);
    const QByteArray part = dot < 0 ? QByteArray() : text.mid(dot + 1);
    qint64 w = 0;
    qint64 p = 0;
    if (whole.isEmpty() || !ParseInteger(whole, 0, std::numeric_limits<qint64>::max() / 10000, w))
        return false;
    if (dot >= 0 && (part.isEmpty() || part.size() > 3 || !ParseInteger(part, 0, 999, p)))
        return false;
    for (qsizetype i = part.size(); i < 3; ++i)
        p *= 10;
    ms = w * kMsPerSecond + p;
    return true;
}

bool ParseEvent(const QByteArray& text, LogEvent& event) {
    for (LogEvent e : {LogEvent::Sample, LogEvent::Start, LogEvent::Marker, LogEvent::NoAnswer}) {
        if (text == EventWord(e)) {
            event = e;
            return true;
        }
    }
    return false;
}

} // namespace

QStringList LogHeader() {
    QStringList out;
    for (const char* h : kFixedHeader)
        out << QString::fromLatin1(h);
    for (const ValueColumn& c : kValueColumns)
        out << QString::fromLatin1(c.header);
    return out;
}

int LogColumnCount() {
    return kColumns;
}

QByteArray CsvField(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n') && !utf8.contains('\r'))
        return utf8;
    utf8.replace("\"", "\"\"");
    return '"' + utf8 + '"';
}

QByteArray FormatLogHeader() {
    QByteArray out;
    for (const QString& h : LogHeader()) {
        if (!out.isEmpty())
            out += ',';
        out += CsvField(h);
    }
    return out + "\r\n";
}

QByteArray FormatLogRow(const LogRow& row) {
    QByteArray out;
    out.reserve(160);
    out += IsoTime(row.timeMs);
    out += ',';
    out += Seconds(std::max<qint64>(0, row.sinceMs));
    out += ',';
    out += EventWord(row.event);
    out += ',';
    if (row.event == LogEvent::Marker)
        out += QByteArray::number(row.marker);
    out += ',';
    out += CsvField(row.note);
    for (const ValueColumn& c : kValueColumns) {
        out += ',';
        if (row.event == LogEvent::Sample)
            out += QByteArray::number(c.get(row.sample));
    }
    out += "\r\n";
    return out;
}

// --- Writer -----------------------------------------------------------------------------

bool LogWriter::Open(const QString& path) {
    Close();
    error_.clear();
    goodSize_ = 0;
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        error_ = file_.errorString();
        return false;
    }
    if (!WriteAll(FormatLogHeader())) {
        // Nothing of the run is in it yet; a file with half a header is of no use to anyone.
        file_.remove();
        return false;
    }
    return true;
}

bool LogWriter::Append(const LogRow& row) {
    if (!file_.isOpen())
        return false;
    return WriteAll(FormatLogRow(row));
}

bool LogWriter::WriteAll(const QByteArray& bytes) {
    const qint64 written = file_.write(bytes);
    if (written == bytes.size() && file_.flush()) {
        goodSize_ += written;
        return true;
    }
    error_ = file_.errorString();
    if (error_.isEmpty() || file_.error() == QFileDevice::NoError)
        error_ = QStringLiteral("%1 of %2 bytes written").arg(written).arg(bytes.size());
    // Cut back to the last whole row: shrinking needs no space, so this works on a full disk.
    file_.resize(goodSize_);
    file_.close();
    return false;
}

void LogWriter::Close() {
    if (file_.isOpen())
        file_.close();
}

// --- Reader -----------------------------------------------------------------------------

LogReadResult ReadLog(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        LogReadResult result;
        result.error = LogReadError::CannotOpen;
        result.detail = file.errorString();
        return result;
    }
    return ParseLog(file.readAll());
}

LogReadResult ParseLog(const QByteArray& bytes) {
    LogReadResult result;
    CsvScanner scanner(bytes);
    QList<QByteArray> fields;
    int line = 1;
    int badField = 0;
    const QStringList header = LogHeader();

    auto fail = [&result](LogReadError error, int at, const QString& column = QString(),
                          const QString& detail = QString()) {
        result.error = error;
        result.line = at;
        result.column = column;
        result.detail = detail;
        return result;
    };

    CsvScanner::Status status = scanner.Next(fields, line, badField);
    if (status != CsvScanner::Record || fields.size() != kColumns)
        return fail(LogReadError::NotALog, line);
    for (int i = 0; i < kColumns; ++i) {
        if (QString::fromUtf8(fields[i]) != header[i])
            return fail(LogReadError::NotALog, line);
    }

    for (;;) {
        status = scanner.Next(fields, line, badField);
        switch (status) {
        case CsvScanner::End:
            return result;
        case CsvScanner::OpenQuote:
            return fail(LogReadError::OpenQuote, line);
        case CsvScanner::StrayQuote:
            return fail(LogReadError::BadValue, line, header.value(badField));
        case CsvScanner::Unended:
        case CsvScanner::Record:
            break;
        }
        if (status == CsvScanner::Unended)
            return fail(LogReadError::CutOff, line);
        if (fields.size() != kColumns)
            return fail(LogReadError::FieldCount, line, QString(), QString::number(fields.size()));
        auto bad = [&](int column) {
            return fail(LogReadError::BadValue, line, header[column],
                        QString::fromUtf8(fields[column]));
        };

        LogRow row;
        const QDateTime time =
            QDateTime::fromString(QString::fromLatin1(fields[ColTime]), Qt::ISODateWithMs);
        if (!time.isValid() || fields[ColTime].size() < 10)
            return bad(ColTime);
        row.timeMs = time.toMSecsSinceEpoch();
        if (!ParseSeconds(fields[ColSeconds], row.sinceMs))
            return bad(ColSeconds);
        if (!ParseEvent(fields[ColEvent], row.event))
            return bad(ColEvent);
        if (row.event == LogEvent::Marker) {
            qint64 marker = 0;
            if (!ParseInteger(fields[ColMarker], 1, std::numeric_limits<int>::max(), marker))
                return bad(ColMarker);
            row.marker = static_cast<int>(marker);
        } else if (!fields[ColMarker].isEmpty()) {
            return bad(ColMarker);
        }
        row.note = QString::fromUtf8(fields[ColNote]);
        for (int i = 0; i < static_cast<int>(kValueColumns.size()); ++i) {
            const int column = kFixedColumns + i;
            const ValueColumn& c = kValueColumns[static_cast<size_t>(i)];
            if (row.event != LogEvent::Sample) {
                if (!fields[column].isEmpty())
                    return bad(column);
                continue;
            }
            qint64 v = 0;
            if (!ParseInteger(fields[column], c.low, c.high, v))
                return bad(column);
            c.set(row.sample, v);
        }
        row.sample.timeMs = row.timeMs;
        result.rows.push_back(std::move(row));
    }
}

QString LogFileName(qint64 timeMs) {
    return QStringLiteral("ZYRK log %1.csv")
        .arg(
            QDateTime::fromMSecsSinceEpoch(timeMs).toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
}

} // namespace zyrk
