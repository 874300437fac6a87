// zyrk --help and --version: answered by the built program before any window is made, so
// they work with no display at all; any other first argument still starts the window.
#include "CommandLine.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int kRunMs = 15000;
}

class TestCmdline : public QObject {
    Q_OBJECT

  private slots:
    void answersWithoutWindow_data();
    void answersWithoutWindow();
    void otherArgumentsStartTheWindow_data();
    void otherArgumentsStartTheWindow();
    void windowsHelp();

  private:
    QTemporaryDir data_;
    // No display of any kind; platform empty leaves QT_QPA_PLATFORM unset.
    QProcessEnvironment Headless(const QString& platform) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (!platform.isEmpty())
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        env.insert(QStringLiteral("XDG_DATA_HOME"), data_.path());
        return env;
    }
};

void TestCmdline::answersWithoutWindow_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QStringList>("expected");
    const QStringList help{QStringLiteral("Usage: zyrk [ENGLISH | CESKY | DEUTSCH]"),
                           QStringLiteral("  CESKY     Czech"),
                           QStringLiteral("  ENGLISH   English"),
                           QStringLiteral("  DEUTSCH   German"),
                           QStringLiteral("application.ini"),
                           QStringLiteral("/Velkarim/ZYRK/56/")};
    const QStringList version{QStringLiteral("zyrk 56\n")};
    QTest::newRow("--help, no platform") << "--help" << QString() << help;
    QTest::newRow("--help, xcb without display") << "--help"
                                                 << "xcb" << help;
    QTest::newRow("-h, xcb without display") << "-h"
                                             << "xcb" << help;
    QTest::newRow("--version, no platform") << "--version" << QString() << version;
    QTest::newRow("-v, xcb without display") << "-v"
                                             << "xcb" << version;
}

void TestCmdline::answersWithoutWindow() {
    QFETCH(QString, argument);
    QFETCH(QString, platform);
    QFETCH(QStringList, expected);
    QProcess zyrk;
    zyrk.setProcessEnvironment(Headless(platform));
    zyrk.start(QStringLiteral(ZYRK_PATH), {argument, QStringLiteral("ignored")});
    QVERIFY(zyrk.waitForFinished(kRunMs));
    // An attempt at a window with no display would abort: a clean 0 means none was made.
    QCOMPARE(zyrk.exitStatus(), QProcess::NormalExit);
    QCOMPARE(zyrk.exitCode(), 0);
    const QString out = QString::fromLocal8Bit(zyrk.readAllStandardOutput());
    for (const QString& part : expected)
        QVERIFY2(out.contains(part), qPrintable(part + QStringLiteral(" not in:\n") + out));
    if (argument.contains(u'h'))
        QVERIFY(out.contains(QDir(data_.path()).filePath(QStringLiteral("Velkarim/ZYRK/56/"))));
    else
        QCOMPARE(out, expected.first());
    QVERIFY(zyrk.readAllStandardError().isEmpty());
    // Asking for help creates no settings folder.
    QVERIFY(QDir(data_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestCmdline::otherArgumentsStartTheWindow_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("language word") << QStringList{QStringLiteral("ENGLISH")};
    QTest::newRow("help in another case") << QStringList{QStringLiteral("--HELP")};
    QTest::newRow("help as second argument")
        << QStringList{QStringLiteral("DEUTSCH"), QStringLiteral("--help")};
}

// Anything else goes on to the window, which with no display cannot start: the program
// must not answer with the help and a clean exit.
void TestCmdline::otherArgumentsStartTheWindow() {
    QFETCH(QStringList, arguments);
    QProcess zyrk;
    zyrk.setProcessEnvironment(Headless(QStringLiteral("xcb")));
    zyrk.start(QStringLiteral(ZYRK_PATH), arguments);
    QVERIFY(zyrk.waitForFinished(kRunMs));
    QVERIFY(zyrk.exitStatus() != QProcess::NormalExit || zyrk.exitCode() != 0);
    QVERIFY(!zyrk.readAllStandardOutput().contains("Usage:"));
    QVERIFY(zyrk::EarlyOutput(arguments).isEmpty());
}

void TestCmdline::windowsHelp() {
    qputenv("ProgramData", "C:\\ProgramData");
    const QString help = zyrk::HelpText(zyrk::Platform::Windows);
    qunsetenv("ProgramData");
    QVERIFY(help.contains(QStringLiteral("  C:\\ProgramData\\Velkarim\\ZYRK\\56\\\n")));
    QVERIFY(help.contains(QStringLiteral("\\\\.\\COM1 .. \\\\.\\COM21")));
    QVERIFY(!help.contains(QStringLiteral("/dev/tty")));
}

QTEST_GUILESS_MAIN(TestCmdline)
#include "test_cmdline.moc"
