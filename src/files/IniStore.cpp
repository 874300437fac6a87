#include "IniStore.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSaveFile>
#include <limits>
#include <optional>

namespace zyrk {

namespace {

constexpr char kLineEnd[] = "\r\n";
// A UTF-8 byte order mark that an editor may have put at the start; kept as found.
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr int kDecimalBase = 10;

// The file as lines of raw bytes. Lines are kept as bytes, not decoded text, so a line in
// another encoding (an old file, a hand edit) is written back exactly as it was read.
struct Document {
    bool bom = false;
    QList<QByteArray> lines;
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

Line ParseLine(const QByteArray& raw) {
    Line line;
    const QByteArray text = raw.trimmed();
    if (text.isEmpty() || text.startsWith(';') || text.startsWith('#'))
        return line;
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        if (close > 0) {
            line.kind = Line::Kind::Header;
            line.name = QString::fromUtf8(text.mid(1, close - 1).trimmed());
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
    line.name = QString::fromUtf8(key);
    line.valueStart = equals + 1;
    return line;
}

QString ValueOf(const QByteArray& raw, const Line& line) {
    QByteArray value = raw.mid(line.valueStart).trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.mid(1, value.size() - 2);
    return QString::fromUtf8(value);
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Without a commit the temporary file is dropped and the old file stays as it was.
    if (file.write(data) != data.size())
        return false;
    return file.commit();
}

// Index of the first header line naming section, or -1.
qsizetype FindSection(const QList<QByteArray>& lines, const QString& section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line line = ParseLine(lines[i]);
        if (line.kind == Line::Kind::Header && SameName(line.name, section))
            return i;
    }
    return -1;
}

// One past the last line of the section whose header is at index header.
qsizetype SectionEnd(const QList<QByteArray>& lines, qsizetype header) {
    qsizetype i = header + 1;
    while (i < lines.size() && ParseLine(lines[i]).kind != Line::Kind::Header)
        ++i;
    return i;
}

std::optional<QString> Find(const QString& path, const QString& section, const QString& key) {
    Document doc;
    if (!Load(path, doc))
        return std::nullopt;
    const qsizetype header = FindSection(doc.lines, section.trimmed());
    if (header < 0)
        return std::nullopt;
    const qsizetype end = SectionEnd(doc.lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line line = ParseLine(doc.lines[i]);
        if (line.kind == Line::Kind::Key && SameName(line.name, key.trimmed()))
            return ValueOf(doc.lines[i], line);
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
QByteArray EncodeValue(const QString& value) {
    const QByteArray bytes = value.toUtf8();
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
    const qsizetype header = FindSection(doc.lines, section.trimmed());
    if (header < 0)
        return keys;
    const qsizetype end = SectionEnd(doc.lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line line = ParseLine(doc.lines[i]);
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
    const QByteArray encoded = EncodeValue(value);

    const qsizetype header = FindSection(doc.lines, sectionName);
    if (header < 0) {
        doc.lines.append('[' + sectionName.toUtf8() + ']');
        doc.lines.append(keyName.toUtf8() + '=' + encoded);
        return Save(path_, doc);
    }

    const qsizetype end = SectionEnd(doc.lines, header);
    qsizetype insertAt = header + 1;
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line line = ParseLine(doc.lines[i]);
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
    doc.lines.insert(insertAt, keyName.toUtf8() + '=' + encoded);
    return Save(path_, doc);
}

} // namespace zyrk
