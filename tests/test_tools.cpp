#include "History.h"
#include "ValueTools.h"

#include <QTest>

using namespace zyrk;

class TestTools : public QObject {
    Q_OBJECT

  private slots:
    void stepMap_data();
    void stepMap();
    void stepColumnStops();
    void capture_data();
    void capture();
    void switchUnit_data();
    void switchUnit();
    void historyRing();
    void historyUndoThenChangeDropsRedo();
};

void TestTools::stepMap_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("changedCells"); // cells that moved
    QTest::newRow("plus on the live cell") << int(StepTarget::LiveCell) << true << 1;
    QTest::newRow("minus on row 0") << int(StepTarget::Row0) << false << 15;
    QTest::newRow("plus on all, stops at 249") << int(StepTarget::AllCells) << true << 149;
}

void TestTools::stepMap() {
    QFETCH(int, target);
    QFETCH(bool, up);
    ParamImage image;
    for (int i = 0; i < kMapCells; ++i)
        image.Set(off::NapServo2 + i, 100);
    image.SetCell(1, 9, 14, up ? 249 : 0); // at the stop: stays
    const ParamImage before = image;
    StepMap(image, 1, StepTarget(target), 3, 7, up);
    int changed = 0;
    for (int o = 0; o < kImageSize; ++o) {
        if (image.At(o) != before.At(o)) {
            ++changed;
            QCOMPARE(int(image.At(o)), up ? 101 : 99);
            QVERIFY(o >= off::NapServo2);
        }
    }
    QTEST(changed, "changedCells");
    if (StepTarget(target) == StepTarget::LiveCell)
        QCOMPARE(int(image.Cell(1, 3, 7)), 101);
}

void TestTools::stepColumnStops() {
    ParamImage image;
    image.SetCell(0, 0, 2, 0);
    image.SetCell(0, 5, 2, 7);
    StepColumn(image, 0, 2, false);
    QCOMPARE(int(image.Cell(0, 0, 2)), 0);
    QCOMPARE(int(image.Cell(0, 5, 2)), 6);
    QCOMPARE(int(image.Cell(0, 5, 3)), 0);
    StepColumn(image, 0, 14, true);
    for (int r = 0; r < kMapRows; ++r)
        QCOMPARE(int(image.Cell(0, r, 14)), 1);
}

void TestTools::capture_data() {
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("mv");
    QTest::addColumn<int>("stored"); // -1: nothing happens
    QTest::newRow("0 %, 290 mV is below the window") << false << 290 << -1;
    QTest::newRow("0 %, 2500 mV") << false << 2500 << 250;
    QTest::newRow("100 %, 2500 mV") << true << 2500 << 0;
    QTest::newRow("100 %, 4900 mV") << true << 4900 << 240;
    QTest::newRow("100 %, 4910 mV is above") << true << 4910 << -1;
}

void TestTools::capture() {
    QFETCH(bool, full);
    QFETCH(int, mv);
    QFETCH(int, stored);
    ParamImage image;
    image.SetTps0(11);
    image.SetTps100(22);
    const bool taken = full ? CaptureTps100(image, mv) : CaptureTps0(image, mv);
    QCOMPARE(taken, stored >= 0);
    const int value = full ? image.Tps100() : image.Tps0();
    QCOMPARE(value, stored >= 0 ? stored : (full ? 22 : 11));
}

void TestTools::switchUnit_data() {
    QTest::addColumn<bool>("percent");
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("converted");
    QTest::addColumn<int>("flag"); // the unit flag before the switch
    QTest::newRow("2000 mV to 40 %") << true << 100 << 40 << 0;
    QTest::newRow("5000 mV to 100 %") << true << 250 << 100 << 0;
    QTest::newRow("20 mV to 0 %") << true << 1 << 0 << 0;
    QTest::newRow("40 % to 2000 mV") << false << 40 << 100 << 1;
    QTest::newRow("99 % to 247") << false << 99 << 247 << 1;
    QTest::newRow("100 % to 250") << false << 100 << 250 << 1;
    QTest::newRow("101 % to 252") << false << 101 << 252 << 1;
    QTest::newRow("102 % to 255, the last that fits") << false << 102 << 255 << 1;
    QTest::newRow("103 % stops at 5000 mV") << false << 103 << 250 << 1;
    QTest::newRow("120 % stops at 5000 mV") << false << 120 << 250 << 1;
    QTest::newRow("flag 2 is per cent: 40 % to 2000 mV") << false << 40 << 100 << 2;
}

void TestTools::switchUnit() {
    QFETCH(bool, percent);
    QFETCH(int, cell);
    QFETCH(int, flag);
    ParamImage image;
    image.SetProcenta(0, static_cast<uint8_t>(flag));
    for (int i = 0; i < kMapCells; ++i)
        image.Set(off::NapServo1 + i, static_cast<uint8_t>(cell));
    QVERIFY(SwitchMapUnit(image, 0, percent));
    QCOMPARE(int(image.Procenta(0)), percent ? 1 : 0);
    QTEST(int(image.Cell(0, 9, 14)), "converted");
    QTEST(int(image.Cell(0, 0, 0)), "converted");
    QCOMPARE(int(image.Cell(1, 0, 0)), 0); // the other servo stays
    const ParamImage again = image;
    QVERIFY(!SwitchMapUnit(image, 0, percent)); // already in that unit: nothing converts
    QCOMPARE(image.Data(), again.Data());
}

void TestTools::historyRing() {
    History history;
    ParamImage image;
    history.Start(image, 0);
    QVERIFY(!history.CanUndo());
    QVERIFY(!history.CanRedo());
    QVERIFY(!history.Push(image, 1)); // nothing changed: no snapshot
    for (int i = 1; i <= 250; ++i) {
        image.Set(100, static_cast<uint8_t>(i));
        image.Set(101, static_cast<uint8_t>(i >> 8));
        QVERIFY(history.Push(image, i % 3));
    }
    int undone = 0;
    int page = -1;
    while (history.Undo(image, page))
        ++undone;
    QCOMPARE(undone, 199);
    QCOMPARE(int(image.At(100)), 51); // the oldest kept snapshot
    QCOMPARE(page, 51 % 3);
    QVERIFY(history.CanRedo());
    QVERIFY(history.Redo(image, page));
    QCOMPARE(int(image.At(100)), 52);
}

void TestTools::historyUndoThenChangeDropsRedo() {
    History history;
    ParamImage image;
    history.Start(image, 0);
    image.Set(200, 1);
    history.Push(image, 2);
    image.Set(200, 2);
    history.Push(image, 2);
    int page = 0;
    QVERIFY(history.Undo(image, page));
    QCOMPARE(int(image.At(200)), 1);
    image.Set(300, 9);
    QVERIFY(history.Push(image, 0));
    QVERIFY(!history.CanRedo());
    QVERIFY(history.Undo(image, page));
    QCOMPARE(int(image.At(200)), 1);
    QCOMPARE(int(image.At(300)), 0);
}

QTEST_APPLESS_MAIN(TestTools)
#include "test_tools.moc"
