// zyrk-cli end to end: the real program against zyrk-sim on a pseudo-terminal, one row per
// command's success and per exit code. Each row has a simulator of its own, so a programming
// in one row never changes what the next one finds.

#include "Cli.h"
#include "Limits.h"
#include "LogFile.h"
#include "ParameterFile.h"
#include "SimProcess.h"
#include "SimUnit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace zyrk;

namespace {

constexpr int kProcessWaitMs = 5000;
// Generous: a program run waits for the unit's saving (about 4 s); a search passes 21 ports.
constexpr int kCliWaitMs = 30000;
constexpr int kFoundPort = 7; // the port the settings point at the simulator

// The parameter set the simulated unit starts with, as a file.
QByteArray UnitFile(const std::function<void(ParamImage&)>& change = {}) {
    SimUnit unit;
    ParamImage image = unit.store;
    if (change)
        change(image);
    return WriteParameterFile(image);
}

struct Run {
    int exit = -1;
    QString out;
    QString err;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void arguments_data();
    void arguments();
    void commands_data();
    void commands();
    void interruptClosesPort();

  private:
    Run RunCli(const QStringList& arguments, QProcess* started = nullptr);
    QTemporaryDir dir_;
    QString link_;
};

void TestCli::initTestCase() {
    QVERIFY2(QFileInfo(QStringLiteral(ZYRK_CLI_PATH)).isExecutable(), ZYRK_CLI_PATH);
    QVERIFY(dir_.isValid());
    link_ = dir_.filePath(QStringLiteral("unit"));
    // The settings folder of these runs: every port leads nowhere but COM7, the simulator.
    const QString folder = dir_.filePath(QStringLiteral("data/Velkarim/ZYRK/56"));
    QVERIFY(QDir().mkpath(folder));
    QFile ini(folder + QStringLiteral("/application.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[PORTS]\r\n");
    for (int n = 1; n <= kPortCount; ++n) {
        const QString path =
            n == kFoundPort ? link_ : dir_.filePath(QStringLiteral("none%1").arg(n));
        ini.write(QStringLiteral("COM%1=%2\r\n").arg(n).arg(path).toUtf8());
    }
    ini.close();
    QFile good(dir_.filePath(QStringLiteral("good.ign")));
    QVERIFY(good.open(QIODevice::WriteOnly));
    good.write(UnitFile());
    good.close();
    QFile changed(dir_.filePath(QStringLiteral("changed.ign")));
    QVERIFY(changed.open(QIODevice::WriteOnly));
    changed.write(UnitFile([](ParamImage& i) {
        i.SetCell(0, 4, 7, static_cast<uint8_t>(i.Cell(0, 4, 7) + 3));
        i.SetHysterOff(1, static_cast<uint8_t>(i.HysterOff(1) + 2));
    }));
    changed.close();
    // Cut inside the second servo's map: the header is right, a record is not whole.
    QFile damaged(dir_.filePath(QStringLiteral("damaged.ign")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(UnitFile().left(2000) + "x\r\n");
    damaged.close();
}

Run TestCli::RunCli(const QStringList& arguments, QProcess* started) {
    QProcess local;
    QProcess& cli = started ? *started : local;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
    cli.setProcessEnvironment(env);
    cli.setWorkingDirectory(dir_.path());
    cli.start(QStringLiteral(ZYRK_CLI_PATH), arguments);
    Run run;
    if (started)
        return run;
    if (!cli.waitForFinished(kCliWaitMs)) {
        cli.kill();
        cli.waitForFinished(kProcessWaitMs);
        return run;
    }
    run.exit = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.out = QString::fromUtf8(cli.readAllStandardOutput());
    run.err = QString::fromUtf8(cli.readAllStandardError());
    return run;
}

void TestCli::arguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("file");
    QTest::newRow("read") << QStringList{"read", "a.ign"} << true << ""
                          << "a.ign";
    QTest::newRow("options after")
        << QStringList{"verify", "a.ign", "--port", "COM3", "--json"} << true << "COM3"
        << "a.ign";
    QTest::newRow("port=") << QStringList{"--port=/dev/x", "monitor", "--seconds", "2"} << true
                           << "/dev/x"
                           << "";
    QTest::newRow("no command") << QStringList{"--json"} << false << ""
                                << "";
    QTest::newRow("unknown command") << QStringList{"flash", "a.ign"} << false << ""
                                     << "";
    QTest::newRow("no file") << QStringList{"program"} << false << ""
                             << "";
    QTest::newRow("two files") << QStringList{"compare", "a", "b"} << false << ""
                               << "";
    QTest::newRow("file to monitor") << QStringList{"monitor", "a"} << false << ""
                                     << "";
    QTest::newRow("seconds not a number") << QStringList{"monitor", "--seconds", "x"} << false << ""
                                          << "";
    QTest::newRow("log outside monitor")
        << QStringList{"read", "a", "--log", "b.csv"} << false << ""
        << "";
    QTest::newRow("port without value") << QStringList{"read", "a", "--port"} << false << ""
                                        << "";
    QTest::newRow("unknown option") << QStringList{"read", "a", "--fast"} << false << ""
                                    << "";
}

void TestCli::arguments() {
    QFETCH(QStringList, arguments);
    cli::Options options;
    QString error;
    const bool ok = cli::ParseArguments(arguments, options, error);
    QTEST(ok, "ok");
    QCOMPARE(error.isEmpty(), ok); // a refusal always says why
    if (!ok)
        return;
    QTEST(options.port, "port");
    QTEST(options.file, "file");
}

void TestCli::commands_data() {
    QTest::addColumn<QStringList>("simulator"); // faults of the simulated unit
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the unit's port
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("result");   // a part of standard output
    QTest::addColumn<QString>("progress"); // a part of standard error

    const QStringList none;
    QTest::newRow("read") << none << QStringList{"--port", "@", "read", "out.ign"} << 0
                          << "into out.ign, verified"
                          << "verify block 7";
    QTest::newRow("verify") << none << QStringList{"--port", "@", "verify", "good.ign"} << 0
                            << "the unit matches good.ign"
                            << "verify block 7";
    QTest::newRow("program") << none << QStringList{"--port", "@", "program", "changed.ign"} << 0
                             << "verified and saved"
                             << "program block 7";
    QTest::newRow("compare same") << none << QStringList{"--port", "@", "compare", "good.ign"} << 0
                                  << "No differences"
                                  << "read block 7";
    QTest::newRow("compare json") << none << QStringList{"--json", "--quiet", "--port",
                                                         "@",      "compare", "changed.ign"}
                                  << 1 << "\"result\":\"differs\""
                                  << "";
    QTest::newRow("monitor") << none << QStringList{"--port", "@",     "monitor", "--seconds",
                                                    "1",      "--log", "m.csv"}
                             << 0 << "rpm "
                             << "";
    QTest::newRow("search") << none << QStringList{"--quiet", "verify", "good.ign"} << 0
                            << "matches"
                            << "the unit answered on COM7";
    QTest::newRow("port by name") << none << QStringList{"--port", "COM7", "verify", "good.ign"}
                                  << 0 << "matches"
                                  << "verify block 1";
    QTest::newRow("verify differs") << none << QStringList{"--port", "@", "verify", "changed.ign"}
                                    << 1 << "verify block 1: the unit's block differs"
                                    << "";
    QTest::newRow("usage") << none << QStringList{"read"} << 2 << ""
                           << "needs one file";
    QTest::newRow("silent") << QStringList{"--silent"}
                            << QStringList{"--port", "@", "program", "good.ign"} << 3
                            << "program block 0: no reply"
                            << "";
    QTest::newRow("silent search") << QStringList{"--silent"} << QStringList{"--quiet", "monitor"}
                                   << 3 << "no unit answered on COM1 .. COM21"
                                   << "";
    QTest::newRow("cut mid-transfer")
        << QStringList{"--cut-after", "4"} << QStringList{"--port", "@", "program", "good.ign"} << 3
        << "program block 4: no reply"
        << "program block 3";
    QTest::newRow("version 55") << QStringList{"--version", "55"}
                                << QStringList{"--port", "@", "program", "changed.ign"} << 4
                                << "PC-56, IGN-55"
                                << "";
    QTest::newRow("block kept changed") << QStringList{"--changed-block", "3"}
                                        << QStringList{"--port", "@", "program", "changed.ign"} << 1
                                        << "program block 3: the unit's block differs"
                                        << "";
    // The port named here does not exist: a file error before the port is opened is 5, after
    // it would be 3.
    QTest::newRow("file missing") << none
                                  << QStringList{"--port", "nowhere", "program", "missing.ign"} << 5
                                  << "missing.ign: cannot be read"
                                  << "";
    QTest::newRow("file damaged") << none
                                  << QStringList{"--port", "nowhere", "program", "damaged.ign"} << 5
                                  << "damaged.ign: damaged; nothing was sent"
                                  << "";
    QTest::newRow("out not writable")
        << none << QStringList{"--port", "nowhere", "read", "no/such/folder/out.ign"} << 5
        << "cannot be written"
        << "";
}

void TestCli::commands() {
    QFETCH(QStringList, simulator);
    QFETCH(QStringList, arguments);
    QFETCH(QString, result);
    QFETCH(QString, progress);
    Simulator sim;
    QVERIFY(sim.Start(link_, simulator));
    arguments.replaceInStrings(QStringLiteral("@"), link_);
    const Run run = RunCli(arguments);
    QVERIFY2(run.out.contains(result), qPrintable(run.out));
    QVERIFY2(run.err.contains(progress), qPrintable(run.err));
    QTEST(run.exit, "exit");
    if (arguments.contains(QLatin1String("--quiet")))
        QVERIFY2(!run.err.contains(QLatin1String("block")), qPrintable(run.err));

    const QString row = QString::fromLatin1(QTest::currentDataTag());
    if (row == QLatin1String("read")) {
        // What was read is the unit's parameter set, and it reads back cleanly.
        QFile out(dir_.filePath(QStringLiteral("out.ign")));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), UnitFile());
    } else if (row == QLatin1String("compare json")) {
        const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(o.value(QStringLiteral("exit")).toInt(), 1);
        QCOMPARE(o.value(QStringLiteral("differences")).toArray().size(), 2);
        const QJsonObject cell = o.value(QStringLiteral("differences")).toArray()[0].toObject();
        QCOMPARE(cell.value(QStringLiteral("page")).toString(), QStringLiteral("Servo 1"));
        QCOMPARE(cell.value(QStringLiteral("row")).toInt(), 4);
        QCOMPARE(cell.value(QStringLiteral("column")).toInt(), 7);
    } else if (row == QLatin1String("monitor")) {
        QFile csv(dir_.filePath(QStringLiteral("m.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().split('\n');
        // The window's data log: its header, the start row, at least one sample.
        QVERIFY(FormatLogHeader().startsWith(lines.first()));
        QVERIFY(lines.size() >= 4);
        QVERIFY(lines[1].contains(",start,"));
    } else if (row == QLatin1String("version 55")) {
        QVERIFY(!run.err.contains(QLatin1String("program block 1")));
    } else if (row == QLatin1String("usage") || row.startsWith(QLatin1String("file")) ||
               row == QLatin1String("out not writable")) {
        QVERIFY(!run.err.contains(QLatin1String("block")));
    }
}

void TestCli::interruptClosesPort() {
    Simulator sim;
    QVERIFY(sim.Start(link_, {}));
    QProcess cli;
    RunCli({QStringLiteral("--port"), link_, QStringLiteral("monitor")}, &cli);
    QVERIFY(cli.waitForStarted(kProcessWaitMs));
    // Interrupted once live values flow.
    QElapsedTimer timer;
    timer.start();
    while (!cli.canReadLine() && timer.elapsed() < kCliWaitMs)
        cli.waitForReadyRead(kProcessWaitMs);
    QVERIFY(cli.canReadLine());
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(kProcessWaitMs));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 130);
    QVERIFY(cli.readAllStandardOutput().contains("interrupted"));
    // The port was given back: another run opens it and finds the unit at once.
    const Run again = RunCli({QStringLiteral("--port"), link_, QStringLiteral("--quiet"),
                              QStringLiteral("verify"), QStringLiteral("good.ign")});
    QCOMPARE(again.exit, 0);
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
