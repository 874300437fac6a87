#pragma once

#include <QString>
#include <QStringList>

namespace zyrk {

// Named integers and texts in an INI file, kept the way the Windows profile functions keep
// them, because "application.ini" files written by earlier versions of the tool must go on
// working unchanged (QSettings sorts keys, is case-sensitive on Linux and escapes '>').
//
// - Section and key names are matched without regard to case; the first match wins.
// - Values are read with surrounding blanks trimmed and one pair of double quotes removed.
// - A write rewrites an existing key in place (its key text as first written), appends a new
//   key after the last key of its section, or appends a new section at the end of the file.
//   Every other line stays byte for byte as it was; lines end in CR LF.
// - Each write reads the file afresh and replaces it at once through a temporary file
//   (ReplaceFile), so a crash or a full disk never leaves half a file behind.
// - Text is UTF-8. A file that is not valid UTF-8 comes from an earlier version, which wrote
//   the Windows code page windows-1250: it is read in that code page and written back in it.
// - Only the three bytes EF BB BF at the very start of the file are a byte-order mark, kept
//   as found; a U+FEFF anywhere else is part of a name or value.
//
// The store never reports an error: a missing or unreadable file reads as empty, and a write
// that cannot be done returns false and leaves the file as it was. A file that exists but
// cannot be read is never overwritten, so settings it holds are not lost.
class IniStore {
  public:
    IniStore() = default;
    explicit IniStore(const QString& path) : path_(path) {}

    const QString& Path() const { return path_; }
    void SetPath(const QString& path) { path_ = path; }

    // The leading integer of the value ("12abc" gives 12, "-3" gives -3); defaultValue when the
    // key is missing, its value does not start with a number, or the number does not fit an int.
    int ReadInt(const QString& section, const QString& key, int defaultValue) const;
    // An empty value gives an empty text, not the default.
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;
    // The key names of a section in file order, as spelled in the file.
    QStringList Keys(const QString& section) const;

    // False when the file could not be read or written, or when a name or the value would not
    // survive a round trip (a line break anywhere, '=' in a key, ']' in a section name).
    bool WriteInt(const QString& section, const QString& key, int value);
    bool WriteString(const QString& section, const QString& key, const QString& value);

  private:
    QString path_;
};

} // namespace zyrk
