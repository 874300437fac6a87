// The settings store against any starting file and any names and values.
//
// Input: fields separated by NUL bytes. The first field is the file as it stands before the
// writes (empty: no file); then come (section, key, value) triples, each one write. A value
// "#N" writes the integer N with WriteInt.

#include "FuzzCheck.h"
#include "IniStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>

using namespace zyrk;

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
const QString kMissing = QStringLiteral("\x01missing\x01");

// The file as the store's lines: a leading byte-order mark aside, split at LF, the final
// empty piece after a last LF dropped, one CR before each LF dropped.
struct Lines {
    bool bom = false;
    QList<QByteArray> lines;
};

Lines SplitLines(QByteArray data) {
    Lines out;
    if (data.startsWith(kBom)) {
        out.bom = true;
        data.remove(0, 3);
    }
    if (data.isEmpty())
        return out;
    out.lines = data.split('\n');
    if (data.endsWith('\n'))
        out.lines.removeLast();
    for (QByteArray& line : out.lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return out;
}

std::optional<QByteArray> FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool HasLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

// The reasons the store's contract gives for refusing a write; nothing else may refuse one.
bool Storable(const QString& section, const QString& key, const QString& value) {
    const QString name = key.trimmed();
    return !section.trimmed().isEmpty() && !HasLineBreak(section) && !section.contains(u']') &&
           !name.isEmpty() && !HasLineBreak(key) && !key.contains(u'=') && !name.startsWith(u'[') &&
           !name.startsWith(u';') && !name.startsWith(u'#') && !HasLineBreak(value);
}

struct Entry {
    QString section;
    QString key;
    QString value;
};

bool Same(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

void Remember(QList<Entry>& entries, const Entry& entry) {
    for (Entry& e : entries) {
        if (Same(e.section, entry.section) && Same(e.key, entry.key)) {
            e.value = entry.value;
            return;
        }
    }
    entries.append(entry);
}

// What a file holds as the store reads it: the sections named by its header lines, and the
// keys the store lists for each.
QList<Entry> Contents(const IniStore& store, const QByteArray& data) {
    QList<Entry> entries;
    for (const QByteArray& raw : SplitLines(data).lines) {
        const QByteArray text = raw.trimmed();
        const qsizetype close = text.indexOf(']');
        if (!text.startsWith('[') || close < 1)
            continue;
        const QString section = QString::fromUtf8(text.mid(1, close - 1).trimmed());
        for (const QString& key : store.Keys(section)) {
            bool known = false;
            for (const Entry& e : entries)
                known = known || (Same(e.section, section) && Same(e.key, key));
            if (!known)
                entries.append({section, key, store.ReadString(section, key, kMissing)});
        }
    }
    return entries;
}

bool IsUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// A write changes one line of the file: it rewrites its key's line keeping everything up to
// the '=', adds one key line, or adds a section with its key at the end. Every other line
// stays byte for byte, and every line ends in CR LF.
void CheckOneLineChanged(const QByteArray& before, const QByteArray& after) {
    const Lines old = SplitLines(before);
    const Lines now = SplitLines(after);
    FUZZ_CHECK(old.bom == now.bom, "a byte-order mark at the start is kept as found");
    QByteArray rebuilt = now.bom ? QByteArray(kBom) : QByteArray();
    for (const QByteArray& line : now.lines)
        rebuilt += line + "\r\n";
    FUZZ_CHECK(rebuilt == after, "every line of a written file ends in CR LF");

    const qsizetype n0 = old.lines.size();
    const qsizetype n1 = now.lines.size();
    if (!IsUtf8(before) && IsUtf8(after)) {
        // A file of an earlier version in its 8-bit code page, given a character that code
        // page cannot hold, is turned into UTF-8 whole rather than lose the character: its
        // lines keep their text, not their bytes, which the reading checks cover.
        FUZZ_CHECK(n1 >= n0 && n1 <= n0 + 2, "a write adds at most a section and a key");
        return;
    }
    qsizetype prefix = 0;
    while (prefix < n0 && prefix < n1 && old.lines[prefix] == now.lines[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < n0 - prefix && suffix < n1 - prefix &&
           old.lines[n0 - 1 - suffix] == now.lines[n1 - 1 - suffix])
        ++suffix;
    const qsizetype gone = n0 - prefix - suffix;
    const qsizetype added = n1 - prefix - suffix;
    const bool same = gone == 0 && added == 0;
    const bool rewritten = gone == 1 && added == 1;
    const bool inserted = gone == 0 && added == 1;
    const bool appended = gone == 0 && added == 2 && prefix == n0;
    FUZZ_CHECK(same || rewritten || inserted || appended,
               "a write changes only its own line; every other line stays byte for byte");
    if (rewritten) {
        const QByteArray& was = old.lines[prefix];
        FUZZ_CHECK(now.lines[prefix].startsWith(was.left(was.indexOf('=') + 1)),
                   "a rewritten key keeps its line up to the '='");
    }
}

// Every write ends in a sync to disk; on a memory file system that costs nothing, and the
// fuzzer runs a hundred times faster.
QString ScratchTemplate() {
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return base + QStringLiteral("/zyrk-fuzz-XXXXXX");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir(ScratchTemplate());
    FUZZ_CHECK(dir.isValid(), "a temporary folder for the file");
    const QString path = dir.filePath(QStringLiteral("application.ini"));
    QFile::remove(path);

    const QList<QByteArray> fields =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
            .split('\0');
    if (!fields[0].isEmpty()) {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(fields[0]) == fields[0].size(),
                   "the starting file can be written");
    }

    IniStore store(path);
    const QList<Entry> initial = Contents(store, fields[0]);
    QList<Entry> written;
    for (qsizetype i = 1; i + 2 < fields.size(); i += 3) {
        const QString section = QString::fromUtf8(fields[i]);
        const QString key = QString::fromUtf8(fields[i + 1]);
        QString value = QString::fromUtf8(fields[i + 2]);
        const std::optional<QByteArray> before = FileBytes(path);

        bool ok = false;
        std::optional<int> number;
        if (value.startsWith(u'#')) {
            const long long n = std::strtoll(fields[i + 2].constData() + 1, nullptr, 10);
            number = static_cast<int>(n < INT_MIN ? INT_MIN : n > INT_MAX ? INT_MAX : n);
            value = QString::number(*number);
            ok = store.WriteInt(section, key, *number);
        } else {
            ok = store.WriteString(section, key, value);
        }

        const std::optional<QByteArray> after = FileBytes(path);
        if (!ok) {
            FUZZ_CHECK(!Storable(section, key, value),
                       "a write is refused only for a line break, '=' or a leading [ ; # in a "
                       "key, ']' in a section, or an empty name");
            FUZZ_CHECK(before == after, "a refused write leaves the file as it was");
            continue;
        }
        FUZZ_CHECK(Storable(section, key, value), "a name that cannot round-trip is refused");
        FUZZ_CHECK(after.has_value(), "an accepted write leaves a file");
        CheckOneLineChanged(before.value_or(QByteArray()), *after);
        FUZZ_CHECK(store.ReadString(section, key, kMissing) == value,
                   "what is written reads back equal");
        if (number)
            FUZZ_CHECK(store.ReadInt(section, key, *number == 0 ? 1 : 0) == *number,
                       "an integer written reads back equal");
        bool listed = false;
        for (const QString& k : store.Keys(section))
            listed = listed || Same(k, key);
        FUZZ_CHECK(listed, "a written key is listed in its section");
        Remember(written, {section, key, value});
    }

    // The file stays readable as a whole: every value written and every value it held before
    // (unless written over) still reads back.
    for (const Entry& e : written)
        FUZZ_CHECK(store.ReadString(e.section, e.key, kMissing) == e.value,
                   "earlier writes still read back after later ones");
    for (const Entry& e : initial) {
        bool overwritten = false;
        for (const Entry& w : written)
            overwritten = overwritten || (Same(w.section, e.section) && Same(w.key, e.key));
        if (!overwritten)
            FUZZ_CHECK(store.ReadString(e.section, e.key, kMissing) == e.value,
                       "what the file held before the writes still reads back");
    }
    return 0;
}
