// The fault matrix: the real window with the real serial-port class against zyrk-sim on a
// pseudo-terminal, one row for each way a unit, a cable or an adapter can misbehave. For each
// it checks what the window tells the user, what the image holds, that the tool finds the
// unit again when an honest one comes back on the same path, and that the window stays
// responsive throughout.
//
// The window runs its own 55 ms timer here instead of the test calling the tick: what is
// under test includes the event loop itself (a port that floods it or blocks it would starve
// the timer), and the simulator on the other end runs in real time anyway. Every wait is
// bounded by a count of the window's ticks, so a broken run fails instead of hanging.

#include "GuiFixture.h"
#include "ParamImage.h"
#include "SerialPort.h"
#include "Settings.h"
#include "SimProcess.h"
#include "SimUnit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace zyrk;

namespace {

enum Command { NoCommand, ReadCommand, ProgramCommand };

// Bounds in ticks of the window's timer; each leaves room for a loaded machine.
constexpr int kConnectTicks = 40;
constexpr int kSilentCheckTicks = kSilentLimit + 4;
// Program or Read with its automatic verify: 15 blocks, up to 5 sends of 4 ticks for one,
// plus the noise row's 100 kB draining at about a read a tick.
constexpr int kTransferTicks = 160;
// The unit's saving countdown after a programming, before "Program device: OK" returns.
constexpr int kSavingTicks = 120;
// Losing the unit (18 silent ticks), a reopen every 30 ticks, a monitor reply: the bound
// allows several reopens.
constexpr int kReturnTicks = 200;
// A wall-clock bound for each tick, so that a timer that stopped firing ends the wait too.
constexpr int kWallMsPerTick = 4 * kTickMs;
constexpr int kPollMs = 5;
// A zero-timer must get its turn within this: a tick's work is a few milliseconds, a frame
// written to a dead port is given up after 100 ms.
constexpr qint64 kResponsiveMs = 1000;

const QString kVersionMessage =
    QStringLiteral("Unmatched version of PC and Ignition programs!  PC-56, IGN-55");

// The image the window starts with: the unit's own blocks changed in every one, with speed
// axes in shape, so that whatever a Read or a Program takes shows.
ParamImage StartImage() {
    ParamImage image = SimUnit().store;
    for (int i = 0; i < kImageSize; ++i)
        image.Set(i, static_cast<uint8_t>(image.At(i) ^ 0x02));
    for (int s = 0; s < kServoCount; ++s) {
        for (int p = 0; p < kMapColumns; ++p)
            image.SetRpm(s, p, static_cast<uint8_t>(10 + 11 * p + s));
    }
    return image;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The window on the real port, with COM1 pointed at the simulator's link.
struct Window {
    Window(const QString& folder, const QString& link) {
        const QByteArray ini =
            "[FORM_HLAV]\r\nComPort=1\r\nLanguage=1\r\n[PORTS]\r\nCOM1=" + link.toUtf8() + "\r\n";
        ok = WriteFile(folder + QStringLiteral("/application.ini"), ini) &&
             WriteFile(folder + QStringLiteral("/default.ini"),
                       DefaultIniText(StartImage(), AllCells{}));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TFormHlav::Options options;
        options.arguments = {QStringLiteral("ENGLISH")};
        options.runTimer = true;
        options.settingsFolder = folder;
        options.testMarker = folder + QStringLiteral("/no-marker.txt");
        form = std::make_unique<TFormHlav>(port, prompter, options);
        QObject::connect(&form->Timer1, &QTimer::timeout, [this] { ++ticks; });
        form->FormCreate();
    }

    // Lets the window run until done() holds, for at most maxTicks of its ticks.
    bool RunUntil(int maxTicks, const std::function<bool()>& done) {
        const int until = ticks + maxTicks;
        QElapsedTimer wall;
        wall.start();
        while (ticks < until && wall.elapsed() < qint64(maxTicks) * kWallMsPerTick) {
            if (done())
                return true;
            QTest::qWait(kPollMs);
        }
        return done();
    }
    void RunTicks(int n) {
        RunUntil(n, [] { return false; });
    }

    // How long a zero-timer waits for its turn, and whether the timer ticked meanwhile.
    bool Responsive(QString& why) {
        QElapsedTimer waited;
        waited.start();
        qint64 served = -1;
        QTimer::singleShot(0, [&] { served = waited.elapsed(); });
        const int before = ticks;
        RunUntil(kReturnTicks, [&] { return served >= 0 && ticks > before; });
        why = QStringLiteral("zero-timer after %1 ms, %2 ticks").arg(served).arg(ticks - before);
        return served >= 0 && served < kResponsiveMs && ticks > before;
    }

    FormHlavUi& ui() { return form->ui; }
    bool Shown(QWidget* w) { return w->isVisibleTo(form.get()); }
    bool Connected() { return !Shown(ui().LabelSpojeni); }

    bool ok = false;
    SerialPort port;
    FakePrompter prompter;
    std::unique_ptr<TFormHlav> form;
    int ticks = 0;
};

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void faultMatrix_data();
    void faultMatrix();
};

void TestFaults::initTestCase() {
    QVERIFY2(QFileInfo(QStringLiteral(ZYRK_SIM_PATH)).isExecutable(), ZYRK_SIM_PATH);
}

void TestFaults::faultMatrix_data() {
    QTest::addColumn<QStringList>("args");      // the simulator's fault switches
    QTest::addColumn<int>("command");           // what the user does once the unit is there
    QTest::addColumn<QString>("status");        // the status label after it; empty: hidden
    QTest::addColumn<QStringList>("messages");  // the message boxes shown
    QTest::addColumn<bool>("block0FromUnit");   // block 0 is then the unit's version block
    QTest::addColumn<bool>("settingsFromUnit"); // blocks 1..7 are then the unit's
    QTest::addColumn<bool>("connectedAfter");   // the unit still answers after the command
    QTest::addColumn<QString>("versionLabel");  // the version label; empty: hidden

    const QString none;
    const QStringList noMessage;
    const QString programError = QStringLiteral("Program error!");
    const QString programOk = QStringLiteral("Program device: OK");
    auto args = [](std::initializer_list<const char*> list) {
        QStringList out;
        for (const char* a : list)
            out << QString::fromLatin1(a);
        return out;
    };

    QTest::newRow("unit switched off")
        << args({}) << int(NoCommand) << none << noMessage << false << false << true << none;
    QTest::newRow("silent unit") << args({"--silent"}) << int(ProgramCommand) << programError
                                 << noMessage << false << false << false << none;
    QTest::newRow("spoilt check bytes")
        << args({"--spoil-check"}) << int(ProgramCommand) << programError << noMessage << false
        << false << false << none;
    QTest::newRow("replies for the block before")
        << args({"--previous-block"}) << int(ProgramCommand) << programError << noMessage << true
        << false << true << none;
    QTest::newRow("block kept changed")
        << args({"--changed-block", "3"}) << int(ProgramCommand) << programError << noMessage
        << true << false << true << none;
    QTest::newRow("another version")
        << args({"--version", "55"}) << int(ReadCommand) << none << QStringList{kVersionMessage}
        << true << false << true << kVersionMessage;
    // The line goes during the restore-point read that comes before the first write, so the
    // unit's version block never reaches the edited image.
    QTest::newRow("line cut mid-Program")
        << args({"--cut-after", "4"}) << int(ProgramCommand) << programError << noMessage << false
        << false << false << none;
    QTest::newRow("line cut mid-Read")
        << args({"--cut-after", "4"}) << int(ReadCommand) << QStringLiteral("Read error!")
        << noMessage << true << false << false << none;
    QTest::newRow("adapter pulled mid-frame")
        << args({"--hang-up-after", "3"}) << int(ProgramCommand) << programError << noMessage
        << false << false << false << none;
    QTest::newRow("100 kB of noise") << args({"--noise", "100000"}) << int(ProgramCommand)
                                     << programOk << noMessage << true << false << true << none;
    QTest::newRow("every reply twice, Program")
        << args({"--twice"}) << int(ProgramCommand) << programOk << noMessage << true << false
        << true << none;
    QTest::newRow("every reply twice, Read")
        << args({"--twice"}) << int(ReadCommand) << QStringLiteral("Verify: OK") << noMessage
        << true << true << true << none;
}

void TestFaults::faultMatrix() {
    QFETCH(QStringList, args);
    QFETCH(int, command);
    QFETCH(QString, status);
    QFETCH(QStringList, messages);
    QFETCH(bool, block0FromUnit);
    QFETCH(bool, settingsFromUnit);
    QFETCH(bool, connectedAfter);
    QFETCH(QString, versionLabel);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("tty"));
    Simulator sim;
    QVERIFY(sim.Start(link, args));
    Window w(dir.path(), link);
    QVERIFY(w.ok);
    QVERIFY(w.port.IsOpen());
    const ParamImage start = w.form->image;
    for (int b = 0; b < kBlockCount; ++b)
        QVERIFY(BlockBytes(start, b) != BlockBytes(SimUnit().store, b));

    // The unit answers, or the window says it does not.
    const bool answers = !args.contains(QStringLiteral("--silent")) &&
                         !args.contains(QStringLiteral("--spoil-check"));
    if (answers) {
        QVERIFY(w.RunUntil(kConnectTicks, [&] { return w.Connected(); }));
    } else {
        w.RunTicks(kSilentCheckTicks);
        QVERIFY(!w.Connected());
    }

    if (command == ReadCommand)
        w.form->MenuReadClick();
    else if (command == ProgramCommand)
        w.form->MenuProgramClick();
    if (command != NoCommand) {
        QVERIFY(w.RunUntil(kTransferTicks, [&] { return w.form->link.LinkMode == ModeMonitor; }));
        if (status.isEmpty()) {
            QVERIFY(w.RunUntil(2, [&] { return !w.Shown(w.ui().LabelHlaseni); }));
        } else {
            // A programming's OK gives way to the unit's saving report and then returns.
            QVERIFY2(w.RunUntil(kSavingTicks,
                                [&] {
                                    return w.Shown(w.ui().LabelHlaseni) &&
                                           w.ui().LabelHlaseni->text() == status;
                                }),
                     qPrintable(w.ui().LabelHlaseni->text()));
        }
    }
    QCOMPARE(w.prompter.messages, messages);

    // The image holds what it must: the unit's version block only where a transfer took it,
    // the settings only from a Read that went through.
    ParamImage expected = start;
    ParamImage unit = SimUnit().store;
    if (args.contains(QStringLiteral("--version")))
        unit.Set(off::UnitVersion, 55);
    if (block0FromUnit)
        expected.SetBlock(0, unit.GetBlock(0).data());
    if (settingsFromUnit) {
        for (int b = 1; b < kBlockCount; ++b)
            expected.SetBlock(b, unit.GetBlock(b).data());
    }
    for (int b = 0; b < kBlockCount; ++b)
        QCOMPARE(BlockBytes(w.form->image, b), BlockBytes(expected, b));

    // Whether the unit is still there after the fault: a transfer that failed kept it from
    // answering monitor requests for a while, so the window looks once that time has passed.
    const CpuClock cpu;
    w.RunTicks(kSilentCheckTicks);
    // Reported, not judged: a figure to compare between rows (a port that fails every write
    // shows here as time burnt while nothing answers).
    qInfo("%s: %lld ms of CPU over %lld ms after the fault", QTest::currentDataTag(), cpu.UsedMs(),
          cpu.WallMs());
    QCOMPARE(w.Connected(), connectedAfter);
    if (args.contains(QStringLiteral("--hang-up-after"))) {
        // The adapter is gone, device node and all, as the simulator was told.
        QCOMPARE(sim.process.state(), QProcess::NotRunning);
        QVERIFY(!QFileInfo(link).isSymLink());
    }
    QCOMPARE(w.Shown(w.ui().LabelVersion), !versionLabel.isEmpty());
    if (!versionLabel.isEmpty())
        QCOMPARE(w.ui().LabelVersion->text(), versionLabel);
    QString why;
    QVERIFY2(w.Responsive(why), qPrintable(why));

    // The unit goes away (if the fault has not taken it already) and an honest one comes back
    // on the same path: the watchdog finds it without a word, and its values flow again.
    sim.Stop();
    Simulator again;
    QVERIFY(again.Start(link));
    const QString rpmBefore = w.ui().LabelRpm->text();
    QVERIFY(w.RunUntil(kReturnTicks, [&] {
        return w.Connected() && w.ui().LabelRpm->text() != rpmBefore &&
               !w.Shown(w.ui().LabelVersion);
    }));
    QCOMPARE(w.prompter.messages, messages);
    QVERIFY2(w.Responsive(why), qPrintable(why));
    for (int b = 0; b < kBlockCount; ++b)
        QCOMPARE(BlockBytes(w.form->image, b), BlockBytes(expected, b));
}

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
