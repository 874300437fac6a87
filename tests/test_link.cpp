#include "LinkFixture.h"

#include <QRandomGenerator>
#include <QTest>

using namespace zyrk;

class TestLink : public QObject {
    Q_OBJECT

  private slots:
    void checkByte_data();
    void checkByte();
    void monitorDecoding_data();
    void monitorDecoding();
    void monitorLabels();
    void badReplyChangesNothing();
    void nearestColumn_data();
    void nearestColumn();
    void nearestRow_data();
    void nearestRow();
    void pollThresholds_data();
    void pollThresholds();
    void garbageNeverStopsMonitor();
    void monitorRequestEverySixthTick();
    void connectionLabelOn18thSilentTick();
    void fixedPortReopensEvery30Ticks();
    void autoSearchWraps();
    void missingFixedPortBoxOnce();
    void menuPickReportsAgain();
    void portLabel_data();
    void portLabel();
    void savingAndOkDisplay();
    void statusVanishesAfter200Ticks();
    void versionLabelHiddenWithoutConnection();
};

void TestLink::checkByte_data() {
    QTest::addColumn<int>("flipAt"); // -1: no bit flipped
    QTest::addColumn<bool>("valid");
    QTest::newRow("good") << -1 << true;
    QTest::newRow("command bit") << 0 << false;
    QTest::newRow("data bit") << 17 << false;
    QTest::newRow("check bit") << 51 << false;
}

void TestLink::checkByte() {
    QFETCH(int, flipAt);
    uint8_t data[kFrameData];
    for (int i = 0; i < kFrameData; ++i)
        data[i] = static_cast<uint8_t>(i * 7 + 3);
    QByteArray frame = MakeFrame(0x45, data);
    if (flipAt >= 0)
        frame[flipAt] = static_cast<char>(frame[flipAt] ^ 0x10);
    QTEST(FrameIsValid(frame), "valid");
    QVERIFY(!FrameIsValid(frame.left(51)));
    // The monitor request is 0x30, fifty zeros and 0xCF.
    const QByteArray request = MakeFrame(kCmdMonitor);
    QCOMPARE(uint8_t(request[51]), uint8_t(0xCF));
    QCOMPARE(request.count('\0'), 50);
}

void TestLink::monitorDecoding_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("rpm");
    QTest::addColumn<int>("rpmGauge");
    QTest::addColumn<QString>("tps");
    QTest::addColumn<bool>("tpsRed");
    QTest::addColumn<int>("tpsGauge");
    QTest::addColumn<QString>("napeti");
    QTest::addColumn<int>("napetiShade");
    QTest::addColumn<int>("liveTpsMv");

    const int face = int(Shade::ButtonFace), red = int(Shade::Red), yellow = int(Shade::Yellow);
    QTest::newRow("throttle full scale")
        << MonitorFrame(3499, 1023, 260, 45) << "RPM = 3499 " << 34 << "TP= 45 %=5000 mV" << false
        << 45 << "U= 14.0 V" << face << 5000;
    QTest::newRow("throttle half scale, supply red")
        << MonitorFrame(12345, 512, 340, 100) << "RPM = 12345 " << 100 << "TP= 100 %=2502 mV"
        << false << 100 << "U= 18.3 V" << red << 2502;
    QTest::newRow("sensor error") << MonitorFrame(0, 300, 280, 101) << "RPM = 0 " << 0
                                  << "TP=error=1466 mV" << true << 0 << "U= 15.0 V" << yellow
                                  << 1466;
    QTest::newRow("supply low red") << MonitorFrame(0, 0, 130, 0) << "RPM = 0 " << 0
                                    << "TP= 0 %=0 mV" << false << 0 << "U=  7.0 V" << red << 0;
    QTest::newRow("supply low yellow")
        << MonitorFrame(0, 0, 204, 0) << "RPM = 0 " << 0 << "TP= 0 %=0 mV" << false << 0
        << "U= 11.0 V" << yellow << 0;
}

void TestLink::monitorDecoding() {
    QFETCH(QByteArray, frame);
    LinkRig rig;
    rig.link.OpenPort();
    rig.port.Inject(frame);
    rig.link.Tick();
    const LinkDisplay& d = rig.link.Display();
    QTEST(d.rpmText, "rpm");
    QTEST(d.rpmGauge, "rpmGauge");
    QTEST(d.tpsText, "tps");
    QTEST(d.tpsShade == Shade::Red, "tpsRed");
    QTEST(d.tpsGauge, "tpsGauge");
    QTEST(d.napetiText, "napeti");
    QTEST(int(d.napetiShade), "napetiShade");
    QTEST(int(rig.link.LiveTpsMv), "liveTpsMv");
    QCOMPARE(rig.link.SilentTicks, uint8_t(1));
}

void TestLink::monitorLabels() {
    LinkRig rig;
    rig.link.OpenPort();
    rig.image.SetServoEnable(0, 1); // servo 1 enabled but reported off: a fault
    rig.image.SetServoEnable(1, 0); // servo 2 disabled: never a fault
    uint8_t d[kFrameData] = {};
    auto word = [&d](int at, int v) {
        d[at - 1] = static_cast<uint8_t>(v);
        d[at] = static_cast<uint8_t>(v >> 8);
    };
    word(7, 1111);
    word(9, 2222);
    word(11, 3333);
    word(13, 4444);
    word(15, 321);
    for (int i = 0; i < 8; ++i)
        word(23 + 2 * i, 100 + i);
    word(47, 400);
    d[48] = 1; // data error
    d[49] = 55;
    d[40] = 60;                  // throttle 60 %
    word(1, 4000);               // engine speed
    rig.image.SetTpEnable(0, 1); // servo 1 uses every row, servo 2 only row 0
    QList<MonitorSample> samples;
    rig.link.AddSampleObserver([&samples](const MonitorSample& s) { samples << s; });
    rig.port.Inject(MakeFrame(kCmdMonitorReply, d));
    rig.link.Tick();

    // The observers get the same reply decoded once, in raw units.
    QCOMPARE(samples.size(), 1);
    const MonitorSample& s = samples[0];
    QVERIFY(s.timeMs > 0);
    // Every field, so that one the decoder forgets shows up here.
    MonitorSample want;
    want.timeMs = s.timeMs;
    want.rpm = 4000;
    want.tpPercent = 60;
    want.servoMeasuredMv = {1111, 3333};
    want.servoDesiredMv = {2222, 4444};
    want.servoState = {0, 0};
    want.programCount = 321;
    for (size_t i = 0; i < want.test.size(); ++i)
        want.test[i] = static_cast<uint16_t>(100 + i);
    want.busyCountdown = 400;
    want.dataError = true;
    want.unitVersion = 55;
    want.liveRow = {7, 0};
    const uint8_t column = uint8_t(NearestColumn(rig.image.Data().data() + 70, 4000));
    want.liveColumn = {column, column};
    QCOMPARE(s, want);
    QCOMPARE(rig.link.LastSample().rpm, uint16_t(4000));

    const LinkDisplay& v = rig.link.Display();
    QCOMPARE(v.servoPozText[0], QStringLiteral("Servo desired 1 = 2222 mV"));
    QCOMPARE(v.servoMerText[0], QStringLiteral("Servo measured 1 = 1111 mV"));
    QCOMPARE(v.servoPozText[1], QStringLiteral("Servo desired 2 = 4444 mV"));
    QCOMPARE(v.servoMerText[1], QStringLiteral("Servo measured 2 = 3333 mV"));
    QCOMPARE(v.servoShade[0], Shade::Red);
    QCOMPARE(v.servoShade[1], Shade::ButtonFace);
    QCOMPARE(v.programCountText, QStringLiteral("Number of Programing =  321"));
    QCOMPARE(v.testText[0], QStringLiteral("Test1= 100"));
    QCOMPARE(v.testText[2], QStringLiteral("Test3= 102 "));
    QCOMPARE(v.testText[3], QStringLiteral("Test4=103"));
    QCOMPARE(v.testText[7], QStringLiteral("Test8= 107"));
    QVERIFY(v.eeDataErrVisible);
    QVERIFY(v.versionVisible);
    QCOMPARE(v.versionText,
             QStringLiteral("Unmatched version of PC and Ignition programs!  PC-56, IGN-55"));
    QCOMPARE(rig.link.BusyCountdown, uint16_t(400));
}

void TestLink::badReplyChangesNothing() {
    LinkRig rig;
    rig.link.OpenPort();
    QByteArray frame = MonitorFrame(5000, 1023, 260, 50);
    frame[20] = static_cast<char>(frame[20] ^ 0x01);
    int samples = 0;
    rig.link.AddSampleObserver([&samples](const MonitorSample&) { ++samples; });
    rig.port.Inject(frame);
    rig.link.Tick();
    QCOMPARE(samples, 0);
    QCOMPARE(rig.link.Display().rpmText, QStringLiteral("RPM = ---"));
    QCOMPARE(rig.link.LiveRpm, uint16_t(0));
    QCOMPARE(rig.link.SilentTicks, uint8_t(18));
    QVERIFY(rig.link.Display().connectionVisible);
}

void TestLink::nearestColumn_data() {
    QTest::addColumn<int>("rpm");
    QTest::addColumn<int>("column");
    QTest::newRow("at rest") << 0 << 0;
    QTest::newRow("3499 below the midpoint of 3000 and 4000") << 3499 << 3;
    QTest::newRow("3500 on the midpoint") << 3500 << 4;
    QTest::newRow("far above the axis") << 30000 << 14;
}

void TestLink::nearestColumn() {
    QFETCH(int, rpm);
    const uint8_t axis[15] = {0, 10, 20, 30, 40, 60, 65, 70, 75, 80, 85, 90, 100, 110, 120};
    QTEST(NearestColumn(axis, rpm), "column");
}

void TestLink::nearestRow_data() {
    QTest::addColumn<int>("tp");
    QTest::addColumn<bool>("tpEnable");
    QTest::addColumn<int>("row");
    QTest::newRow("closed") << 0 << true << 0;
    QTest::newRow("15 %") << 15 << true << 4;
    QTest::newRow("15 % without TP Enable") << 15 << false << 0;
    QTest::newRow("full") << 100 << true << 9;
    QTest::newRow("sensor error") << 200 << true << 9;
}

void TestLink::nearestRow() {
    QFETCH(int, tp);
    QFETCH(bool, tpEnable);
    QTEST(NearestRow(tp, tpEnable), "row");
}

void TestLink::pollThresholds_data() {
    QTest::addColumn<int>("queued");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<int>("left");
    QTest::newRow("51 bytes wait") << 51 << false << 51;
    QTest::newRow("52 bytes") << 52 << true << 0;
    QTest::newRow("60 bytes, 8 lost") << 60 << true << 0;
    QTest::newRow("more than the cap") << 15100 << true << 100;
}

void TestLink::pollThresholds() {
    QFETCH(int, queued);
    LinkRig rig;
    rig.link.OpenPort();
    QByteArray bytes = MonitorFrame(1234);
    bytes += QByteArray(queued - bytes.size(), '\x5A');
    rig.port.Inject(bytes.left(queued));
    rig.link.PollPort();
    QTEST(rig.link.LiveRpm == 1234, "handled");
    QTEST(int(rig.port.Queued()), "left");
}

void TestLink::garbageNeverStopsMonitor() {
    LinkRig rig;
    rig.link.OpenPort();
    QRandomGenerator rng(1234);
    QByteArray junk(20000, '\0');
    for (char& c : junk)
        c = static_cast<char>(rng.bounded(256));
    rig.port.Inject(junk);                       // a flood of noise
    rig.port.Inject(MonitorFrame(800).left(30)); // half a frame
    QByteArray badBlock = MakeFrame(0x83);       // a block reply outside a transfer
    rig.port.Inject(badBlock);
    rig.Ticks(3);
    QCOMPARE(rig.link.LiveRpm, uint16_t(0));
    // The noise is drained at most 15000 bytes a tick, and the monitor goes on.
    rig.Ticks(12);
    QCOMPARE(rig.port.Queued(), qint64(0));
    QVERIFY(rig.link.LiveRpm > 0);
    QVERIFY(!rig.link.Display().connectionVisible);
}

void TestLink::monitorRequestEverySixthTick() {
    LinkRig rig;
    rig.link.OpenPort();
    rig.Ticks(5);
    QCOMPARE(rig.port.written.size(), 0);
    rig.link.Tick();
    QCOMPARE(rig.Commands(), QList<int>{0x30});
    rig.Ticks(6);
    QCOMPARE(rig.Commands(), (QList<int>{0x30, 0x30}));
}

void TestLink::connectionLabelOn18thSilentTick() {
    LinkRig rig;
    rig.link.OpenPort();
    rig.Ticks(7); // request on tick 6, reply taken on tick 7
    QCOMPARE(rig.link.SilentTicks, uint8_t(1));
    QVERIFY(!rig.link.Display().connectionVisible);
    rig.unit.faults.silent = true;
    for (int t = 1; t < 18; ++t) {
        rig.link.Tick();
        QVERIFY2(!rig.link.Display().connectionVisible, qPrintable(QString::number(t)));
    }
    rig.link.Tick();
    QVERIFY(rig.link.Display().connectionVisible);
}

void TestLink::fixedPortReopensEvery30Ticks() {
    LinkRig rig;
    rig.unit.faults.silent = true; // the port exists, no unit answers
    rig.link.OpenPort();
    QCOMPARE(rig.port.opened.size(), 1);
    rig.Ticks(29);
    QCOMPARE(rig.port.opened.size(), 1);
    rig.link.Tick();
    QCOMPARE(rig.port.opened.size(), 2);
    rig.Ticks(30);
    QCOMPARE(rig.port.opened.size(), 3);
    QCOMPARE(QSet<QString>(rig.port.opened.begin(), rig.port.opened.end()).size(),
             1); // always the same port
    QVERIFY(rig.host.messages.isEmpty());
}

void TestLink::autoSearchWraps() {
    LinkRig rig;
    rig.port.existing = {QStringLiteral("/nowhere")}; // no port exists at all
    rig.link.ComIndex = kComAuto;
    rig.link.AutoScanIndex = 19;
    rig.link.OpenPort();
    QCOMPARE(rig.link.ReconnectTicks, uint8_t(200));
    // Each failed automatic open moves on at the very next tick.
    rig.Ticks(3);
    const PortNames& names = rig.link.Names();
    QCOMPARE(rig.port.opened,
             (QStringList{names.Path(20), names.Path(21), names.Path(1), names.Path(2)}));
    QCOMPARE(rig.link.Display().comText, QStringLiteral("COM= COM2"));
    QVERIFY(rig.host.messages.isEmpty());
}

void TestLink::missingFixedPortBoxOnce() {
    LinkRig rig;
    rig.port.existing = {QStringLiteral("/nowhere")};
    rig.link.ComIndex = 3;
    rig.link.OpenPort();
    QCOMPARE(rig.host.messages, QStringList{"Com opening error!"});
    rig.Ticks(100);
    QVERIFY(rig.port.opened.size() >= 4);
    QCOMPARE(rig.host.messages.size(), 1);
    QCOMPARE(rig.link.AutoScanIndex, uint8_t(3)); // advanced, but unused for a fixed port
}

void TestLink::menuPickReportsAgain() {
    LinkRig rig;
    rig.port.existing = {QStringLiteral("/nowhere")};
    rig.link.QuietReopen = true;
    rig.link.SelectPort(4);
    QCOMPARE(rig.link.ComIndex, uint8_t(4));
    QCOMPARE(rig.host.messages.size(), 1);
    QCOMPARE(rig.link.Display().comChecked, 4);
    rig.link.SelectPort(kComAuto); // the search itself never complains
    QCOMPARE(rig.host.messages.size(), 1);
}

void TestLink::portLabel_data() {
    QTest::addColumn<int>("com");
    QTest::addColumn<int>("scan");
    QTest::addColumn<QString>("label");
    QTest::newRow("COM3") << 2 << 0 << "COM= COM3";
    QTest::newRow("COM12") << 11 << 0 << "COM= COM12";
    QTest::newRow("search at COM21") << 20 << 20 << "COM= COM21";
}

void TestLink::portLabel() {
    LinkRig rig;
    QFETCH(int, com);
    QFETCH(int, scan);
    rig.link.ComIndex = static_cast<uint8_t>(com);
    rig.link.AutoScanIndex = static_cast<uint8_t>(scan);
    rig.link.OpenPort();
    QTEST(rig.link.Display().comText, "label");
}

void TestLink::savingAndOkDisplay() {
    LinkRig rig;
    rig.link.BusyCountdown = 400;
    rig.link.Tick();
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Saving:"));
    QCOMPARE(rig.link.Display().gaugeMax, 100);
    QCOMPARE(rig.link.Display().gaugeProgress, 50);
    QVERIFY(rig.link.Display().statusVisible);
    rig.link.BusyCountdown = 900; // above the full count the gauge stays empty
    rig.link.Tick();
    QCOMPARE(rig.link.Display().gaugeProgress, 0);
    rig.link.BusyCountdown = 0;
    rig.link.ProgramOk = true;
    rig.link.Tick();
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Program device: OK"));
    QCOMPARE(rig.link.Display().gaugeMax, 7);
    QCOMPARE(rig.link.Display().gaugeProgress, 7);
}

void TestLink::statusVanishesAfter200Ticks() {
    LinkRig rig;
    rig.link.StartVerify();
    rig.link.LinkMode = ModeMonitor; // only the status timing matters here
    rig.link.ProgramOk = true;
    rig.Ticks(200);
    QVERIFY(rig.link.Display().statusVisible);
    QVERIFY(rig.link.ProgramOk);
    rig.link.Tick();
    QVERIFY(!rig.link.Display().statusVisible);
    QVERIFY(!rig.link.Display().gaugeVisible);
    QVERIFY(!rig.link.ProgramOk);
}

void TestLink::versionLabelHiddenWithoutConnection() {
    LinkRig rig;
    rig.link.OpenPort();
    rig.port.Inject(MonitorFrame(0, 0, 260, 0, 55));
    rig.link.Tick();
    QVERIFY(rig.link.Display().versionVisible);
    rig.unit.faults.silent = true;
    rig.Ticks(17);
    QVERIFY(rig.link.Display().versionVisible);
    rig.link.Tick();
    QVERIFY(rig.link.Display().connectionVisible);
    QVERIFY(!rig.link.Display().versionVisible);
}

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
