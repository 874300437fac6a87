#include "LogFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zyrk {

namespace {

constexpr int kMsPerSecond = 1000;

// Fixed columns before the values.
enum FixedColumn : int { ColTime, ColSince, ColEvent, ColMarker, ColNote, kFixedColumns };

const char* const kFixedHeader[kFixedColumns] = {"time (ISO 8601)", "t [ms]", "event", "marker",
                                                 "note"};
// Logs written before the time since the start was counted in whole milliseconds had it in
// seconds with a decimal point; they still open.
constexpr char kOldSinceHeader[] = "t [s]";

constexpr LogEvent kAllEvents[] = {
    LogEvent::Sample,     LogEvent::Start,       LogEvent::Marker,   LogEvent::NoAnswer,
    LogEvent::Programmed, LogEvent::Read,        LogEvent::Verified, LogEvent::ProgramFailed,
    LogEvent::ReadFailed, LogEvent::VerifyFailed};

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

// The note is the only free text; the writer keeps it to printable text and line breaks, so
// that the reader can take any other control byte for damage.
bool IsWrittenControl(unsigned char c) {
    return c == '\t' || c == '\n' || c == '\r';
}

QString CleanNote(const QString& note) {
    QString out = note;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && !IsWrittenControl(static_cast<unsigned char>(u))) || u == 0x7F)
            c = QLatin1Char(' ');
    }
    return out;
}

// --- Reading ----------------------------------------------------------------------------

// A quoted field longer than this is not one the writer wrote (only the note is ever quoted,
// and it names a file): the row is damaged, and the scan goes on at the next line. This also
// keeps the reader linear when a quote is never closed.
constexpr qsizetype kMaxQuotedBytes = 4096;

// Splits the text into records by RFC 4180. A quoted field may hold commas, doubled quotes
// and line breaks; the line count follows the physical lines so that messages name the line
// a technician sees in an editor. Fields are views into the text (quoted ones into a buffer
// of their own), so a row costs no allocation.
class CsvScanner {
  public:
    enum Status { Record, End, OpenQuote, StrayQuote, Unended };

    explicit CsvScanner(QByteArrayView bytes) : b_(bytes) {
        if (b_.startsWith("\xEF\xBB\xBF")) // a byte-order mark from an editor that re-saved it
            pos_ = 3;
    }

    qsizetype Pos() const { return pos_; }

    // fields holds at most kColumns + 1 views; fieldCount counts them all.
    Status Next(std::vector<QByteArrayView>& fields, qsizetype& fieldCount, int& startLine,
                int& badField) {
        fields.clear();
        fieldCount = 0;
        // Blank lines carry nothing; they are passed over wherever they are.
        while (pos_ < b_.size() && (b_[pos_] == '\n' || b_[pos_] == '\r')) {
            if (b_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
        startLine = line_;
        const qsizetype recordStart = pos_;
        if (pos_ >= b_.size())
            return End;
        const char* data = b_.data();
        const qsizetype size = b_.size();
        for (;;) {
            QByteArrayView field;
            if (pos_ < size && data[pos_] == '"') {
                ++pos_;
                QByteArray& buffer = quoted_[static_cast<size_t>(
                    std::min<qsizetype>(fieldCount, static_cast<qsizetype>(quoted_.size()) - 1))];
                buffer.clear();
                const qsizetype from = pos_;
                int lines = 0;
                for (;;) {
                    if (pos_ >= size || pos_ - from > kMaxQuotedBytes) {
                        ResumeAfterLine(recordStart, startLine);
                        return OpenQuote;
                    }
                    const char c = data[pos_++];
                    if (c == '"') {
                        if (pos_ < size && data[pos_] == '"') {
                            buffer += '"';
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++lines;
                    buffer += c;
                }
                line_ += lines;
                if (pos_ < size && data[pos_] != ',' && data[pos_] != '\r' && data[pos_] != '\n') {
                    badField = static_cast<int>(fieldCount);
                    SkipLine();
                    return StrayQuote;
                }
                field = QByteArrayView(buffer);
            } else {
                const qsizetype from = pos_;
                bool quote = false;
                while (pos_ < size) {
                    const char c = data[pos_];
                    if (c == ',' || c == '\r' || c == '\n')
                        break;
                    quote |= c == '"';
                    ++pos_;
                }
                if (quote) {
                    badField = static_cast<int>(fieldCount);
                    SkipLine();
                    return StrayQuote;
                }
                field = QByteArrayView(data + from, pos_ - from);
            }
            if (fieldCount <= kColumns)
                fields.push_back(field);
            ++fieldCount;
            if (pos_ >= size)
                return Unended; // the writer ends every row; a crash may have cut the last one
            const char c = data[pos_++];
            if (c == ',')
                continue;
            if (c == '\r' && pos_ < size && data[pos_] == '\n')
                ++pos_;
            ++line_;
            return Record;
        }
    }

  private:
    // Goes on after the end of the physical line where the damaged record began.
    void ResumeAfterLine(qsizetype recordStart, int startLine) {
        const qsizetype end = b_.indexOf('\n', recordStart);
        pos_ = end < 0 ? b_.size() : end + 1;
        line_ = startLine + 1;
    }
    void SkipLine() {
        const qsizetype end = b_.indexOf('\n', pos_);
        pos_ = end < 0 ? b_.size() : end + 1;
        if (end >= 0)
            ++line_;
    }

    QByteArrayView b_;
    qsizetype pos_ = 0;
    int line_ = 1;
    std::array<QByteArray, kColumns + 1> quoted_;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Only what the writer writes: digits, a minus where the column can be negative. No sign,
// space or other byte, and nothing after the digits.
bool ParseInteger(QByteArrayView text, qint64 low, qint64 high, qint64& out) {
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == '-';
    if (negative && low >= 0)
        return false;
    if (negative)
        ++i;
    constexpr qsizetype kMaxDigits = 18; // below qint64's limit, above every column's range
    if (text.size() == i || text.size() - i > kMaxDigits)
        return false;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return false;
        v = v * 10 + (text[i] - '0');
    }
    if (negative)
        v = -v;
    if (v < low || v > high)
        return false;
    out = v;
    return true;
}

constexpr qint64 kMaxSinceMs = std::numeric_limits<qint64>::max() / 10000;

// The older logs' seconds: digits, a point and one to three digits.
bool ParseSeconds(QByteArrayView text, qint64& ms) {
    const qsizetype dot = text.indexOf('.');
    const QByteArrayView whole = dot < 0 ? text : text.first(dot);
    const QByteArrayView part = dot < 0 ? QByteArrayView() : text.sliced(dot + 1);
    qint64 w = 0;
    qint64 p = 0;
    if (!ParseInteger(whole, 0, kMaxSinceMs / kMsPerSecond, w))
        return false;
    if (dot >= 0 && (part.isEmpty() || part.size() > 3 || !ParseInteger(part, 0, 999, p)))
        return false;
    for (qsizetype i = part.size(); i < 3; ++i)
        p *= 10;
    ms = w * kMsPerSecond + p;
    return true;
}

bool ParseEvent(QByteArrayView text, LogEvent& event) {
    for (LogEvent e : kAllEvents) {
        if (text == QByteArrayView(LogEventWord(e))) {
            event = e;
            return true;
        }
    }
    return false;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
qint64 DaysFromCivil(qint64 y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool Digits(QByteArrayView t, qsizetype at, qsizetype n, int& out) {
    int v = 0;
    for (qsizetype i = at; i < at + n; ++i) {
        if (!IsDigit(t[i]))
            return false;
        v = v * 10 + (t[i] - '0');
    }
    out = v;
    return true;
}

// The writer's own form, "2026-12-10T14:05:33.123+01:00" (or "Z"), read directly: a
// hundred thousand rows through QDateTime's general parser take most of a log's loading.
bool ParseWrittenTime(QByteArrayView t, qint64& ms) {
    constexpr qsizetype kBase = 23; // up to the milliseconds
    if (t.size() != kBase + 1 && t.size() != kBase + 6)
        return false;
    if (t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':' || t[19] != '.')
        return false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milli = 0;
    if (!Digits(t, 0, 4, year) || !Digits(t, 5, 2, month) || !Digits(t, 8, 2, day) ||
        !Digits(t, 11, 2, hour) || !Digits(t, 14, 2, minute) || !Digits(t, 17, 2, second) ||
        !Digits(t, 20, 3, milli))
        return false;
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1] ||
        (month == 2 && day == 29 && !leap) || hour > 23 || minute > 59 || second > 59)
        return false;
    int offsetMinutes = 0;
    if (t.size() == kBase + 1) {
        if (t[kBase] != 'Z')
            return false;
    } else {
        const char sign = t[kBase];
        int oh = 0, om = 0;
        if ((sign != '+' && sign != '-') || t[kBase + 3] != ':' || !Digits(t, kBase + 1, 2, oh) ||
            !Digits(t, kBase + 4, 2, om) || oh > 23 || om > 59)
            return false;
        offsetMinutes = (sign == '-' ? -1 : 1) * (oh * 60 + om);
    }
    constexpr qint64 kMsPerMinute = 60000;
    constexpr qint64 kMsPerDay = 86400000;
    ms = DaysFromCivil(year, month, day) * kMsPerDay +
         ((hour * 60 + minute) * 60 + second) * qint64(kMsPerSecond) + milli -
         offsetMinutes * kMsPerMinute;
    return true;
}

bool IsTimeByte(char c) {
    return IsDigit(c) || c == '-' || c == ':' || c == 'T' || c == '.' || c == '+' || c == 'Z';
}

bool ParseTime(QByteArrayView field, qint64& ms) {
    if (ParseWrittenTime(field, ms))
        return true;
    // Other forms of ISO 8601 a spreadsheet may have saved it in, but no byte outside them.
    if (field.size() < 10 || field.size() > 40 ||
        !std::all_of(field.begin(), field.end(), IsTimeByte))
        return false;
    const QDateTime time = QDateTime::fromString(QString::fromLatin1(field), Qt::ISODateWithMs);
    if (!time.isValid())
        return false;
    ms = time.toMSecsSinceEpoch();
    return true;
}

bool ParseNote(QByteArrayView field, QString& note) {
    if (field.isEmpty()) {
        note.clear();
        return true;
    }
    for (char c : field) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && !IsWrittenControl(u)) || u == 0x7F)
            return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    note = decoder(field);
    return !decoder.hasError();
}

} // namespace

const char* LogEventWord(LogEvent event) {
    // The sample row leaves the event empty so a spreadsheet filter on "event" finds the rest.
    switch (event) {
    case LogEvent::Sample:
        return "";
    case LogEvent::Start:
        return "start";
    case LogEvent::Marker:
        return "marker";
    case LogEvent::NoAnswer:
        return "no answer";
    case LogEvent::Programmed:
        return "programmed";
    case LogEvent::Read:
        return "read";
    case LogEvent::Verified:
        return "verified";
    case LogEvent::ProgramFailed:
        return "program failed";
    case LogEvent::ReadFailed:
        return "read failed";
    case LogEvent::VerifyFailed:
        return "verify failed";
    }
    return "";
}

bool IsTransferEvent(LogEvent event) {
    return event >= LogEvent::Programmed;
}

QString Excerpt(QByteArrayView field) {
    const qsizetype n = std::min<qsizetype>(field.size(), kExcerptChars);
    QByteArray shown;
    for (qsizetype i = 0; i < n; ++i) {
        const auto u = static_cast<unsigned char>(field[i]);
        if (u < 0x20 || u == 0x7F)
            shown += QByteArray("\\x") + QByteArray::number(u, 16).rightJustified(2, '0');
        else
            shown += field[i];
    }
    QString out = QString::fromUtf8(shown);
    if (field.size() > n)
        out += QStringLiteral("...");
    return out;
}

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
    out += QByteArray::number(std::max<qint64>(0, row.sinceMs));
    out += ',';
    out += LogEventWord(row.event);
    out += ',';
    if (row.event == LogEvent::Marker)
        out += QByteArray::number(row.marker);
    out += ',';
    out += CsvField(CleanNote(row.note));
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
    // Read and write: what was written can be read back from the open file should its name
    // be taken away while recording.
    if (!file_.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        error_ = file_.errorString();
        return false;
    }
#ifndef Q_OS_WIN
    struct stat st {};
    if (::fstat(file_.handle(), &st) == 0) {
        device_ = static_cast<unsigned long long>(st.st_dev);
        inode_ = static_cast<unsigned long long>(st.st_ino);
    }
#endif
    if (!WriteAll(FormatLogHeader())) {
        // Nothing of the run is in it yet; a file with half a header is of no use to anyone.
        file_.remove();
        return false;
    }
#ifndef Q_OS_WIN
    // The new name itself lasts a power cut only once its folder is on the disk.
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int dirFd = ::open(folder.constData(), O_RDONLY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
#endif
    return true;
}

bool LogWriter::Append(const LogRow& row) {
    if (!file_.isOpen())
        return false;
    return WriteAll(FormatLogRow(row));
}

bool LogWriter::Sync() {
    if (!file_.isOpen())
        return false;
#ifdef Q_OS_WIN
    const bool ok = ::_commit(file_.handle()) == 0;
#else
    const bool ok = ::fsync(file_.handle()) == 0;
#endif
    if (!ok)
        error_ = QString::fromLocal8Bit(std::strerror(errno));
    return ok;
}

bool LogWriter::StillInPlace() const {
    if (!file_.isOpen())
        return false;
#ifdef Q_OS_WIN
    // An open file cannot be deleted there without the tool's consent; its folder is gone
    // only with it.
    return QFileInfo::exists(file_.fileName());
#else
    struct stat open {};
    struct stat named {};
    if (::fstat(file_.handle(), &open) != 0 || open.st_nlink == 0)
        return false;
    if (::stat(QFile::encodeName(file_.fileName()).constData(), &named) != 0)
        return false;
    return static_cast<unsigned long long>(named.st_dev) == device_ &&
           static_cast<unsigned long long>(named.st_ino) == inode_;
#endif
}

QByteArray LogWriter::WrittenBytes() {
    if (!file_.isOpen() || !file_.seek(0))
        return QByteArray();
    QByteArray bytes = file_.read(goodSize_);
    file_.seek(goodSize_);
    return bytes;
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
    if (file_.isOpen()) {
        Sync();
        file_.close();
    }
}

// --- Reader -----------------------------------------------------------------------------

namespace {

// Reads a regular file of at most kMaxLogBytes in pieces, so that a cancel is noticed and
// a file that grows while it is read is still cut at the limit.
LogReadError ReadBytes(const QString& path, QByteArray& bytes, QString& detail,
                       LogReadControl* control) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.exists()) {
        file.open(QIODevice::ReadOnly); // for the system's words
        detail = file.errorString();
        return LogReadError::CannotOpen;
    }
    // A pipe would block the reading forever, a device never end: only regular files.
    if (!info.isFile())
        return LogReadError::NotAFile;
    if (info.size() > kMaxLogBytes) {
        detail = QString::number(info.size());
        return LogReadError::TooLarge;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        detail = file.errorString();
        return LogReadError::CannotOpen;
    }
    constexpr qint64 kPiece = qint64(4) << 20;
    const qint64 expected = info.size();
    if (control)
        control->total = expected * 2; // reading is the first half of the work, parsing the rest
    bytes.resize(expected);
    qint64 have = 0;
    for (;;) {
        if (control && control->cancel)
            return LogReadError::Cancelled;
        if (have == bytes.size()) {
            if (file.atEnd() || bytes.size() >= kMaxLogBytes)
                break;
            bytes.resize(std::min(kMaxLogBytes + 1, bytes.size() + kPiece));
        }
        const qint64 n = file.read(bytes.data() + have, std::min(kPiece, bytes.size() - have));
        if (n < 0) {
            detail = file.errorString();
            return LogReadError::CannotOpen;
        }
        if (n == 0)
            break;
        have += n;
        if (control)
            control->done = std::min(have, expected);
    }
    bytes.resize(have);
    if (have > kMaxLogBytes) {
        detail = QString::number(have);
        return LogReadError::TooLarge;
    }
    return LogReadError::None;
}

} // namespace

LogReadResult ReadLog(const QString& path) {
    LogReadResult result;
    const LogRowSink keep = [&result](LogRow&& row) { result.rows.push_back(std::move(row)); };
    LogReadResult read = ReadLog(path, keep, nullptr);
    read.rows = std::move(result.rows);
    return read;
}

LogReadResult ReadLog(const QString& path, const LogRowSink& onRow, LogReadControl* control) {
    QByteArray bytes;
    QString detail;
    const LogReadError error = ReadBytes(path, bytes, detail, control);
    if (error != LogReadError::None) {
        LogReadResult result;
        result.error = error;
        result.detail = detail;
        return result;
    }
    return ParseLog(bytes, onRow, control);
}

LogReadResult ParseLog(const QByteArray& bytes) {
    LogReadResult result;
    const LogRowSink keep = [&result](LogRow&& row) { result.rows.push_back(std::move(row)); };
    LogReadResult read = ParseLog(bytes, keep, nullptr);
    read.rows = std::move(result.rows);
    return read;
}

LogReadResult ParseLog(const QByteArray& bytes, const LogRowSink& onRow, LogReadControl* control) {
    LogReadResult result;
    CsvScanner scanner(bytes);
    std::vector<QByteArrayView> fields;
    fields.reserve(kColumns + 1);
    qsizetype fieldCount = 0;
    int line = 1;
    int badField = 0;
    const QStringList header = LogHeader();
    // Where the progress starts: after the reading when the file was read, else at zero.
    const qint64 base = control && control->total > 0 ? control->total / 2 : 0;
    if (control && control->total == 0)
        control->total = bytes.size();

    // A damaged row is passed over; the first one is described, every one is counted.
    auto skip = [&result](LogReadError error, int at, const QString& column = QString(),
                          const QString& detail = QString()) {
        if (result.skipped == 0) {
            result.error = error;
            result.line = at;
            result.column = column;
            result.detail = detail;
        }
        ++result.skipped;
        if (result.skippedLines.size() < LogReadResult::kMaxListedLines)
            result.skippedLines.push_back(at);
    };

    CsvScanner::Status status = scanner.Next(fields, fieldCount, line, badField);
    bool secondsColumn = false;
    bool isHeader = status == CsvScanner::Record && fieldCount == kColumns;
    for (int i = 0; isHeader && i < kColumns; ++i) {
        const QByteArrayView text = fields[static_cast<size_t>(i)];
        if (i == ColSince && text == QByteArrayView(kOldSinceHeader))
            secondsColumn = true;
        else if (text != QByteArrayView(header[i].toLatin1()))
            isHeader = false;
    }
    if (!isHeader) {
        result.error = LogReadError::NotALog;
        result.line = line;
        return result;
    }

    for (qint64 rowsSinceCheck = 0;; ++rowsSinceCheck) {
        constexpr qint64 kCheckEvery = 1024;
        if (control && rowsSinceCheck >= kCheckEvery) {
            rowsSinceCheck = 0;
            control->done = base + scanner.Pos();
            if (control->cancel) {
                result.error = LogReadError::Cancelled;
                return result;
            }
        }
        status = scanner.Next(fields, fieldCount, line, badField);
        switch (status) {
        case CsvScanner::End:
            if (control)
                control->done = base + bytes.size();
            return result;
        case CsvScanner::OpenQuote:
            skip(LogReadError::OpenQuote, line);
            continue;
        case CsvScanner::StrayQuote:
            skip(LogReadError::BadValue, line, header.value(badField));
            continue;
        case CsvScanner::Unended:
            // The writer ends every row: a crash cut this one (it is the last in the file).
            skip(LogReadError::CutOff, line);
            continue;
        case CsvScanner::Record:
            break;
        }
        if (fieldCount != kColumns) {
            skip(LogReadError::FieldCount, line, QString(), QString::number(fieldCount));
            continue;
        }
        const auto field = [&fields](int column) { return fields[static_cast<size_t>(column)]; };
        int badColumn = -1;
        LogRow row;
        if (!ParseTime(field(ColTime), row.timeMs))
            badColumn = ColTime;
        else if (secondsColumn ? !ParseSeconds(field(ColSince), row.sinceMs)
                               : !ParseInteger(field(ColSince), 0, kMaxSinceMs, row.sinceMs))
            badColumn = ColSince;
        else if (!ParseEvent(field(ColEvent), row.event))
            badColumn = ColEvent;
        if (badColumn < 0) {
            if (row.event == LogEvent::Marker) {
                qint64 marker = 0;
                if (ParseInteger(field(ColMarker), 1, std::numeric_limits<int>::max(), marker))
                    row.marker = static_cast<int>(marker);
                else
                    badColumn = ColMarker;
            } else if (!field(ColMarker).isEmpty()) {
                badColumn = ColMarker;
            }
        }
        if (badColumn < 0 && !ParseNote(field(ColNote), row.note))
            badColumn = ColNote;
        for (int i = 0; badColumn < 0 && i < static_cast<int>(kValueColumns.size()); ++i) {
            const int column = kFixedColumns + i;
            const ValueColumn& c = kValueColumns[static_cast<size_t>(i)];
            if (row.event != LogEvent::Sample) {
                if (!field(column).isEmpty())
                    badColumn = column;
                continue;
            }
            qint64 v = 0;
            if (!ParseInteger(field(column), c.low, c.high, v))
                badColumn = column;
            else
                c.set(row.sample, v);
        }
        if (badColumn >= 0) {
            skip(LogReadError::BadValue, line, header[badColumn], Excerpt(field(badColumn)));
            continue;
        }
        row.sample.timeMs = row.timeMs;
        ++result.rowCount;
        onRow(std::move(row));
    }
}

QString LogFileName(qint64 timeMs) {
    return QStringLiteral("ZYRK log %1.csv")
        .arg(
            QDateTime::fromMSecsSinceEpoch(timeMs).toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
}

} // namespace zyrk
