#include "Limits.h"
#include "ParameterFile.h"

#include <QTest>

using namespace zyrk;

namespace {

ParamImage Factory() {
    ParamImage image;
    FactoryDefaults(image);
    return image;
}

// A file of the given records after a matching header.
QByteArray File(const QByteArray& records) {
    return "VELKARIM_KEY 56\r\n" + records;
}

} // namespace

class TestParamFile : public QObject {
    Q_OBJECT

  private slots:
    void factoryLayout();
    void roundTrip_data();
    void roundTrip();
    void reading_data();
    void reading();
    void damagedFileChangesNothing_data();
    void damagedFileChangesNothing();
};

void TestParamFile::factoryLayout() {
    const QByteArray text = WriteParameterFile(Factory());
    QCOMPARE(text.size(), 2591);
    QCOMPARE(text.count("\r\n"), 36);
    QVERIFY(!text.endsWith('\n'));
    const QList<QByteArray> lines = text.split('\n');
    QCOMPARE(lines.size(), 37);
    auto line = [&lines](int n) {
        return lines[n - 1].endsWith('\r') ? lines[n - 1].chopped(1) : lines[n - 1];
    };
    QCOMPARE(line(1), QByteArray("VELKARIM_KEY    56 "));
    QCOMPARE(line(2), QByteArray());
    QCOMPARE(line(3), QByteArray("POCET_PULSU      1 "));
    QCOMPARE(line(5), QByteArray("TPS            480  4470 "));
    QCOMPARE(line(7), QByteArray("SERVO_1           1     0      0   400   100 "));
    QCOMPARE(line(9), QByteArray("SERVO_1_HYSTER_OFF\t    0 "));
    QVERIFY(line(10).startsWith("RPM_SERVO1        0  1000  2000"));
    QVERIFY(line(10).endsWith(" 9000 10000 11000 12000 "));
    QCOMPARE(line(10).size(), 104);
    QVERIFY(line(11).startsWith("NAP_SERVO1     2000  2100"));
    QCOMPARE(line(11).size(), 104);
    QCOMPARE(line(12), QByteArray(15, ' ') + line(11).mid(15));
    QCOMPARE(line(21), QByteArray(14, ' '));
    QCOMPARE(line(22), QByteArray());
    QCOMPARE(line(23), QByteArray("SERVO_2           1     0      0   400   100 "));
    QCOMPARE(line(37), QByteArray(14, ' '));
}

void TestParamFile::roundTrip_data() {
    QTest::addColumn<int>("procenta");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("20 mV units") << 0 << 170 << QByteArray(" 3400 ");
    QTest::newRow("per cent") << 1 << 85 << QByteArray("   85 ");
}

void TestParamFile::roundTrip() {
    QFETCH(int, procenta);
    QFETCH(int, cell);
    ParamImage image = Factory();
    image.SetProcenta(0, static_cast<uint8_t>(procenta));
    image.SetCell(0, 6, 9, static_cast<uint8_t>(cell));
    image.SetTpEnable(0, 2); // any non-zero flag is written as 1
    image.SetHysterOff(1, 33);
    const QByteArray text = WriteParameterFile(image);
    QVERIFY(text.contains(QTest::currentDataTag() == QByteArray("per cent") ? "     1      1 "
                                                                            : "     1      0 "));
    QTEST(text.mid(text.indexOf("NAP_SERVO1") + 14 + 6 * 9 + 104 * 6 + 2 * 6, 6), "written");

    ParamImage back;
    for (int o = 0; o < kImageSize; ++o)
        back.Set(o, 0xEE); // block 0, the reserved bytes and the rest must keep this
    QCOMPARE(ReadParameterFile(text, back), FileRead::Ok);
    image.SetTpEnable(0, 1);
    for (int o = 0; o < kImageSize; ++o) {
        const bool carried = o >= off::HysterMv && !(o >= 61 && o <= 64) && o != 69;
        QCOMPARE(int(back.At(o)), carried ? int(image.At(o)) : 0xEE);
    }
}

void TestParamFile::reading_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value"); // the byte at offset afterwards
    const int ok = int(FileRead::Ok);
    QTest::newRow("only POCET_PULSU") << File("POCET_PULSU 7") << ok << int(off::PocetPulsu) << 7;
    QTest::newRow("TPS 2400 gives 246") << File("TPS 480 2400") << ok << int(off::Tps100) << 246;
    QTest::newRow("70000 taken modulo 65536")
        << File("RPM_SERVO1 70000 1 2 3 4 5 6 7 8 9 10 11 12 13 14") << ok << int(off::RpmServo1)
        << 44;
    QTest::newRow("stray words skipped")
        << File("note: 12 POCET_PULSU 3 x") << ok << int(off::PocetPulsu) << 3;
    QTest::newRow("a later record wins")
        << File("POCET_PULSU 3 POCET_PULSU 4") << ok << int(off::PocetPulsu) << 4;
    QTest::newRow("records before the header are not read")
        << QByteArray("POCET_PULSU 9 VELKARIM_KEY 56") << ok << int(off::PocetPulsu) << 1;
    QTest::newRow("header 55 only") << QByteArray("VELKARIM_KEY 55 POCET_PULSU 9")
                                    << int(FileRead::NoHeader) << int(off::PocetPulsu) << 1;
    QTest::newRow("a second header 56")
        << QByteArray("VELKARIM_KEY 55 VELKARIM_KEY 56 POCET_PULSU 9") << ok << int(off::PocetPulsu)
        << 9;
    QTest::newRow("key in lower case is not a header")
        << QByteArray("velkarim_key 56 POCET_PULSU 9") << int(FileRead::NoHeader)
        << int(off::PocetPulsu) << 1;
    QByteArray nap2;
    for (int k = 0; k < kMapCells; ++k)
        nap2 += " 2000";
    QTest::newRow("NAP_SERVO2 before SERVO_2 uses the unit held before")
        << File("NAP_SERVO2" + nap2 + " SERVO_2 1 1 1 400 100") << ok << int(off::NapServo2) << 100;
}

void TestParamFile::reading() {
    QFETCH(QByteArray, text);
    ParamImage image = Factory();
    QTEST(int(ReadParameterFile(text, image)), "result");
    QFETCH(int, offset);
    QTEST(int(image.At(offset)), "value");
}

void TestParamFile::damagedFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("record cut short") << File("POCET_PULSU 3 TPS 480");
    QTest::newRow("a word for a number") << File("POCET_PULSU 3 SERVO_1 1 0 x 400 100");
    QTest::newRow("a truncated map") << WriteParameterFile(ParamImage()).left(2000);
}

void TestParamFile::damagedFileChangesNothing() {
    QFETCH(QByteArray, text);
    ParamImage image = Factory();
    const ParamImage before = image;
    QCOMPARE(ReadParameterFile(text, image), FileRead::Damaged);
    QCOMPARE(image.Data(), before.Data());
}

QTEST_APPLESS_MAIN(TestParamFile)
#include "test_paramfile.moc"
