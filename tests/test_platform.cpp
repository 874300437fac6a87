// The platform seams: each Windows form is a plain function of the platform, so it runs
// here; and the texts that tell the user why a port or a file failed.
#include "ErrorDetail.h"
#include "Messages.h"
#include "PortNames.h"
#include "SerialPort.h"
#include "Settings.h"
#include "SettingsFolder.h"

#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

using namespace zyrk;

namespace {
// Sets an environment variable for one scope and puts the old value back.
class EnvGuard {
  public:
    EnvGuard(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvGuard() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};
} // namespace

class TestPlatform : public QObject {
    Q_OBJECT

  private slots:
    void portNames();
    void settingsFolder_data();
    void settingsFolder();
    void testMarker();
    void classify_data();
    void classify();
    void portDetail_data();
    void portDetail();
    void fileDetail();
    void searching();
    void realPortFailures();
};

void TestPlatform::portNames() {
    const PortNames windows(Platform::Windows);
    const PortNames unix(Platform::Unix);
    QCOMPARE(windows.Path(3), QStringLiteral("\\\\.\\COM3"));
    for (int n = 1; n <= kPortCount; ++n)
        QCOMPARE(windows.Path(n), QStringLiteral("\\\\.\\COM%1").arg(n));
    QCOMPARE(unix.Path(1), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(unix.Path(9), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(unix.Path(21), QStringLiteral("/dev/ttyS4"));
    QCOMPARE(PortNames::DefaultPath(12, Platform::Windows), QStringLiteral("\\\\.\\COM12"));
}

void TestPlatform::settingsFolder_data() {
    QTest::addColumn<QByteArray>("programData");
    QTest::addColumn<QByteArray>("allUsers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ProgramData") << QByteArray("C:\\ProgramData") << QByteArray("C:\\Other")
                                 << "C:/ProgramData/Velkarim/ZYRK/56/";
    QTest::newRow("trailing separator")
        << QByteArray("D:\\Data\\") << QByteArray() << "D:/Data/Velkarim/ZYRK/56/";
    QTest::newRow("older systems: ALLUSERSPROFILE")
        << QByteArray() << QByteArray("C:\\Documents and Settings\\All Users")
        << "C:/Documents and Settings/All Users/Velkarim/ZYRK/56/";
    QTest::newRow("a % in the name stays")
        << QByteArray("C:\\100%data") << QByteArray() << "C:/100%data/Velkarim/ZYRK/56/";
    QTest::newRow("neither") << QByteArray() << QByteArray() << QString();
}

void TestPlatform::settingsFolder() {
    QFETCH(QByteArray, programData);
    QFETCH(QByteArray, allUsers);
    QFETCH(QString, expected);
    const EnvGuard a("ProgramData", programData);
    const EnvGuard b("ALLUSERSPROFILE", allUsers);
    QCOMPARE(SettingsFolder(Platform::Windows), expected);
}

void TestPlatform::testMarker() {
    QCOMPARE(TestMarkerPath(Platform::Windows), QStringLiteral("c:\\test_plonek.txt"));
    QCOMPARE(TestMarkerPath(Platform::Unix), QStringLiteral("/test_plonek.txt"));
}

void TestPlatform::classify_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("accessible");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<int>("expected");
    const auto row = [](const char* name, QSerialPort::SerialPortError e, bool acc, bool win,
                        PortError kind) {
        QTest::newRow(name) << int(e) << acc << win << int(kind);
    };
    row("not found", QSerialPort::DeviceNotFoundError, false, false, PortError::NotFound);
    row("not found, Windows", QSerialPort::DeviceNotFoundError, false, true, PortError::NotFound);
    row("no permission", QSerialPort::PermissionError, false, false, PortError::PermissionDenied);
    row("held by another program", QSerialPort::PermissionError, true, false, PortError::Busy);
    row("access denied on Windows is busy", QSerialPort::PermissionError, false, true,
        PortError::Busy);
    row("already open", QSerialPort::OpenError, true, false, PortError::Busy);
    row("anything else", QSerialPort::UnsupportedOperationError, true, false, PortError::Other);
}

void TestPlatform::classify() {
    QFETCH(int, error);
    QFETCH(bool, accessible);
    QFETCH(bool, windows);
    QFETCH(int, expected);
    QCOMPARE(int(ClassifyOpenError(QSerialPort::SerialPortError(error), accessible,
                                   windows ? Platform::Windows : Platform::Unix)),
             expected);
}

void TestPlatform::portDetail_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("has");
    QTest::addColumn<QStringList>("hasNot");
    const QString dialout = QStringLiteral("dialout");
    QTest::newRow("not found") << int(PortError::NotFound) << false << int(LangEnglish)
                               << QStringList{"Device: /dev/ttyUSB0", "does not exist",
                                              "System: why"}
                               << QStringList{dialout};
    QTest::newRow("permission, Linux hint")
        << int(PortError::PermissionDenied) << false << int(LangEnglish)
        << QStringList{"Permission", "usermod -aG dialout"} << QStringList{};
    QTest::newRow("permission, no hint on Windows")
        << int(PortError::PermissionDenied) << true << int(LangEnglish) << QStringList{"Permission"}
        << QStringList{dialout};
    QTest::newRow("busy") << int(PortError::Busy) << false << int(LangEnglish)
                          << QStringList{"busy", "another program"} << QStringList{dialout};
    QTest::newRow("Czech") << int(PortError::PermissionDenied) << false << int(LangCzech)
                           << QStringList{"Zařízení: /dev/ttyUSB0", "skupiny dialout",
                                          "Systém: why"}
                           << QStringList{"Device"};
    QTest::newRow("German") << int(PortError::Busy) << false << int(LangGerman)
                            << QStringList{"Gerät: /dev/ttyUSB0", "belegt"}
                            << QStringList{"Device"};
}

void TestPlatform::portDetail() {
    QFETCH(int, kind);
    QFETCH(bool, windows);
    QFETCH(int, language);
    QFETCH(QStringList, has);
    QFETCH(QStringList, hasNot);
    const QString detail =
        PortOpenDetail(QStringLiteral("/dev/ttyUSB0"), {PortError(kind), QStringLiteral("why")},
                       language, windows ? Platform::Windows : Platform::Unix);
    for (const QString& part : has)
        QVERIFY2(detail.contains(part), qPrintable(detail));
    for (const QString& part : hasNot)
        QVERIFY2(!detail.contains(part), qPrintable(detail));
}

void TestPlatform::fileDetail() {
    const QString path = QStringLiteral("/tmp/100% sure.ign");
    const QString missing =
        FileErrorDetail(path, QStringLiteral("No such file or directory"), false, LangEnglish);
    QCOMPARE(missing,
             QStringLiteral("File: /tmp/100% sure.ign\nSystem: No such file or directory"));
    const QString damaged = FileErrorDetail(path, QString(), true, LangGerman);
    QVERIFY(damaged.startsWith(QStringLiteral("Datei: /tmp/100% sure.ign\n")));
    QVERIFY(damaged.contains(QStringLiteral("keine vollständige Parameterdatei")));
}

void TestPlatform::searching() {
    QCOMPARE(SearchingText(3, QStringLiteral("/dev/ttyUSB2"), LangEnglish),
             QStringLiteral("Looking for the unit on COM3 (/dev/ttyUSB2)"));
    // On Windows the device is the port's own name, which is not repeated.
    QCOMPARE(SearchingText(12, QStringLiteral("\\\\.\\COM12"), LangCzech),
             QStringLiteral("Hledám jednotku na COM12"));
}

// The real serial-port class says why an open failed.
void TestPlatform::realPortFailures() {
    QTemporaryDir dir;
    SerialPort port;
    QVERIFY(!port.Open(dir.filePath(QStringLiteral("no-such-adapter"))));
    QCOMPARE(port.LastOpenError().kind, PortError::NotFound);
    QVERIFY(!port.LastOpenError().systemText.isEmpty());
#ifdef Q_OS_UNIX
    // A pseudo-terminal that one port holds is busy for a second one.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    const QString pty = QString::fromLocal8Bit(ptsname(master));
    SerialPort first;
    QVERIFY(first.Open(pty));
    QCOMPARE(first.LastOpenError().kind, PortError::None);
    SerialPort second;
    QVERIFY(!second.Open(pty));
    QCOMPARE(second.LastOpenError().kind, PortError::Busy);
    first.Close();
    ::close(master);
#endif
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
