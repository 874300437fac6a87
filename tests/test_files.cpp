#include "FileWrite.h"
#include "IniStore.h"
#include "PortNames.h"
#include "SettingsFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

#ifdef Q_OS_UNIX
#include "FileSizeLimit.h"

#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace zyrk;

namespace {

constexpr int kDefault = 7;
const QString kDefaultText = QStringLiteral("<default>");

// Sets an environment variable for one test and puts the old value back afterwards.
class EnvGuard {
  public:
    EnvGuard(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name_, value);
    }
    ~EnvGuard() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    QString IniPath() const { return dir_.filePath(QStringLiteral("application.ini")); }

    // A null content leaves no file at all.
    QString PutFile(const QByteArray& content) {
        QFile::remove(IniPath());
        if (!content.isNull()) {
            QFile file(IniPath());
            if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
                qFatal("cannot write the fixture file");
        }
        return IniPath();
    }

    QByteArray FileBytes() const {
        QFile file(IniPath());
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    }

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void readString_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray ini = "; settings\r\n"
                               "orphan=0\r\n"
                               "[Form_Hlav]\r\n"
                               "Left=210\r\n"
                               "  Top = 98  \r\n"
                               "File=\"D:\\params\\bike.ign\"\r\n"
                               "Blank=\r\n"
                               "Eq=a=b\r\n"
                               "odd line\r\n"
                               ";Width=5\r\n"
                               "[ BASIC ]\r\n"
                               "ComPortAuto=4\r\n"
                               "Left=999\r\n";
        auto row = [&](const char* name, const char* section, const char* key,
                       const QString& expected) {
            QTest::newRow(name) << ini << QString::fromLatin1(section) << QString::fromLatin1(key)
                                << expected;
        };
        row("exact names", "Form_Hlav", "Left", "210");
        row("names without regard to case", "FORM_HLAV", "lEFT", "210");
        row("blanks around key and value", "form_hlav", "top", "98");
        row("blanks inside the brackets", "basic", "ComPortAuto", "4");
        row("one pair of quotes removed", "FORM_HLAV", "File", "D:\\params\\bike.ign");
        row("empty value is not the default", "FORM_HLAV", "Blank", "");
        row("value keeps later equals signs", "FORM_HLAV", "Eq", "a=b");
        row("same key in another section", "BASIC", "Left", "999");
        row("key of another section", "FORM_HLAV", "ComPortAuto", kDefaultText);
        row("line before the first section", "FORM_HLAV", "orphan", kDefaultText);
        row("comment is no key", "FORM_HLAV", "Width", kDefaultText);
        row("missing section", "IGNITION", "Left", kDefaultText);

        QTest::newRow("LF line ends") << QByteArray("[S]\nk=v\nx=1\n") << "S"
                                      << "k"
                                      << "v";
        QTest::newRow("no final line end") << QByteArray("[S]\r\nk=v") << "S"
                                           << "k"
                                           << "v";
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[S]\r\nk=v\r\n") << "S"
                                         << "k"
                                         << "v";
        QTest::newRow("UTF-8 text") << QByteArray("[S]\r\nk=\xC4\x8C"
                                                  "e\xC5\xA1tina\r\n")
                                    << "S"
                                    << "k"
                                    << QString::fromUtf8("\xC4\x8C"
                                                         "e\xC5\xA1tina");
    }

    void readString() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const IniStore ini(PutFile(content));
        QCOMPARE(ini.ReadString(section, key, kDefaultText), expected);
    }

    void readInt_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << QByteArray("12") << 12;
        QTest::newRow("leading digits") << QByteArray("12abc") << 12;
        QTest::newRow("stops at a blank") << QByteArray("1 2") << 1;
        QTest::newRow("negative") << QByteArray("-5") << -5;
        QTest::newRow("plus sign") << QByteArray("+5") << 5;
        QTest::newRow("quoted") << QByteArray("\" 42\"") << 42;
        QTest::newRow("largest") << QByteArray("2147483647") << std::numeric_limits<int>::max();
        QTest::newRow("smallest") << QByteArray("-2147483648") << std::numeric_limits<int>::min();
        QTest::newRow("no digits") << QByteArray("abc") << kDefault;
        QTest::newRow("empty") << QByteArray("") << kDefault;
        QTest::newRow("sign alone") << QByteArray("-") << kDefault;
        QTest::newRow("too large") << QByteArray("2147483648") << kDefault;
        QTest::newRow("far too large") << QByteArray("99999999999999999999999") << kDefault;
    }

    void readInt() {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        const IniStore ini(PutFile("[FORM_HLAV]\r\nLeft=" + value + "\r\n"));
        QCOMPARE(ini.ReadInt(QStringLiteral("FORM_HLAV"), QStringLiteral("Left"), kDefault),
                 expected);
    }

    void missingOrUnusableFile() {
        const QString section = QStringLiteral("FORM_HLAV");
        const QString key = QStringLiteral("Left");

        const IniStore missing(PutFile(QByteArray()));
        QCOMPARE(missing.ReadInt(section, key, kDefault), kDefault);
        QCOMPARE(missing.ReadString(section, key, kDefaultText), kDefaultText);
        QVERIFY(missing.Keys(section).isEmpty());

        // A folder where the file should be: reads as empty, and a write leaves it alone.
        const QString folderPath = dir_.filePath(QStringLiteral("folder.ini"));
        QVERIFY(QDir().mkpath(folderPath));
        IniStore folder(folderPath);
        QCOMPARE(folder.ReadInt(section, key, kDefault), kDefault);
        QVERIFY(!folder.WriteInt(section, key, 1));
        QVERIFY(QFileInfo(folderPath).isDir());

        const QString orphanPath = dir_.filePath(QStringLiteral("no/such/folder/application.ini"));
        IniStore orphan(orphanPath);
        QVERIFY(!orphan.WriteInt(section, key, 1));
        QVERIFY(!QFileInfo::exists(orphanPath));

        IniStore unset;
        QVERIFY(!unset.WriteInt(section, key, 1));
        QCOMPARE(unset.ReadInt(section, key, kDefault), kDefault);
    }

    void write_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        const QByteArray handEdited = "; written by hand\r\n"
                                      "\r\n"
                                      "[FORM_HLAV]\r\n"
                                      "left=1\r\n"
                                      "Unknown=x  y \r\n"
                                      "odd line\r\n"
                                      "\r\n"
                                      "[IGNITION]\r\n"
                                      "PageControl1->ActivePageIndex=0\r\n";
        QByteArray leftRewritten = handEdited;
        leftRewritten.replace("left=1", "left=210");
        QTest::newRow("in place, key spelling and other lines kept") << handEdited << "form_hlav"
                                                                     << "LEFT"
                                                                     << "210" << leftRewritten;
        QByteArray pageRewritten = handEdited;
        pageRewritten.replace("Index=0", "Index=2");
        QTest::newRow("in place, key with an arrow") << handEdited << "IGNITION"
                                                     << "PageControl1->ActivePageIndex"
                                                     << "2" << pageRewritten;
        QTest::newRow("in place, blanks before the value kept")
            << QByteArray("[S]\r\n  Key = old value  \r\n") << "S"
            << "key"
            << "new" << QByteArray("[S]\r\n  Key = new\r\n");
        QTest::newRow("new key after the last key of its section")
            << QByteArray("[A]\r\nx=1\r\n; about B\r\n\r\n[B]\r\ny=2\r\n") << "a"
            << "z"
            << "3" << QByteArray("[A]\r\nx=1\r\nz=3\r\n; about B\r\n\r\n[B]\r\ny=2\r\n");
        QTest::newRow("new key in a section without keys")
            << QByteArray("[A]\r\n\r\n[B]\r\n") << "A"
            << "k"
            << "v" << QByteArray("[A]\r\nk=v\r\n\r\n[B]\r\n");
        QTest::newRow("new section at the end")
            << QByteArray("[A]\r\nx=1\r\n\r\n") << "B"
            << "y"
            << "2" << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
        QTest::newRow("last line without a line end") << QByteArray("[A]\r\nx=1") << "A"
                                                      << "y"
                                                      << "2" << QByteArray("[A]\r\nx=1\r\ny=2\r\n");
        QTest::newRow("LF file written with CR LF")
            << QByteArray("[A]\nx=1\n; note\n") << "A"
            << "x"
            << "5" << QByteArray("[A]\r\nx=5\r\n; note\r\n");
        QTest::newRow("missing file") << QByteArray() << "A"
                                      << "x"
                                      << "1" << QByteArray("[A]\r\nx=1\r\n");
        QTest::newRow("empty file") << QByteArray("") << "A"
                                    << "x"
                                    << "1" << QByteArray("[A]\r\nx=1\r\n");
        QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBF[A]\r\nx=1\r\n") << "A"
                                              << "x"
                                              << "2" << QByteArray("\xEF\xBB\xBF[A]\r\nx=2\r\n");
        // An old file may hold a path in an 8-bit code page; rewriting a neighbour must not
        // turn it into replacement characters.
        QTest::newRow("line in another encoding kept") << QByteArray("[A]\r\nFile=\xE8"
                                                                     "esky.ign\r\nx=1\r\n")
                                                       << "A"
                                                       << "x"
                                                       << "2"
                                                       << QByteArray("[A]\r\nFile=\xE8"
                                                                     "esky.ign\r\nx=2\r\n");
        QTest::newRow("blanks at the ends quoted")
            << QByteArray("[A]\r\n") << "A"
            << "x"
            << " padded  " << QByteArray("[A]\r\nx=\" padded  \"\r\n");
    }

    void write() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        IniStore ini(PutFile(before));
        QVERIFY(ini.WriteString(section, key, value));
        QCOMPARE(FileBytes(), after);
        // Only the settings file is left in the folder: the temporary file is gone.
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"application.ini"});
    }

    // The keys in the order in which the tool saves them join their sections.
    void writeInSavingOrder() {
        IniStore ini(PutFile(QByteArray()));
        const QString form = QStringLiteral("FORM_HLAV");
        QVERIFY(ini.WriteInt(form, QStringLiteral("Left"), 210));
        QVERIFY(ini.WriteInt(form, QStringLiteral("Top"), 98));
        QVERIFY(ini.WriteInt(form, QStringLiteral("Height"), 873));
        QVERIFY(ini.WriteInt(form, QStringLiteral("Width"), 994));
        QVERIFY(ini.WriteInt(form, QStringLiteral("ComPort"), 21));
        QVERIFY(ini.WriteInt(QStringLiteral("BASIC"), QStringLiteral("ComPortAuto"), 4));
        QVERIFY(ini.WriteInt(form, QStringLiteral("Language"), 1));
        QVERIFY(ini.WriteString(form, QStringLiteral("File"), QStringLiteral("D:\\params\\a.ign")));
        QVERIFY(
            ini.WriteString(form, QStringLiteral("IniDir"), QStringLiteral("D:\\params\\a.ign")));
        QVERIFY(ini.WriteInt(QStringLiteral("IGNITION"),
                             QStringLiteral("PageControl1->ActivePageIndex"), 1));
        QCOMPARE(FileBytes(), QByteArray("[FORM_HLAV]\r\n"
                                         "Left=210\r\n"
                                         "Top=98\r\n"
                                         "Height=873\r\n"
                                         "Width=994\r\n"
                                         "ComPort=21\r\n"
                                         "Language=1\r\n"
                                         "File=D:\\params\\a.ign\r\n"
                                         "IniDir=D:\\params\\a.ign\r\n"
                                         "[BASIC]\r\n"
                                         "ComPortAuto=4\r\n"
                                         "[IGNITION]\r\n"
                                         "PageControl1->ActivePageIndex=1\r\n"));
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("path with blanks") << QStringLiteral("C:\\My Params\\bike 2.ign");
        QTest::newRow("blanks at the ends") << QStringLiteral("  padded ");
        QTest::newRow("quoted") << QStringLiteral("\"quoted\"");
        QTest::newRow("one quote") << QStringLiteral("\"");
        QTest::newRow("equals sign") << QStringLiteral("a=b");
        QTest::newRow("UTF-8") << QString::fromUtf8("\xC4\x8C"
                                                    "esky \xC3\xBC"
                                                    "ber");
        QTest::newRow("empty") << QString();
    }

    void roundTrip() {
        QFETCH(QString, value);
        IniStore ini(PutFile("[A]\r\nv=old\r\n"));
        QVERIFY(ini.WriteString(QStringLiteral("A"), QStringLiteral("v"), value));
        QCOMPARE(ini.ReadString(QStringLiteral("A"), QStringLiteral("v"), kDefaultText), value);
    }

    void roundTripInt_data() {
        QTest::addColumn<int>("value");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("smallest") << std::numeric_limits<int>::min();
        QTest::newRow("largest") << std::numeric_limits<int>::max();
    }

    void roundTripInt() {
        QFETCH(int, value);
        IniStore ini(PutFile(QByteArray()));
        QVERIFY(ini.WriteInt(QStringLiteral("A"), QStringLiteral("n"), value));
        QCOMPARE(ini.ReadInt(QStringLiteral("A"), QStringLiteral("n"), kDefault), value);
    }

    // A U+FEFF that begins a name or value is a character, not a byte-order mark: only the
    // start of the file can hold a mark. A key so written must be found again, not appended
    // anew at every write.
    void roundTripNames_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const QString bom(QChar(0xFEFF));
        QTest::newRow("section of a tab and U+FEFF, empty file")
            << QByteArray() << QStringLiteral("\t") + bom << QStringLiteral("\\") << QString();
        QTest::newRow("value starting with U+FEFF")
            << QByteArray("[A]\r\n") << QStringLiteral("A") << QStringLiteral("v")
            << bom + QStringLiteral("x");
        QTest::newRow("key starting with U+FEFF")
            << QByteArray("[A]\r\n") << QStringLiteral("A") << bom + QStringLiteral("k")
            << QStringLiteral("1");
        QTest::newRow("after a real byte-order mark")
            << QByteArray("\xEF\xBB\xBF[A]\r\n") << bom << bom << bom;
    }

    void roundTripNames() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        IniStore ini(PutFile(before));
        QVERIFY(ini.WriteString(section, key, value));
        const QByteArray once = FileBytes();
        QCOMPARE(ini.ReadString(section, key, kDefaultText), value);
        QVERIFY(ini.WriteString(section, key, value));
        QCOMPARE(FileBytes(), once);
        QCOMPARE(ini.Keys(section), QStringList{key.trimmed()});
        QCOMPARE(FileBytes().startsWith("\xEF\xBB\xBF"), before.startsWith("\xEF\xBB\xBF"));
    }

    // Earlier versions wrote the Windows code page: such a file keeps its letters and its
    // encoding; a character that code page cannot hold turns the file into UTF-8 whole.
    void oldCodePageFile() {
        // "D:\parametry\nastaven\xED \xE8i\xF8.ign" in windows-1250: í, č, ř.
        const QByteArray path1250 = "D:\\parametry\\nastaven\xED \xE8i\xF8.ign";
        const QString path =
            QString::fromUtf8("D:\\parametry\\nastaven\xC3\xAD \xC4\x8Di\xC5\x99.ign");
        const QByteArray before = "[FORM_HLAV]\r\nIniDir=" + path1250 + "\r\nLeft=1\r\n";
        IniStore ini(PutFile(before));
        QCOMPARE(ini.ReadString(QStringLiteral("FORM_HLAV"), QStringLiteral("IniDir")), path);

        QVERIFY(ini.WriteInt(QStringLiteral("FORM_HLAV"), QStringLiteral("Left"), 5));
        QVERIFY(ini.WriteString(QStringLiteral("FORM_HLAV"), QStringLiteral("File"), path));
        QCOMPARE(FileBytes(),
                 "[FORM_HLAV]\r\nIniDir=" + path1250 + "\r\nLeft=5\r\nFile=" + path1250 + "\r\n");

        const QString far = QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC");
        QVERIFY(ini.WriteString(QStringLiteral("FORM_HLAV"), QStringLiteral("Far"), far));
        QCOMPARE(FileBytes(), "[FORM_HLAV]\r\nIniDir=" + path.toUtf8() + "\r\nLeft=5\r\nFile=" +
                                  path.toUtf8() + "\r\nFar=" + far.toUtf8() + "\r\n");
        QCOMPARE(ini.ReadString(QStringLiteral("FORM_HLAV"), QStringLiteral("IniDir")), path);
        QCOMPARE(ini.ReadString(QStringLiteral("FORM_HLAV"), QStringLiteral("Far")), far);
    }

    // Names or values that would break the file's structure are refused and change nothing.
    void refusedWrite_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in the value") << "A"
                                                 << "x"
                                                 << "1\r\n[B]\r\ny=2";
        QTest::newRow("line break in the key") << "A"
                                               << "x\ny"
                                               << "1";
        QTest::newRow("equals sign in the key") << "A"
                                                << "x=y"
                                                << "1";
        QTest::newRow("key that reads as a header") << "A"
                                                    << "[x"
                                                    << "1";
        QTest::newRow("empty key") << "A"
                                   << " "
                                   << "1";
        QTest::newRow("bracket in the section") << "A]"
                                                << "x"
                                                << "1";
        QTest::newRow("empty section") << ""
                                       << "x"
                                       << "1";
    }

    void refusedWrite() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QByteArray before = "[A]\r\nx=0\r\n";
        IniStore ini(PutFile(before));
        QVERIFY(!ini.WriteString(section, key, value));
        QCOMPARE(FileBytes(), before);
    }

    // What ReplaceFile may replace, and that a refusal leaves the path as it was.
    void replaceFileTargets_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("nothing there yet") << "new" << true;
        QTest::newRow("regular file") << "file" << true;
        QTest::newRow("link to a regular file") << "link" << true;
        QTest::newRow("dangling link") << "dangling" << false;
        QTest::newRow("folder") << "folder" << false;
#ifdef Q_OS_UNIX
        QTest::newRow("pipe") << "fifo" << false;
        QTest::newRow("device") << "device" << false;
        // Root may write any file; anybody else may not replace a read-only one.
        QTest::newRow("read-only file") << "readonly" << (geteuid() == 0);
#endif
    }

    void replaceFileTargets() {
        QFETCH(QString, kind);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("target"));
        const QString pointee = dir.filePath(QStringLiteral("pointee"));
        const QByteArray old = "old contents";
        auto put = [&old](const QString& at) {
            QFile f(at);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(old);
        };
        QString target = path;
        if (kind == QLatin1String("file") || kind == QLatin1String("readonly")) {
            put(path);
            const auto perms = kind == QLatin1String("file")
                                   ? QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                   : QFile::ReadOwner | QFile::ReadGroup;
            QVERIFY(QFile::setPermissions(path, perms));
        } else if (kind == QLatin1String("link") || kind == QLatin1String("dangling")) {
            if (kind == QLatin1String("link"))
                put(pointee);
            QVERIFY(QFile::link(pointee, path));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(path));
#ifdef Q_OS_UNIX
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
        } else if (kind == QLatin1String("device")) {
            target = QStringLiteral("/dev/null");
#endif
        }
        const QFileInfo before(target);
        const QFileDevice::Permissions perms = before.permissions();
        const QByteArray data = "new contents\r\n";

        QCOMPARE(CanReplaceFile(target), replaced);
        QCOMPARE(ReplaceFile(target, data), replaced);

        const QFileInfo after(target);
        if (replaced) {
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), data);
            if (before.exists())
                QCOMPARE(after.permissions(), perms);
            if (kind == QLatin1String("link")) {
                QVERIFY(after.isSymLink());
                QCOMPARE(after.symLinkTarget(), pointee);
            }
        } else {
            QCOMPARE(after.exists(), before.exists());
            QCOMPARE(after.isFile(), before.isFile());
            QCOMPARE(after.isDir(), before.isDir());
            QCOMPARE(after.isSymLink(), before.isSymLink());
        }
        // Nothing but what the fixture made is left in the folder.
        QStringList expected{QStringLiteral("target")};
        if (kind == QLatin1String("link"))
            expected.prepend(QStringLiteral("pointee"));
        if (kind == QLatin1String("device"))
            expected.clear();
        QDir folder(dir.path());
        QCOMPARE(
            folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden,
                             QDir::Name),
            expected);
    }

#ifdef Q_OS_UNIX
    // A full disk shows up only when the buffered data is flushed: each writer must notice it
    // before the commit and keep the old file whole, without a temporary file left behind.
    void fullDiskKeepsOldFiles_data() {
        QTest::addColumn<QString>("writer");
        QTest::newRow("ReplaceFile") << "replace";
        QTest::newRow("settings store, key rewritten") << "ini";
    }

    void fullDiskKeepsOldFiles() {
        QFETCH(QString, writer);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("application.ini"));
        QByteArray old = "[FORM_HLAV]\r\nLeft=10\r\n[PORTS]\r\nCOM1=/dev/ttyUSB9\r\n";
        old += QByteArray(3000, ';') + "\r\n";
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(old), old.size());
        }
        bool ok = true;
        {
            const FileSizeLimit full(1024);
            if (writer == QLatin1String("replace")) {
                ok = ReplaceFile(path, QByteArray(4096, 'x'));
            } else {
                IniStore ini(path);
                ok = ini.WriteInt(QStringLiteral("FORM_HLAV"), QStringLiteral("Left"), 20);
            }
        }
        QVERIFY(!ok);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{QStringLiteral("application.ini")});
    }
#endif

    void keys() {
        const IniStore ini(PutFile("[A]\r\nx=1\r\n[Ports]\r\n; COM1=/dev/null\r\nCOM3 = /dev/a\r\n"
                                   "odd\r\ncom5=\r\nCom3=/dev/b\r\n[B]\r\ny=2\r\n"));
        QCOMPARE(ini.Keys(QStringLiteral("PORTS")), (QStringList{"COM3", "com5"}));
        QVERIFY(ini.Keys(QStringLiteral("C")).isEmpty());
    }

    void portTable() {
#ifdef Q_OS_WIN
        QSKIP("the device path table is for platforms without COM port names");
#endif
        const QString pty = QStringLiteral("/tmp/zyrk pty");
        const IniStore ini(PutFile("[ports]\r\ncom3=" + pty.toUtf8() +
                                   "\r\nCOM5=\r\nCOM22=/dev/null\r\n[OTHER]\r\nCOM1=/dev/x\r\n"));
        PortNames ports;
        LoadPortTable(ini, ports);

        QStringList expected;
        for (int i = 0; i < 8; ++i)
            expected << QStringLiteral("/dev/ttyUSB%1").arg(i);
        for (int i = 0; i < 8; ++i)
            expected << QStringLiteral("/dev/ttyACM%1").arg(i);
        for (int i = 0; i < 5; ++i)
            expected << QStringLiteral("/dev/ttyS%1").arg(i);
        expected[2] = pty;
        QCOMPARE(expected.size(), kPortCount);
        for (int n = 1; n <= kPortCount; ++n)
            QCOMPARE(ports.Path(n), expected[n - 1]);
    }

    void settingsFolder() {
#ifdef Q_OS_WIN
        QSKIP("the folder comes from XDG_DATA_HOME on other platforms only");
#endif
        QTemporaryDir data;
        QVERIFY(data.isValid());
        const EnvGuard guard("XDG_DATA_HOME", QFile::encodeName(data.path()));

        const QString folder = data.path() + QStringLiteral("/Velkarim/ZYRK/56/");
        QCOMPARE(SettingsFolder(), folder);
        QVERIFY(!QFileInfo::exists(folder));

        const SettingsPaths paths = SetUpSettingsFolder();
        QCOMPARE(paths.folder, folder);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(paths.applicationIni, folder + QStringLiteral("application.ini"));
        QCOMPARE(paths.defaultIni, folder + QStringLiteral("default.ini"));
        IniStore ini(paths.applicationIni);
        QVERIFY(ini.WriteInt(QStringLiteral("A"), QStringLiteral("x"), 1));

        // Running again over the existing folder changes nothing.
        QCOMPARE(SetUpSettingsFolder().applicationIni, paths.applicationIni);
        QCOMPARE(ini.ReadInt(QStringLiteral("A"), QStringLiteral("x"), kDefault), 1);
    }

    // A file in the way of the folder: the paths are still derived, the settings just do not
    // reach the disk.
    void settingsFolderBlocked() {
#ifdef Q_OS_WIN
        QSKIP("the folder comes from XDG_DATA_HOME on other platforms only");
#endif
        QTemporaryDir data;
        QVERIFY(data.isValid());
        QFile blocker(data.filePath(QStringLiteral("Velkarim")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const EnvGuard guard("XDG_DATA_HOME", QFile::encodeName(data.path()));

        const SettingsPaths paths = SetUpSettingsFolder();
        QCOMPARE(paths.applicationIni,
                 data.path() + QStringLiteral("/Velkarim/ZYRK/56/application.ini"));
        IniStore ini(paths.applicationIni);
        QVERIFY(!ini.WriteInt(QStringLiteral("A"), QStringLiteral("x"), 1));
        QCOMPARE(ini.ReadInt(QStringLiteral("A"), QStringLiteral("x"), kDefault), kDefault);
        QVERIFY(QFileInfo(blocker.fileName()).isFile());
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "test_files.moc"
