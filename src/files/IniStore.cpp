#include "IniStore.h"

#include "FileWrite.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QStringDecoder>
#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>

namespace zyrk {

namespace {

constexpr char kLineEnd[] = "\r\n";
// A UTF-8 byte order mark that an editor may have put at the start; kept as found.
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr int kDecimalBase = 10;

// windows-1250, the code page of the Czech Windows that earlier versions of the tool wrote
// their settings in, for the bytes 0x80..0xFF. The five bytes the code page leaves undefined
// map to the C1 control of the same number, as Windows itself maps them, so every byte
// survives a round trip.
constexpr char16_t kCp1250High[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

// The text encoding of one file: UTF-8 for every file this version makes, windows-1250 for
// a file from an earlier version that is not valid UTF-8, kept so that its other lines and
// the programs that still read it see what they always saw.
enum class Encoding { Utf8, Cp1250 };

QString Decode(const QByteArray& bytes, Encoding encoding) {
    if (encoding == Encoding::Utf8) {
        // U+FEFF inside the file is a character like any other: only the start of the file
        // can hold a byte-order mark, and Load has taken that off already.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte < 0x80 ? QChar(byte) : QChar(kCp1250High[byte - 0x80]);
    }
    return text;
}

// Empty when the text holds a character the encoding has no byte for.
std::optional<QByteArray> Encode(const QString& text, Encoding encoding) {
    if (encoding == Encoding::Utf8)
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            bytes += static_cast<char>(u);
            continue;
        }
        const char16_t* end = std::end(kCp1250High);
        const char16_t* hit = std::find(std::begin(kCp1250High), end, u);
        if (hit == end)
            return std::nullopt;
        bytes += static_cast<char>(0x80 + (hit - std::begin(kCp1250High)));
    }
    return bytes;
}

bool IsUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes); // the decoding runs only when it is taken
    return !decoder.hasError();
}

// The file as lines of raw bytes. Lines are kept as bytes, not decoded text, so a line in
// another encoding (an old file, a hand edit) is written back exactly as it was read.
struct Document {
    bool bom = false;
    Encoding encoding = Encoding::Utf8;
    QList<QByteArray> lines;

    QString Text(const QByteArray& bytes) const { return Decode(bytes, encoding); }
    // The bytes of a name or value in the file's encoding. A character the file's code page
    // cannot hold turns the whole file into UTF-8 rather than lose the character.
    QByteArray Bytes(const QString& text) {
        if (std::optional<QByteArray> bytes = Encode(text, encoding))
            return *bytes;
        for (QByteArray& line : lines)
            line = Decode(line, encoding).toUtf8();
        encoding = Encoding::Utf8;
        return text.toUtf8();
    }
};

struct Line {
    enum class Kind { Other, Header, Key };
    Kind kind = Kind::Other;
    QString name;              // section or key name, trimmed
    qsizetype valueStart = -1; // for a key: the byte after its '='
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

Line ParseLine(const Document& doc, const QByteArray& raw) {
    Line line;
    const QByteArray text = raw.trimmed();
    if (text.isEmpty() || text.startsWith(';') || text.startsWith('#'))
        return line;
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        if (close > 0) {
            line.kind = Line::Kind::Header;
            line.name = doc.Text(text.mid(1, close - 1).trimmed());
        }
        return line;
    }
    const qsizetype equals = raw.indexOf('=');
    if (equals < 0)
        return line;
    const QByteArray key = raw.left(equals).trimmed();
    if (key.isEmpty())
        return line;
    line.kind = Line::Kind::Key;
    line.name = doc.Text(key);
    line.valueStart = equals + 1;
    return line;
}

QString ValueOf(const Document& doc, const QByteArray& raw, const Line& line) {
    QByteArray value = raw.mid(line.valueStart).trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.mid(1, value.size() - 2);
    return doc.Text(value);
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// False only when the file exists and cannot be read: a missing file is an empty document.
bool Load(const QString& path, Document& doc) {
    doc = Document();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    if (data.startsWith(kUtf8Bom)) {
        doc.bom = true;
        data.remove(0, qstrlen(kUtf8Bom));
    }
    if (data.isEmpty())
        return true;
    if (!IsUtf8(data))
        doc.encoding = Encoding::Cp1250;
    doc.lines = data.split('\n');
    // A final line end leaves an empty piece behind it that is not a line of the file.
    if (data.endsWith('\n'))
        doc.lines.removeLast();
    for (QByteArray& line : doc.lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return true;
}

bool Save(const QString& path, const Document& doc) {
    QByteArray data;
    if (doc.bom)
        data += kUtf8Bom;
    for (const QByteArray& line : doc.lines) {
        data += line;
        data += kLineEnd;
    }
    return ReplaceFile(path, data);
}

// Index of the first header line naming section, or -1.
qsizetype FindSection(const Document& doc, const QString& section) {
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const Line line = ParseLine(doc, doc.lines[i]);
        if (line.kind == Line::Kind::Header && SameName(line.name, section))
            return i;
    }
    return -1;
}

// One past the last line of the section whose header is at index header.
qsizetype SectionEnd(const Document& doc, qsizetype header) {
    qsizetype i = header + 1;
    while (i < doc.lines.size() && ParseLine(doc, doc.lines[i]).kind != Line::Kind::Header)
        ++i;
    return i;
}

std::optional<QString> Find(const QString& path, const QString& section, const QString& key) {
    Document doc;
    if (!Load(path, doc))
        return std::nullopt;
    const qsizetype header = FindSection(doc, section.trimmed());
    if (header < 0)
        return std::nullopt;
    const qsizetype end = SectionEnd(doc, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line line = ParseLine(doc, doc.lines[i]);
        if (line.kind == Line::Kind::Key && SameName(line.name, key.trimmed()))
            return ValueOf(doc, doc.lines[i], line);
    }
    return std::nullopt;
}

// The leading integer of text the way GetPrivateProfileInt takes it: blanks, an optional
// sign, then digits up to the first non-digit. Unlike that function, a value without digits
// or out of range is no number at all, so the caller's default holds.
std::optional<int> LeadingInt(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 kLargestMagnitude = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    bool anyDigit = false;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        anyDigit = true;
        magnitude = magnitude * kDecimalBase + (text[i].unicode() - u'0');
        if (magnitude > kLargestMagnitude)
            return std::nullopt;
    }
    if (!anyDigit)
        return std::nullopt;
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

bool HasLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

bool ValidSection(const QString& section) {
    return !section.trimmed().isEmpty() && !HasLineBreak(section) && !section.contains(u']');
}

// A key that a reader would take for a header or a comment could never be found again.
bool ValidKey(const QString& key) {
    const QString name = key.trimmed();
    return !name.isEmpty() && !HasLineBreak(key) && !key.contains(u'=') && !name.startsWith(u'[') &&
           !name.startsWith(u';') && !name.startsWith(u'#');
}

// Reading trims blanks and one pair of quotes, so a value that has either is quoted to come
// back unchanged.
QByteArray EncodeValue(Document& doc, const QString& value) {
    const QByteArray bytes = doc.Bytes(value);
    const bool quoted = bytes.size() >= 2 && bytes.startsWith('"') && bytes.endsWith('"');
    if (bytes.trimmed() != bytes || quoted)
        return '"' + bytes + '"';
    return bytes;
}

} // namespace

int IniStore::ReadInt(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<QString> text = Find(path_, section, key);
    if (!text)
        return defaultValue;
    return LeadingInt(*text).value_or(defaultValue);
}

QString IniStore::ReadString(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    return Find(path_, section, key).value_or(defaultValue);
}

QStringList IniStore::Keys(const QString& section) const {
    QStringList keys;
    Document doc;
    if (!Load(path_, doc))
        return keys;
    const qsizetype header = FindSection(doc, section.trimmed());
    if (header < 0)
        return keys;
    const qsizetype end = SectionEnd(doc, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line line = ParseLine(doc, doc.lines[i]);
        if (line.kind == Line::Kind::Key && !keys.contains(line.name, Qt::CaseInsensitive))
            keys.append(line.name);
    }
    return keys;
}

bool IniStore::WriteInt(const QString& section, const QString& key, int value) {
    return WriteString(section, key, QString::number(value));
}

bool IniStore::WriteString(const QString& section, const QString& key, const QString& value) {
    if (!ValidSection(section) || !ValidKey(key) || HasLineBreak(value))
        return false;
    Document doc;
    if (!Load(path_, doc))
        return false;
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    // Settle the file's encoding first, so every piece below is in the same one.
    (void)doc.Bytes(sectionName + keyName + value);
    const QByteArray encoded = EncodeValue(doc, value);

    const qsizetype header = FindSection(doc, sectionName);
    if (header < 0) {
        doc.lines.append('[' + doc.Bytes(sectionName) + ']');
        doc.lines.append(doc.Bytes(keyName) + '=' + encoded);
        return Save(path_, doc);
    }

    const qsizetype end = SectionEnd(doc, header);
    qsizetype insertAt = header + 1;
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line line = ParseLine(doc, doc.lines[i]);
        if (line.kind != Line::Kind::Key)
            continue;
        if (SameName(line.name, keyName)) {
            // Keep everything up to the value, blanks after '=' included, so only the value
            // itself changes.
            QByteArray& raw = doc.lines[i];
            qsizetype valueStart = line.valueStart;
            while (valueStart < raw.size() && IsBlank(raw[valueStart]))
                ++valueStart;
            raw = raw.left(valueStart) + encoded;
            return Save(path_, doc);
        }
        insertAt = i + 1;
    }
    // After the section's last key: blank lines and comments that follow it usually belong
    // to the next section.
    doc.lines.insert(insertAt, doc.Bytes(keyName) + '=' + encoded);
    return Save(path_, doc);
}

} // namespace zyrk
