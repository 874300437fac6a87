#include "LinkFixture.h"

#include <QTest>

using namespace zyrk;

namespace {

// The image as a technician would have it: factory values and a few edits.
void EditedImage(ParamImage& image) {
    FactoryDefaults(image);
    image.SetTpEnable(0, 1);
    image.SetCell(0, 4, 7, 123);
    image.SetCell(1, 9, 14, 77);
    image.SetHysterOff(1, 12);
}

QList<int> WithoutMonitor(const QList<int>& commands) {
    QList<int> out;
    for (int c : commands) {
        if (c != kCmdMonitor)
            out << c;
    }
    return out;
}

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT

  private slots:
    void fullProgram();
    void blockKeptChanged();
    void failedSends_data();
    void failedSends();
    void readVersionMismatch();
    void readTakesUnitBlocks();
    void failedReadKeepsImage();
    void verifyIgnoresBlock0();
    void commandRestartsTransfer();
    void foreignRepliesAreNoSignOfLife_data();
    void foreignRepliesAreNoSignOfLife();
    void savingDoesNotHideFailure();
};

void TestTransfer::fullProgram() {
    LinkRig rig;
    EditedImage(rig.image);
    rig.link.OpenPort();
    rig.link.StartProgramming();
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Program device:"));
    QVERIFY(rig.link.Display().gaugeVisible);

    QList<int> gauge;
    QString lastVerifyText;
    int ticks = 0;
    while (rig.link.LinkMode != ModeMonitor && ticks < 100) {
        rig.link.Tick();
        ++ticks;
        gauge << rig.link.Display().gaugeProgress;
        if (rig.link.LinkMode == ModeVerify)
            lastVerifyText = rig.link.Display().statusText;
    }
    qInfo("full Program with verify: %d ticks", ticks);
    QCOMPARE(WithoutMonitor(rig.Commands()),
             (QList<int>{0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x41, 0x42, 0x43, 0x44,
                         0x45, 0x46, 0x47}));
    QVERIFY(gauge.contains(7));
    QCOMPARE(gauge.last(), 7);
    QCOMPARE(lastVerifyText, QStringLiteral("Verify:"));
    // The verify ends within a tick whose monitor step already shows the programming done.
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Program device: OK"));
    QVERIFY(rig.link.ProgramOk);
    // The first frame goes out 1..4 ticks after the command, then one block a tick.
    QVERIFY(ticks <= 4 + 15);
    QCOMPARE(rig.unit.store.Data(), [&] {
        ParamImage expected = rig.image;
        expected.SetBlock(0, rig.unit.store.GetBlock(0).data());
        return expected.Data();
    }());
    QCOMPARE(rig.link.Texts().name, QStringLiteral("ZRK07"));

    // The unit now reports its saving countdown, then the tick shows the OK text.
    rig.unit.busyCountdown = 400;
    rig.unit.moving = false;
    bool sawSaving = false;
    for (int t = 0; t < 60 && !sawSaving; ++t) {
        rig.link.Tick();
        sawSaving = rig.link.Display().statusText == QStringLiteral("Saving:");
    }
    QVERIFY(sawSaving);
    QCOMPARE(rig.link.Display().gaugeMax, 100);
    QCOMPARE(rig.link.Display().gaugeProgress, 50);
    for (int t = 0; t < 100 && rig.link.BusyCountdown > 0; ++t)
        rig.link.Tick();
    rig.link.Tick();
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Program device: OK"));
    QCOMPARE(rig.link.Display().gaugeProgress, 7);
    QVERIFY(rig.link.Display().statusVisible);
}

void TestTransfer::blockKeptChanged() {
    LinkRig rig;
    EditedImage(rig.image);
    rig.unit.faults.changedBlock = 3;
    rig.link.OpenPort();
    rig.link.StartProgramming();
    QList<int> sendTicks;
    int t = 0;
    while (rig.link.LinkMode == ModeProgram && t < 100) {
        const int before = int(rig.port.written.size());
        rig.link.Tick();
        ++t;
        if (rig.port.written.size() > before && uint8_t(rig.port.written.last()[0]) == 0x03)
            sendTicks << t;
    }
    QCOMPARE(sendTicks.size(), 5);
    for (int i = 1; i < 5; ++i)
        QCOMPARE(sendTicks[i] - sendTicks[i - 1], 4);
    QCOMPARE(t - sendTicks.last(), 4);
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Program error!"));
    QCOMPARE(rig.link.Display().statusShade, Shade::Red);
    QCOMPARE(rig.link.LinkMode, uint8_t(ModeMonitor));
}

void TestTransfer::failedSends_data() {
    QTest::addColumn<int>("command"); // 0 program, 1 verify, 2 read
    QTest::addColumn<QString>("error");
    QTest::newRow("program to a silent unit") << 0 << "Program error!";
    QTest::newRow("verify with spoiled check bytes") << 1 << "Verify error!";
    QTest::newRow("read answered for the previous block") << 2 << "Read error!";
}

void TestTransfer::failedSends() {
    QFETCH(int, command);
    LinkRig rig;
    EditedImage(rig.image);
    rig.link.OpenPort();
    rig.unit.faults.silent = command == 0;
    rig.unit.faults.spoilCheck = command == 1;
    rig.unit.faults.previousBlock = command == 2;
    if (command == 0)
        rig.link.StartProgramming();
    else if (command == 1)
        rig.link.StartVerify();
    else
        rig.link.StartRead();
    rig.link.ProgramOk = true;
    const int ticks = rig.RunTransfer();
    QVERIFY(ticks > 0);
    QTEST(rig.link.Display().statusText, "error");
    QCOMPARE(rig.link.Display().statusShade, Shade::Red);
    if (command >= 1)
        QVERIFY(!rig.link.ProgramOk);
}

void TestTransfer::readVersionMismatch() {
    LinkRig rig;
    EditedImage(rig.image);
    const ParamImage before = rig.image;
    rig.unit.faults.version = 55;
    rig.link.OpenPort();
    rig.link.StartRead();
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(rig.host.messages,
             QStringList{"Unmatched version of PC and Ignition programs!  PC-56, IGN-55"});
    QCOMPARE(int(rig.image.UnitVersion()), 55);
    QCOMPARE(rig.image.At(0), uint8_t('Z'));
    for (int b = 1; b < kBlockCount; ++b)
        QVERIFY(rig.image.BlockEquals(b, before.GetBlock(b).data()));
    QCOMPARE(rig.host.shows, 1);
    // The box returned at once here, so the tick that took block 0 already hides the label.
    QVERIFY(!rig.link.Display().statusVisible);
    QVERIFY(!rig.link.Display().gaugeVisible);
}

void TestTransfer::readTakesUnitBlocks() {
    LinkRig rig;
    rig.unit.store.SetCell(1, 2, 3, 201);
    rig.unit.store.Set(62, 0x5A); // a reserved byte travels too
    rig.link.OpenPort();
    rig.link.StartRead();
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(rig.image.Data(), rig.unit.store.Data());
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Verify: OK"));
    QCOMPARE(WithoutMonitor(rig.Commands()),
             (QList<int>{0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x41, 0x42, 0x43, 0x44,
                         0x45, 0x46, 0x47}));
    QCOMPARE(rig.host.shows, 1);
    QCOMPARE(rig.link.Texts().date, QStringLiteral("17.10.2022"));
}

void TestTransfer::failedReadKeepsImage() {
    LinkRig rig;
    EditedImage(rig.image);
    const ParamImage before = rig.image;
    rig.unit.store.SetCell(0, 0, 0, 9); // the unit holds other values
    rig.unit.faults.cutAfterFrames = 4; // the line is cut after block 3
    rig.link.OpenPort();
    rig.link.StartRead();
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Read error!"));
    for (int b = 1; b < kBlockCount; ++b)
        QVERIFY2(rig.image.BlockEquals(b, before.GetBlock(b).data()),
                 qPrintable(QString::number(b)));
    QCOMPARE(rig.image.At(off::UnitVersion), uint8_t(56)); // block 0 still arrived
}

void TestTransfer::verifyIgnoresBlock0() {
    LinkRig rig;
    rig.image = rig.unit.store;
    rig.image.Set(5, 99);
    rig.image.Set(off::UnitVersion, 12);
    rig.link.OpenPort();
    rig.link.StartVerify();
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Verify: OK"));
    QCOMPARE(rig.link.Display().gaugeProgress, 7);
    QCOMPARE(WithoutMonitor(rig.Commands()).first(), 0x41);
}

void TestTransfer::commandRestartsTransfer() {
    LinkRig rig;
    EditedImage(rig.image);
    rig.link.OpenPort();
    rig.link.StartProgramming();
    rig.Ticks(7); // a few blocks are through
    QCOMPARE(rig.link.LinkMode, uint8_t(ModeProgram));
    rig.port.written.clear();
    rig.link.StartRead();
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Read:"));
    QCOMPARE(rig.link.Display().gaugeProgress, 0);
    rig.Ticks(4);
    QVERIFY(!rig.Commands().isEmpty());
    QCOMPARE(WithoutMonitor(rig.Commands()).first(), 0x40);
}

void TestTransfer::foreignRepliesAreNoSignOfLife_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("reply");
    QTest::newRow("previous block's reply") << int(ModeRead) << 0xC1;
    QTest::newRow("block reply while monitoring") << int(ModeMonitor) << 0xC2;
}

void TestTransfer::foreignRepliesAreNoSignOfLife() {
    QFETCH(int, mode);
    QFETCH(int, reply);
    LinkRig rig;
    rig.unit.faults.silent = true;
    rig.link.OpenPort();
    rig.link.SilentTicks = 10;
    if (mode == ModeRead) {
        rig.link.StartRead();
        rig.link.BlockCommand = 0x42;
    }
    const ParamImage before = rig.image;
    uint8_t data[kFrameData];
    for (int i = 0; i < kFrameData; ++i)
        data[i] = 0xEE;
    rig.port.Inject(MakeFrame(static_cast<uint8_t>(reply), data));
    rig.link.Tick();
    QCOMPARE(rig.link.SilentTicks, uint8_t(11));
    QCOMPARE(rig.image.Data(), before.Data());
}

void TestTransfer::savingDoesNotHideFailure() {
    LinkRig rig;
    EditedImage(rig.image);
    rig.link.OpenPort();
    rig.link.BusyCountdown = 600; // the unit was saving at its last report
    rig.unit.faults.silent = true;
    rig.link.StartRead();
    QVERIFY(rig.RunTransfer() > 0);
    rig.Ticks(5);
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Read error!"));
    QCOMPARE(rig.link.Display().statusShade, Shade::Red);
    // Once the error has had its time, the saving report shows again.
    rig.Ticks(200);
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Saving:"));
}

QTEST_GUILESS_MAIN(TestTransfer)
#include "test_transfer.moc"
