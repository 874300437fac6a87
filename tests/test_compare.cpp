// The differences between two images and the link's read into a side image, the two parts
// that "Compare with unit" and the command line share.

#include "Differences.h"
#include "LinkFixture.h"

#include <QTest>

using namespace zyrk;

Q_DECLARE_METATYPE(zyrk::Difference)

namespace {

ParamImage Base() {
    ParamImage image;
    FactoryDefaults(image);
    return image;
}

Difference Diff(int page, DiffField field, int ours, DiffUnit oursUnit, int theirs,
                DiffUnit theirsUnit) {
    return {.page = page,
            .field = field,
            .ours = ours,
            .oursUnit = oursUnit,
            .theirs = theirs,
            .theirsUnit = theirsUnit};
}

Difference CellDiff(int page, int row, int column, int rowTp, int rpm, int ours, DiffUnit oursUnit,
                    int theirs, DiffUnit theirsUnit) {
    Difference d = Diff(page, DiffField::Cell, ours, oursUnit, theirs, theirsUnit);
    d.row = row;
    d.column = column;
    d.rowTp = rowTp;
    d.columnRpm = rpm;
    return d;
}

QString Events(const QList<TransferEvent>& events) {
    QStringList out;
    for (const TransferEvent& e : events) {
        const char* kind = e.kind == TransferEvent::Kind::Block    ? "B"
                           : e.kind == TransferEvent::Kind::Done   ? "D"
                           : e.kind == TransferEvent::Kind::Failed ? "F"
                                                                   : "V";
        out << QStringLiteral("%1%2%3%4")
                   .arg(QLatin1String(kind))
                   .arg(e.mode)
                   .arg(e.block)
                   .arg(e.aside ? QStringLiteral("a") : QString());
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestCompare : public QObject {
    Q_OBJECT

  private slots:
    void differences_data();
    void differences();
    void differencesInPageOrder();
    void names_data();
    void names();
    void asideReadLeavesEditedImage();
    void asideReadFaults_data();
    void asideReadFaults();
    void commandEndsAsideRead();
    void transferEvents();
};

void TestCompare::differences_data() {
    QTest::addColumn<std::function<void(ParamImage&)>>("change");
    QTest::addColumn<QList<Difference>>("expected");
    using F = std::function<void(ParamImage&)>;
    const ParamImage base = Base();

    QTest::newRow("same") << F([](ParamImage&) {}) << QList<Difference>{};
    QTest::newRow("tps0 in mV") << F([](ParamImage& i) { i.SetTps0(30); })
                                << QList<Difference>{Diff(0, DiffField::Tps0, base.Tps0() * 10,
                                                          DiffUnit::Mv, 300, DiffUnit::Mv)};
    QTest::newRow("tps100 coded") << F([](ParamImage& i) { i.SetTps100(150); })
                                  << QList<Difference>{Diff(0, DiffField::Tps100,
                                                            Tps100ToMv(base.Tps100()), DiffUnit::Mv,
                                                            4000, DiffUnit::Mv)};
    QTest::newRow("pulses") << F([](ParamImage& i) { i.SetPocetPulsu(7); })
                            << QList<Difference>{Diff(0, DiffField::Pulses, base.PocetPulsu(),
                                                      DiffUnit::Count, 7, DiffUnit::Count)};
    // A check box shows any non-zero byte as ticked: 1 against 2 is no difference on screen.
    QTest::newRow("flag same on screen") << F([](ParamImage& i) {
        i.SetServoEnable(0, 2); // factory value 1
    }) << QList<Difference>{};
    QTest::newRow("servo 2 TP Enable")
        << F([](ParamImage& i) { i.SetTpEnable(1, 1); })
        << QList<Difference>{Diff(2, DiffField::TpEnable, 0, DiffUnit::Flag, 1, DiffUnit::Flag)};
    QTest::newRow("hysteresis in 5s")
        << F([](ParamImage& i) { i.SetHysterRpm(0, 40); })
        << QList<Difference>{Diff(1, DiffField::HysterRpm, base.HysterRpm(0) * 5, DiffUnit::Rpm,
                                  200, DiffUnit::Rpm)};
    Difference axis =
        Diff(2, DiffField::Rpm, base.Rpm(1, 14) * 100, DiffUnit::Rpm, 11000, DiffUnit::Rpm);
    axis.column = 14;
    QTest::newRow("axis point") << F([](ParamImage& i) { i.SetRpm(1, 14, 110); })
                                << QList<Difference>{axis};
    QTest::newRow("cell by row and rpm")
        << F([](ParamImage& i) { i.SetCell(0, 4, 7, 117); })
        << QList<Difference>{CellDiff(1, 4, 7, 20, base.Rpm(0, 7) * 100, base.Cell(0, 4, 7) * 20,
                                      DiffUnit::Mv, 2340, DiffUnit::Mv)};
    // The other side shows servo 2 in per cent: its flag differs and every cell is in its
    // own unit, while a cell whose byte is the same is no difference.
    QTest::newRow("units per side")
        << F([](ParamImage& i) {
               i.SetProcenta(1, 1);
               i.SetCell(1, 9, 0, 45);
           })
        << QList<Difference>{Diff(2, DiffField::Procenta, 0, DiffUnit::Flag, 1, DiffUnit::Flag),
                             CellDiff(2, 9, 0, 100, base.Rpm(1, 0) * 100, base.Cell(1, 9, 0) * 20,
                                      DiffUnit::Mv, 45, DiffUnit::Percent)};
    // Block 0 and the reserved bytes are not settings.
    QTest::newRow("not settings") << F([](ParamImage& i) {
        i.Set(off::UnitVersion, 55);
        i.Set(62, 0x5A);
    }) << QList<Difference>{};
}

void TestCompare::differences() {
    QFETCH(std::function<void(ParamImage&)>, change);
    QFETCH(QList<Difference>, expected);
    const ParamImage ours = Base();
    ParamImage theirs = ours;
    change(theirs);
    const std::vector<Difference> got = Differences(ours, theirs);
    QCOMPARE(QList<Difference>(got.begin(), got.end()), expected);
}

void TestCompare::differencesInPageOrder() {
    const ParamImage ours = Base();
    ParamImage theirs = ours;
    theirs.SetCell(1, 0, 0, 1);
    theirs.SetCell(0, 9, 14, 1);
    theirs.SetCell(0, 0, 1, 1);
    theirs.SetHysterOff(0, 77);
    theirs.SetTps0(30);
    QList<QPair<int, int>> order; // page, row
    QList<DiffField> fields;
    for (const Difference& d : Differences(ours, theirs)) {
        order << qMakePair(d.page, d.row);
        fields << d.field;
    }
    QCOMPARE(order, (QList<QPair<int, int>>{{0, -1}, {1, -1}, {1, 0}, {1, 9}, {2, 0}}));
    QCOMPARE(fields, (QList<DiffField>{DiffField::Tps0, DiffField::HysterOff, DiffField::Cell,
                                       DiffField::Cell, DiffField::Cell}));
}

void TestCompare::names_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("hyster");
    QTest::addColumn<QString>("axis");
    QTest::addColumn<QString>("flag");
    QTest::newRow("cz") << 0 << "Různé"
                        << "Vypnuto [mV]"
                        << "RPM, sloupec 3"
                        << "ano";
    QTest::newRow("en") << 1 << "Miscellaneous"
                        << "Off [mV]"
                        << "RPM, column 3"
                        << "yes";
    QTest::newRow("de") << 2 << "Verschiedene"
                        << "Aus [mV]"
                        << "RPM, Spalte 3"
                        << "ja";
}

void TestCompare::names() {
    QFETCH(int, language);
    QTEST(DiffPageName(kDiffPageMisc, language), "page");
    QCOMPARE(DiffPageName(kDiffPageServo2, language), QStringLiteral("Servo 2"));
    Difference d;
    d.field = DiffField::HysterOff;
    QTEST(DiffFieldName(d, language), "hyster");
    d.field = DiffField::Rpm;
    d.column = 2;
    QTEST(DiffFieldName(d, language), "axis");
    QTEST(DiffValueText(1, DiffUnit::Flag, language), "flag");
    d = CellDiff(1, 4, 7, 20, 3500, 0, DiffUnit::Mv, 0, DiffUnit::Mv);
    QCOMPARE(DiffFieldName(d, language), QStringLiteral("TPS 20%, 3500 RPM"));
    QCOMPARE(DiffValueText(2340, DiffUnit::Mv, language), QStringLiteral("2340 mV"));
    QCOMPARE(DiffValueText(45, DiffUnit::Percent, language), QStringLiteral("45 %"));
}

void TestCompare::asideReadLeavesEditedImage() {
    LinkRig rig;
    rig.image = Base();
    rig.image.SetCell(0, 3, 3, 10);
    const ParamImage edited = rig.image;
    rig.unit.store.SetCell(0, 3, 3, 200);
    rig.unit.store.Set(62, 0x5A);
    rig.link.OpenPort();
    rig.link.StartReadAside();
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Read:"));
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(rig.link.AsideImage().Data(), rig.unit.store.Data());
    QCOMPARE(rig.image, edited);
    QCOMPARE(rig.host.limits, 0);
    QCOMPARE(rig.host.shows, 0);
    QVERIFY(rig.link.Texts().name.isEmpty()); // the version texts stay the editor's
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Verify: OK"));
    // The frames of a Read, then the verify carries the side image's blocks.
    QVector<QByteArray> blocks;
    for (const QByteArray& f : rig.port.written) {
        if (static_cast<uint8_t>(f[0]) != kCmdMonitor)
            blocks << f;
    }
    QCOMPARE(blocks.size(), 15);
    QCOMPARE(static_cast<uint8_t>(blocks[8][0]), uint8_t(0x41));
    QVERIFY(rig.link.AsideImage().BlockEquals(2, FrameData(blocks[9])));
}

void TestCompare::asideReadFaults_data() {
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("cutAfter");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("version 55") << 55 << -1 << QString()
                                << "Unmatched version of PC and Ignition programs!  PC-56, IGN-55";
    QTest::newRow("cut after block 3") << 56 << 4 << "Read error!" << QString();
    QTest::newRow("cut in the verify") << 56 << 10 << "Verify error!" << QString();
}

void TestCompare::asideReadFaults() {
    QFETCH(int, version);
    QFETCH(int, cutAfter);
    QFETCH(QString, message);
    LinkRig rig;
    rig.image = Base();
    const ParamImage edited = rig.image;
    rig.unit.faults.version = version;
    rig.unit.faults.cutAfterFrames = cutAfter;
    rig.unit.store.SetCell(1, 0, 0, 99);
    rig.link.OpenPort();
    rig.link.StartReadAside();
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(rig.image, edited); // not even block 0 of the edited image changes
    QCOMPARE(rig.host.shows + rig.host.limits, 0);
    QCOMPARE(rig.host.messages, message.isEmpty() ? QStringList{} : QStringList{message});
    if (message.isEmpty())
        QTEST(rig.link.Display().statusText, "status");
    // A read cut short leaves the side image without a mixture of two parameter sets.
    if (cutAfter >= 0 && cutAfter < kBlockCount)
        QCOMPARE(rig.link.AsideImage().Cell(1, 0, 0), uint8_t(0));
}

void TestCompare::commandEndsAsideRead() {
    LinkRig rig;
    rig.image = Base();
    rig.unit.store = Base();
    rig.unit.store.SetCell(0, 0, 0, 1); // the unit differs from the edited image
    rig.link.OpenPort();
    rig.link.StartReadAside();
    rig.link.Tick();
    rig.link.Tick();
    // Verify now compares the edited image, not the side image.
    rig.link.StartVerify();
    QVERIFY(!rig.link.ReadingAside());
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(rig.link.Display().statusText, QStringLiteral("Verify error!"));
}

void TestCompare::transferEvents() {
    LinkRig rig;
    rig.image = rig.unit.store;
    QList<TransferEvent> events;
    rig.link.AddTransferObserver([&events](const TransferEvent& e) { events << e; });
    rig.link.OpenPort();
    rig.link.StartProgramming();
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(Events(events), QStringLiteral("B10 B11 B12 B13 B14 B15 B16 B17 "
                                            "B21 B22 B23 B24 B25 B26 B27 D27"));
    events.clear();
    rig.unit.faults.changedBlock = 3;
    rig.link.StartProgramming();
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(Events(events), QStringLiteral("B10 B11 B12 F13"));
    events.clear();
    rig.unit.faults = SimUnit::Faults{};
    rig.link.StartReadAside();
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(Events(events).section(QLatin1Char(' '), 6, 9), QStringLiteral("B36a B37a B21a B22a"));
    events.clear();
    rig.unit.faults.version = 55;
    rig.link.StartRead();
    QVERIFY(rig.RunTransfer() > 0);
    QCOMPARE(Events(events), QStringLiteral("V30"));
}

QTEST_GUILESS_MAIN(TestCompare)
#include "test_compare.moc"
