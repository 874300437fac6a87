// The link with the real serial-port class against zyrk-sim on a pseudo-terminal. The round
// trip through the terminal takes real time, so these tests pause a tick's length between
// ticks; every loop is bounded by a tick count, so a broken run fails instead of hanging.

#include "Frame.h"
#include "Limits.h"
#include "Link.h"
#include "Messages.h"
#include "ParamImage.h"
#include "SerialPort.h"
#include "SimProcess.h"
#include "SimUnit.h"

#include <cstdlib>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <unistd.h>

using namespace zyrk;

namespace {

constexpr int kProcessWaitMs = Simulator::kProcessWaitMs;
// A reply needs a monitor request, which goes out every sixth tick, plus the tick that
// polls the answer; the bounds leave room for a loaded machine.
constexpr int kFirstReplyTicks = 20;
constexpr int kConnectTicks = 40;
constexpr int kNextReplyTicks = 2 * kMonitorEveryTicks + 1;
constexpr int kLossTicks = 30;
constexpr int kReconnectBoundTicks = 100;
// Program or Read with its automatic verify: 15 blocks, up to 5 sends of 4 ticks for one.
constexpr int kTransferTicks = 80;
// The simulated unit counts its saving down over ten monitor replies.
constexpr int kSavingTicks =
    (SimUnit::kBusyStart / SimUnit::kBusyStepPerReply + 2) * kMonitorEveryTicks;
constexpr int kReplyWaitMs = 1000;
constexpr int kPollStepMs = 5;
// Longer than the simulator's frame gap, so that it gives up a partial frame.
constexpr int kStallMs = 60;
constexpr int kQuickMs = 2;

class FakeHost : public LinkHost {
  public:
    explicit FakeHost(ParamImage& image) : image_(image) {}
    void ApplyLimits() override { ApplyAxisLimits(image_); }
    void ShowImage() override {}
    void ShowMessage(const QString& text) override { messages << text; }
    QStringList messages;

  private:
    ParamImage& image_;
};

// The link as the window holds it, on the real port class, with COM1 pointed at the path.
struct Rig {
    explicit Rig(const QString& path) {
        messages.Fill(LangEnglish);
        link.Names().SetPath(1, path);
        link.ComIndex = 0;
        link.SilentTicks = kSilentLimit; // start-up marks the unit as not connected
        link.OpenPort();
    }

    // Ticks like the window timer until done() holds; the tick count it took, or -1.
    int TickUntil(int maxTicks, const std::function<bool()>& done) {
        for (int t = 1; t <= maxTicks; ++t) {
            QTest::qWait(kTickMs);
            link.Tick();
            if (done())
                return t;
        }
        return -1;
    }

    const LinkDisplay& Shown() const { return link.Display(); }

    ParamImage image;
    MessageTable messages;
    FakeHost host{image};
    SerialPort port;
    Link link{port, image, messages, host};
};

} // namespace

class TestE2e : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void monitorLossAndReconnect();
    void programThenReadBack();
    void unitFaults_data();
    void unitFaults();
    void frameAssembly_data();
    void frameAssembly();
    void commandLine_data();
    void commandLine();
    void keepsForeignFileAtLinkPath();
    void exitsWhenStdinEnds();
    void pulledAdapterStopsWriting();
};

void TestE2e::initTestCase() {
    QVERIFY2(QFileInfo(QStringLiteral(ZYRK_SIM_PATH)).isExecutable(), ZYRK_SIM_PATH);
}

void TestE2e::monitorLossAndReconnect() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tty"));
    // A link left by a simulator that died is taken over.
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/pts"), path));

    Simulator sim;
    QVERIFY(sim.Start(path));
    QCOMPARE(QFileInfo(path).symLinkTarget(), sim.device);

    Rig rig(path);
    QVERIFY(rig.port.IsOpen());
    QVERIFY(rig.host.messages.isEmpty());
    const QString designRpm = rig.Shown().rpmText;
    QVERIFY(rig.TickUntil(kConnectTicks, [&] {
        return !rig.Shown().connectionVisible && rig.Shown().rpmText != designRpm;
    }) > 0);
    QVERIFY(rig.Shown().rpmText.startsWith(QStringLiteral("RPM = ")));

    // Closing and reopening the port, as a pick from the Com menu does, leaves the unit
    // serving: the terminal must survive the moment nobody has it open.
    rig.link.SelectPort(0);
    QVERIFY(rig.port.IsOpen());
    const QString beforeReopen = rig.Shown().rpmText;
    QVERIFY(rig.TickUntil(kNextReplyTicks, [&] { return rig.Shown().rpmText != beforeReopen; }) >
            0);

    // The unit goes away; a clean stop takes its link along.
    QCOMPARE(sim.Stop(), 0);
    QVERIFY(!QFileInfo(path).isSymLink());
    const int lostAt = rig.TickUntil(kLossTicks, [&] { return rig.Shown().connectionVisible; });
    QCOMPARE(lostAt, kSilentLimit);

    // Nothing answers: the label stays through a reopen of a path that is gone, and the
    // watchdog's reopen stays quiet.
    QCOMPARE(rig.TickUntil(kReconnectTicks + kMonitorEveryTicks,
                           [&] { return !rig.Shown().connectionVisible; }),
             -1);
    QVERIFY(rig.host.messages.isEmpty());

    // The unit is back at the same path: the watchdog's next reopen finds it.
    Simulator again;
    QVERIFY(again.Start(path));
    QVERIFY(rig.TickUntil(kReconnectBoundTicks, [&] { return !rig.Shown().connectionVisible; }) >
            0);
    QVERIFY(rig.host.messages.isEmpty());
}

void TestE2e::programThenReadBack() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tty"));
    Simulator sim;
    QVERIFY(sim.Start(path));
    Rig rig(path);
    QVERIFY(rig.TickUntil(kConnectTicks, [&] { return !rig.Shown().connectionVisible; }) > 0);

    // A pattern unlike the factory values in every byte of blocks 1..7, with speed axes that
    // the consistency rules leave as they are.
    constexpr int kPatternStep = 37;
    constexpr int kPatternBase = 11;
    constexpr int kAxisBase = 10;
    constexpr int kAxisStep = 11;
    for (int i = kBlockSize; i < kImageSize; ++i)
        rig.image.Set(i, static_cast<uint8_t>((i * kPatternStep + kPatternBase) & 0xFF));
    for (int s = 0; s < kServoCount; ++s) {
        for (int p = 0; p < kMapColumns; ++p)
            rig.image.SetRpm(s, p, static_cast<uint8_t>(kAxisBase + kAxisStep * p + s));
    }
    ParamImage pattern = rig.image;
    ApplyAxisLimits(pattern);
    QVERIFY(pattern == rig.image);

    rig.link.StartProgramming();
    QVERIFY(rig.TickUntil(kTransferTicks, [&] { return rig.link.LinkMode == ModeMonitor; }) > 0);
    // The verify's "Verify: OK" gives way in the same tick to the programming's OK text: the
    // unit's last report, from before the programming, had no saving countdown.
    QVERIFY(rig.link.ProgramOk);
    QCOMPARE(rig.Shown().statusText, QStringLiteral("Program device: OK"));
    QCOMPARE(rig.Shown().statusShade, Shade::ButtonFace);
    QCOMPARE(rig.Shown().gaugeProgress, kGaugeBlocks);
    // Block 0 is now the unit's own; the settings went out unchanged.
    const SimUnit fresh;
    QCOMPARE(BlockBytes(rig.image, 0), BlockBytes(fresh.store, 0));
    QCOMPARE(rig.link.Texts().name, BuildUnitTexts(fresh.store).name);
    for (int b = 1; b < kBlockCount; ++b)
        QCOMPARE(BlockBytes(rig.image, b), BlockBytes(pattern, b));
    // The unit stores what it got and reports its countdown until it is done.
    QVERIFY(rig.TickUntil(kNextReplyTicks,
                          [&] { return rig.Shown().statusText == QStringLiteral("Saving:"); }) > 0);
    QVERIFY(rig.TickUntil(kSavingTicks, [&] {
        return rig.Shown().statusText == QStringLiteral("Program device: OK");
    }) > 0);

    const ParamImage programmed = rig.image;
    for (int i = kBlockSize; i < kImageSize; ++i)
        rig.image.Set(i, static_cast<uint8_t>(rig.image.At(i) ^ 0xA5));
    rig.link.StartRead();
    QVERIFY(rig.TickUntil(kTransferTicks, [&] { return rig.link.LinkMode == ModeMonitor; }) > 0);
    QCOMPARE(rig.Shown().statusText, QStringLiteral("Verify: OK"));
    for (int b = 0; b < kBlockCount; ++b)
        QCOMPARE(BlockBytes(rig.image, b), BlockBytes(programmed, b));
    QVERIFY(rig.host.messages.isEmpty());
}

void TestE2e::unitFaults_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("answers");    // monitor replies reach the tool
    QTest::addColumn<bool>("moving");     // the live values change from reply to reply
    QTest::addColumn<bool>("program");    // run a Program command
    QTest::addColumn<QString>("status");  // status text after it, if it matters
    QTest::addColumn<QString>("message"); // the one message box expected, if any
    QTest::addColumn<bool>("answersAfter");
    QTest::addColumn<QString>("versionText"); // the version label, empty when hidden

    const QString none;
    const QString versionText =
        QStringLiteral("Unmatched version of PC and Ignition programs!  PC-56, IGN-55");
    const QString programError = QStringLiteral("Program error!");
    QTest::newRow("still values") << QStringList{QStringLiteral("--still")} << true << false
                                  << false << none << none << true << none;
    QTest::newRow("silent") << QStringList{QStringLiteral("--silent")} << false << false << false
                            << none << none << false << none;
    QTest::newRow("spoilt check byte") << QStringList{QStringLiteral("--spoil-check")} << false
                                       << false << false << none << none << false << none;
    QTest::newRow("other version")
        << QStringList{QStringLiteral("--version"), QStringLiteral("55")} << true << true << true
        << none << versionText << true << versionText;
    QTest::newRow("block kept changed")
        << QStringList{QStringLiteral("--changed-block"), QStringLiteral("3")} << true << true
        << true << programError << none << true << none;
    QTest::newRow("replies for the block before")
        << QStringList{QStringLiteral("--previous-block")} << true << true << true << programError
        << none << true << none;
    QTest::newRow("line cut mid-transfer") << QStringList{QStringLiteral("--cut-after=4")} << true
                                           << true << true << programError << none << false << none;
}

void TestE2e::unitFaults() {
    QFETCH(QStringList, args);
    QFETCH(bool, answers);
    QFETCH(bool, moving);
    QFETCH(bool, program);
    QFETCH(QString, status);
    QFETCH(QString, message);
    QFETCH(bool, answersAfter);
    QFETCH(QString, versionText);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tty"));
    Simulator sim;
    QVERIFY(sim.Start(path, args));
    Rig rig(path);
    const QString designRpm = rig.Shown().rpmText;

    const bool answered =
        rig.TickUntil(kFirstReplyTicks, [&] { return !rig.Shown().connectionVisible; }) > 0;
    QCOMPARE(answered, answers);
    if (!answered) {
        QCOMPARE(rig.Shown().rpmText, designRpm);
    } else {
        const QString first = rig.Shown().rpmText;
        const bool changed =
            rig.TickUntil(kNextReplyTicks, [&] { return rig.Shown().rpmText != first; }) > 0;
        QCOMPARE(changed, moving);
    }

    if (program) {
        rig.link.StartProgramming();
        QVERIFY(rig.TickUntil(kTransferTicks, [&] { return rig.link.LinkMode == ModeMonitor; }) >
                0);
        if (!status.isEmpty())
            QCOMPARE(rig.Shown().statusText, status);
    }
    QCOMPARE(rig.host.messages, message.isEmpty() ? QStringList{} : QStringList{message});

    const bool answering =
        rig.TickUntil(kFirstReplyTicks, [&] { return !rig.Shown().connectionVisible; }) > 0;
    QCOMPARE(answering, answersAfter);
    QCOMPARE(rig.Shown().versionVisible, !versionText.isEmpty());
    if (!versionText.isEmpty())
        QCOMPARE(rig.Shown().versionText, versionText);
}

void TestE2e::frameAssembly_data() {
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<int>("pauseMs"); // between chunks
    QTest::addColumn<int>("replies");

    const QByteArray request = MakeFrame(kCmdMonitor);
    const QByteArray noise("\x55\xAA\x00\x30\xFF\x13\x7E", 7);
    QTest::newRow("one frame") << QList<QByteArray>{request} << 0 << 1;
    QTest::newRow("two frames in one write") << QList<QByteArray>{request + request} << 0 << 2;
    QTest::newRow("frame in two pieces")
        << QList<QByteArray>{request.left(20), request.mid(20)} << kQuickMs << 1;
    QTest::newRow("noise, a pause, a frame") << QList<QByteArray>{noise, request} << kStallMs << 1;
    QTest::newRow("stalled half frame, then a whole one")
        << QList<QByteArray>{request.left(30), request} << kStallMs << 1;
}

void TestE2e::frameAssembly() {
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(int, pauseMs);
    QFETCH(int, replies);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Simulator sim;
    QVERIFY(sim.Start(dir.filePath(QStringLiteral("tty"))));
    SerialPort port;
    QVERIFY(port.Open(sim.device));
    for (int i = 0; i < chunks.size(); ++i) {
        if (i > 0)
            QTest::qWait(pauseMs);
        port.Write(chunks[i]);
    }

    const qint64 expected = static_cast<qint64>(replies) * kFrameSize;
    QElapsedTimer timer;
    timer.start();
    while (port.BytesWaiting() < expected && timer.elapsed() < kReplyWaitMs)
        QTest::qWait(kPollStepMs);
    // Long enough for a reply too many to turn up as well.
    QTest::qWait(kStallMs);
    port.BytesWaiting();
    const QByteArray rx = port.Read(kRxCap);
    QCOMPARE(rx.size(), expected);
    for (int r = 0; r < replies; ++r) {
        const QByteArray frame = rx.mid(r * kFrameSize, kFrameSize);
        QVERIFY(FrameIsValid(frame));
        QCOMPARE(FrameByte(frame, 0), kCmdMonitorReply);
    }
}

void TestE2e::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");

    constexpr int kUsageError = 2;
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0;
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << kUsageError;
    QTest::newRow("link without a path") << QStringList{QStringLiteral("--link")} << kUsageError;
    QTest::newRow("empty link path") << QStringList{QStringLiteral("--link=")} << kUsageError;
    QTest::newRow("changed block 0 is the unit's own")
        << QStringList{QStringLiteral("--changed-block"), QStringLiteral("0")} << kUsageError;
    QTest::newRow("changed block past the last")
        << QStringList{QStringLiteral("--changed-block"), QStringLiteral("8")} << kUsageError;
    QTest::newRow("version beyond a byte")
        << QStringList{QStringLiteral("--version"), QStringLiteral("256")} << kUsageError;
    QTest::newRow("version not a number")
        << QStringList{QStringLiteral("--version"), QStringLiteral("5x")} << kUsageError;
    QTest::newRow("negative cut") << QStringList{QStringLiteral("--cut-after"),
                                                 QStringLiteral("-1")}
                                  << kUsageError;
    QTest::newRow("value on a switch") << QStringList{QStringLiteral("--silent=1")} << kUsageError;
    QTest::newRow("noise not a number")
        << QStringList{QStringLiteral("--noise"), QStringLiteral("lots")} << kUsageError;
    QTest::newRow("negative hang-up")
        << QStringList{QStringLiteral("--hang-up-after=-2")} << kUsageError;
}

void TestE2e::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);

    QProcess process;
    process.start(QStringLiteral(ZYRK_SIM_PATH), args);
    QVERIFY(process.waitForFinished(kProcessWaitMs));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QByteArray out = process.readAllStandardOutput();
    const QByteArray err = process.readAllStandardError();
    if (exitCode == 0) {
        QVERIFY(out.startsWith("Usage: zyrk-sim"));
    } else {
        // No device line that a reader could take for a served terminal.
        QVERIFY(out.isEmpty());
        QVERIFY(err.startsWith("zyrk-sim: "));
    }
}

void TestE2e::keepsForeignFileAtLinkPath() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("settings.txt"));
    const QByteArray content("somebody's data\n");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }

    QProcess process;
    process.start(QStringLiteral(ZYRK_SIM_PATH), {QStringLiteral("--link"), path});
    QVERIFY(process.waitForFinished(kProcessWaitMs));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardOutput().isEmpty());

    QVERIFY(!QFileInfo(path).isSymLink());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("settings.txt")});
}

void TestE2e::exitsWhenStdinEnds() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tty"));
    Simulator sim;
    QVERIFY(sim.Start(path));
    QVERIFY(QFileInfo(path).isSymLink());
    sim.process.closeWriteChannel();
    QVERIFY(sim.process.waitForFinished(kProcessWaitMs));
    QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.exitCode(), 0);
    QVERIFY(!QFileInfo(path).isSymLink());
}

QTEST_GUILESS_MAIN(TestE2e)
namespace {

// The two ends of a fresh pseudo-terminal: the tool opens the device by its path, the test
// plays the adapter on the other end and can pull it out by closing it.
struct Terminal {
    int master = -1;
    QString device;
    Terminal() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            device = QString::fromLocal8Bit(ptsname(master));
    }
    ~Terminal() { Pull(); }
    void Pull() {
        if (master >= 0)
            close(master);
        master = -1;
    }
    // Whatever reached the adapter's end within the wait.
    QByteArray Take(int waitMs) {
        QByteArray got;
        pollfd p{master, POLLIN, 0};
        while (poll(&p, 1, waitMs) > 0 && (p.revents & POLLIN)) {
            char buffer[256];
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            got.append(buffer, n);
            waitMs = 0;
        }
        return got;
    }
};

} // namespace

// A frame leaves whole; once the adapter is gone, the first failed write stops all writing
// and drops what was queued, so nothing is retried at the speed of the event loop; a port
// opened again writes again.
void TestE2e::pulledAdapterStopsWriting() {
    Terminal adapter;
    QVERIFY(!adapter.device.isEmpty());
    SerialPort port;
    QVERIFY(port.Open(adapter.device));
    const QByteArray frame = MakeFrame(kCmdMonitor);
    port.Write(frame);
    QCOMPARE(adapter.Take(kReplyWaitMs), frame);
    QVERIFY(!port.WriteStopped());

    adapter.Pull();
    for (int i = 0; i < 3; ++i)
        port.Write(frame);
    QVERIFY(port.WriteStopped());
    QCOMPARE(port.Queued(), 0);

    // What the window does meanwhile: a tick's worth of writes and polls, and the event loop.
    const CpuClock cpu;
    for (int tick = 0; tick < 10; ++tick) {
        port.Write(frame);
        port.BytesWaiting();
        QTest::qWait(kTickMs);
        QCOMPARE(port.Queued(), 0);
    }
    qInfo("CPU while the adapter is gone: %lld ms over %lld ms", cpu.UsedMs(), cpu.WallMs());

    Terminal again;
    QVERIFY(port.Open(again.device));
    QVERIFY(!port.WriteStopped());
    port.Write(frame);
    QCOMPARE(again.Take(kReplyWaitMs), frame);
}

#include "test_e2e.moc"
