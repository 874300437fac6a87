#include "Limits.h"
#include "ParamImage.h"

#include <QTest>

using namespace zyrk;

class TestParams : public QObject {
    Q_OBJECT

  private slots:
    void pairsAndBlocks();
    void tps100Coding_data();
    void tps100Coding();
    void monthText_data();
    void monthText();
    void unitTexts_data();
    void unitTexts();
    void applyAxisLimits_data();
    void applyAxisLimits();
    void portIndexes_data();
    void portIndexes();
    void factoryDefaults_data();
    void factoryDefaults();
};

void TestParams::pairsAndBlocks() {
    ParamImage image;
    image.SetHysterMv(1, 7);
    image.SetCell(1, 9, 14, 99);
    image.SetRpm(0, 14, 120);
    QCOMPARE(image.At(51), uint8_t(7));
    QCOMPARE(image.At(399), uint8_t(99));
    QCOMPARE(image.At(84), uint8_t(120));

    uint8_t block[kBlockSize];
    for (int i = 0; i < kBlockSize; ++i)
        block[i] = static_cast<uint8_t>(i + 1);
    image.SetBlock(3, block);
    QCOMPARE(image.At(150), uint8_t(1));
    QCOMPARE(image.At(199), uint8_t(50));
    QCOMPARE(image.At(149), uint8_t(0)); // neighbours untouched
    QCOMPARE(image.At(200), uint8_t(0));
    QVERIFY(image.BlockEquals(3, block));
    block[49] ^= 1;
    QVERIFY(!image.BlockEquals(3, block));
}

void TestParams::tps100Coding_data() {
    QTest::addColumn<int>("mv");
    QTest::addColumn<int>("byte");
    QTest::newRow("2500 mV") << 2500 << 0;
    QTest::newRow("4470 mV") << 4470 << 197;
    QTest::newRow("4900 mV") << 4900 << 240;
}

void TestParams::tps100Coding() {
    QFETCH(int, mv);
    QFETCH(int, byte);
    QCOMPARE(int(Tps100FromMv(mv)), byte);
    QCOMPARE(Tps100ToMv(static_cast<uint8_t>(byte)), mv);
}

void TestParams::monthText_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("Jan") << 25 << " 1";
    QTest::newRow("Sep") << 40 << " 9";
    QTest::newRow("Oct") << 38 << "10";
    QTest::newRow("Dec") << 12 << "12";
    QTest::newRow("unknown") << 0 << "00";
}

void TestParams::monthText() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(MonthText(static_cast<uint8_t>(code)), text);
}

void TestParams::unitTexts_data() {
    QTest::addColumn<QByteArray>("block0"); // bytes 0..8 then, if longer, 16.. long name
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("short name, day below 10")
        << QByteArray("ZRK\x07\x07\x26\x16\x0B\x30", 9) << "ZRK07"
        << " 7.10.2022"
        << "11:48";
    QTest::newRow("unknown month") << QByteArray("ABC\x2A\x1F\x63\x05\x00\x05", 9) << "ABC42"
                                   << "31.00.2005"
                                   << "00:05";
    QTest::newRow("name ends early") << QByteArray("Z\x00\x00\x01\x0A\x19\x00\x00\x00", 9) << "Z"
                                     << "10. 1.2000"
                                     << "00:00";
    QTest::newRow("long name wins")
        << QByteArray("ZRK\x07\x0C\x0C\x17\x17\x3B", 9) + "Long firmware"
        << "Long firmware"
        << "12.12.2023"
        << "23:59";
}

void TestParams::unitTexts() {
    QFETCH(QByteArray, block0);
    QFETCH(QString, name);
    QFETCH(QString, date);
    QFETCH(QString, time);
    ParamImage image;
    for (int i = 0; i < 9; ++i)
        image.Set(i, static_cast<uint8_t>(block0[i]));
    for (int i = 9; i < block0.size(); ++i)
        image.Set(off::FirmwareLongName + i - 9, static_cast<uint8_t>(block0[i]));
    const UnitTexts t = BuildUnitTexts(image);
    QCOMPARE(t.name, name);
    QCOMPARE(t.date, date);
    QCOMPARE(t.time, time);
}

using Axis = QList<int>;

void TestParams::applyAxisLimits_data() {
    QTest::addColumn<Axis>("in");
    QTest::addColumn<Axis>("out");
    Axis zeros(15, 0), rising, all250(15, 250), high;
    for (int i = 0; i < 15; ++i) {
        rising << i;
        high << 236 + i;
    }
    QTest::newRow("all zeros") << zeros << rising;
    QTest::newRow("all 250") << all250 << high;
    Axis mixed = {0, 10, 10, 5, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50};
    Axis mixedOut = {0, 10, 11, 12, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50};
    QTest::newRow("equal and falling") << mixed << mixedOut;
    Axis first240 = {240, 241, 242, 243, 244, 245, 246, 247, 248, 249, 250, 250, 250, 250, 250};
    QTest::newRow("first point 240") << first240 << Axis{236, 237, 238, 239, 240, 241, 242, 243,
                                                         244, 245, 246, 247, 248, 249, 250};
    Axis last255 = {0, 10, 20, 30, 40, 60, 65, 70, 75, 80, 85, 90, 100, 110, 255};
    Axis last250 = last255;
    last250[14] = 250;
    QTest::newRow("last point 255") << last255 << last250;
}

void TestParams::applyAxisLimits() {
    QFETCH(Axis, in);
    QFETCH(Axis, out);
    ParamImage image;
    for (int s = 0; s < kServoCount; ++s) {
        for (int i = 0; i < kMapColumns; ++i)
            image.SetRpm(s, i, static_cast<uint8_t>(in[i]));
    }
    const ParamImage before = image;
    ApplyAxisLimits(image);
    for (int s = 0; s < kServoCount; ++s) {
        for (int i = 0; i < kMapColumns; ++i)
            QCOMPARE(int(image.Rpm(s, i)), out[i]);
    }
    // Nothing but the two axes moves.
    for (int o = 0; o < kImageSize; ++o) {
        if (o < off::RpmServo1 || o >= off::NapServo1)
            QCOMPARE(image.At(o), before.At(o));
    }
}

void TestParams::portIndexes_data() {
    QTest::addColumn<int>("com");
    QTest::addColumn<int>("scan");
    QTest::addColumn<int>("comOut");
    QTest::addColumn<int>("scanOut");
    QTest::newRow("in range") << 20 << 19 << 20 << 19;
    QTest::newRow("ComIndex 21") << 21 << 0 << 0 << 0;
    QTest::newRow("AutoScanIndex 20") << 5 << 20 << 5 << 0;
}

void TestParams::portIndexes() {
    QFETCH(int, com);
    QFETCH(int, scan);
    uint8_t c = static_cast<uint8_t>(com), a = static_cast<uint8_t>(scan);
    ClampPortIndexes(c, a);
    QTEST(int(c), "comOut");
    QTEST(int(a), "scanOut");
}

void TestParams::factoryDefaults_data() {
    QTest::addColumn<int>("procenta1");
    QTest::addColumn<int>("procenta2");
    QTest::newRow("both 20 mV") << 0 << 0;
    QTest::newRow("per cent on servo 2 only") << 0 << 1;
}

void TestParams::factoryDefaults() {
    QFETCH(int, procenta1);
    QFETCH(int, procenta2);
    ParamImage image;
    for (int o = 0; o < kImageSize; ++o)
        image.Set(o, 0xA5);
    image.SetProcenta(0, static_cast<uint8_t>(procenta1));
    image.SetProcenta(1, static_cast<uint8_t>(procenta2));
    const ParamImage before = image;
    FactoryDefaults(image);

    const int procenta[2] = {procenta1, procenta2};
    for (int s = 0; s < kServoCount; ++s) {
        for (int r = 0; r < kMapRows; ++r) {
            QCOMPARE(int(image.Cell(s, r, 0)), procenta[s] ? 40 : 100);
            QCOMPARE(int(image.Cell(s, r, 14)), procenta[s] ? 68 : 170);
        }
        QCOMPARE(int(image.Rpm(s, 5)), 60);
        QCOMPARE(int(image.HysterMv(s)), 80);
        QCOMPARE(int(image.HysterRpm(s)), 20);
        QCOMPARE(int(image.HysterOff(s)), 0);
        QCOMPARE(int(image.ServoEnable(s)), 1);
    }
    QCOMPARE(int(image.PocetPulsu()), 1);
    QCOMPARE(int(image.Tps0()), 48);
    QCOMPARE(int(image.Tps100()), 197);
    // Block 0, TpEnable, Procenta and the reserved bytes stay.
    for (int o : {0, 10, 49, off::TpEnable, off::TpEnable + 1, off::Procenta, off::Procenta + 1, 61,
                  64, 69})
        QCOMPARE(image.At(o), before.At(o));
}

QTEST_APPLESS_MAIN(TestParams)
#include "test_params.moc"
