// The map windows' arithmetic and their clipboard text, on plain maps.
#include "MapClipboard.h"
#include "MapOps.h"

#include <QTest>

using namespace zyrk;

Q_DECLARE_METATYPE(zyrk::MapRect)
Q_DECLARE_METATYPE(zyrk::MapOp)

namespace {

// A map whose cells tell where they are: cell (r, c) = 10 r + c.
MapCells Ramp() {
    MapCells m{};
    for (int r = 0; r < kMapRows; ++r)
        for (int c = 0; c < kMapColumns; ++c)
            m[static_cast<size_t>(15 * r + c)] = static_cast<uint8_t>(10 * r + c);
    return m;
}

MapCells Filled(uint8_t v) {
    MapCells m{};
    m.fill(v);
    return m;
}

uint8_t At(const MapCells& m, int r, int c) {
    return m[static_cast<size_t>(15 * r + c)];
}

void Put(MapCells& m, int r, int c, int v) {
    m[static_cast<size_t>(15 * r + c)] = static_cast<uint8_t>(v);
}

using Cells = QList<QList<int>>; // expected rows of the rectangle

} // namespace

class TestMapOps : public QObject {
    Q_OBJECT

  private slots:
    // Each case starts from a map, applies one operation to a rectangle and expects the
    // rectangle's cells; every cell outside the rectangle must keep its value.
    void operations_data() {
        QTest::addColumn<MapCells>("map");
        QTest::addColumn<MapRect>("rect");
        QTest::addColumn<MapOp>("op");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("top");
        QTest::addColumn<Cells>("expected");

        const MapCells ramp = Ramp();
        MapCells corners = Filled(0);
        Put(corners, 0, 0, 100);
        Put(corners, 0, 2, 200);
        Put(corners, 2, 0, 0);
        Put(corners, 2, 2, 101);
        MapCells rows = Filled(0);
        Put(rows, 1, 1, 10);
        Put(rows, 1, 4, 21); // 10 .. 21 over three steps: 13.67, 17.33 -> 14, 17
        MapCells peak = Filled(90);
        Put(peak, 2, 2, 180);

        QTest::newRow("set one cell")
            << ramp << MapRect{3, 4, 3, 4} << MapOp::Set << 117 << 250 << Cells{{117}};
        QTest::newRow("set clamps to per cent top")
            << ramp << MapRect{0, 0, 0, 1} << MapOp::Set << 150 << 100 << Cells{{100, 100}};
        QTest::newRow("set whole map")
            << ramp << MapRect{} << MapOp::Set << 42 << 250 << Cells(10, QList<int>(15, 42));
        QTest::newRow("add stops at top 250") << Filled(245) << MapRect{0, 0, 0, 2} << MapOp::Add
                                              << 10 << 250 << Cells{{250, 250, 250}};
        QTest::newRow("subtract stops at 0")
            << ramp << MapRect{0, 0, 0, 3} << MapOp::Add << -2 << 250 << Cells{{0, 0, 0, 1}};
        QTest::newRow("add brings a per cent cell above top down")
            << Filled(150) << MapRect{0, 0, 0, 0} << MapOp::Add << 0 << 100 << Cells{{100}};
        // 5 * 150 / 100 = 7.5 rounds up to 8; 3 * 150 / 100 = 4.5 -> 5; 1 * 150 = 1.5 -> 2.
        QTest::newRow("scale 150 % rounds halves up")
            << ramp << MapRect{0, 1, 0, 5} << MapOp::Scale << 150 << 250 << Cells{{2, 3, 5, 6, 8}};
        QTest::newRow("scale 90 % of 100")
            << Filled(100) << MapRect{0, 0, 0, 0} << MapOp::Scale << 90 << 250 << Cells{{90}};
        QTest::newRow("scale clamps to top")
            << Filled(200) << MapRect{0, 0, 0, 0} << MapOp::Scale << 200 << 250 << Cells{{250}};
        QTest::newRow("scale 0 %")
            << Filled(200) << MapRect{0, 0, 0, 0} << MapOp::Scale << 0 << 250 << Cells{{0}};
        QTest::newRow("interpolate along a row, rounded")
            << rows << MapRect{1, 1, 1, 4} << MapOp::InterpRows << 0 << 250
            << Cells{{10, 14, 17, 21}};
        QTest::newRow("interpolate rows of one column keeps it")
            << ramp << MapRect{2, 3, 4, 3} << MapOp::InterpRows << 0 << 250
            << Cells{{23}, {33}, {43}};
        QTest::newRow("interpolate along columns")
            << ramp << MapRect{0, 0, 9, 0} << MapOp::InterpColumns << 0 << 250
            << Cells{{0}, {10}, {20}, {30}, {40}, {50}, {60}, {70}, {80}, {90}};
        // Column of 0 .. 3 over 2 steps: 1.5 -> 2.
        QTest::newRow("interpolate columns halves up") << MapCells([] {
            MapCells m = Filled(0);
            Put(m, 2, 0, 3);
            return m;
        }()) << MapRect{0, 0, 2, 0} << MapOp::InterpColumns
                                                       << 0 << 250 << Cells{{0}, {2}, {3}};
        // Middle: (100 + 200 + 0 + 101) / 4 = 100.25 -> 100; top middle (100 + 200) / 2 = 150;
        // bottom middle 101 / 2 = 50.5 -> 51; left middle 100 / 2 = 50; right (200 + 101) / 2
        // = 150.5 -> 151.
        QTest::newRow("bilinear from four corners")
            << corners << MapRect{0, 0, 2, 2} << MapOp::Bilinear << 0 << 250
            << Cells{{100, 150, 200}, {50, 100, 151}, {0, 51, 101}};
        QTest::newRow("bilinear on one cell keeps it")
            << ramp << MapRect{5, 5, 5, 5} << MapOp::Bilinear << 0 << 250 << Cells{{55}};
        QTest::newRow("bilinear clamps to per cent top")
            << corners << MapRect{0, 0, 0, 2} << MapOp::Bilinear << 0 << 100
            << Cells{{100, 100, 100}};
        // The peak 180 among eight 90s: (8 * 90 + 180) / 9 = 100; its neighbours are edges.
        QTest::newRow("smooth 3 x 3 keeps edges")
            << peak << MapRect{1, 1, 3, 3} << MapOp::Smooth << 0 << 250
            << Cells{{90, 90, 90}, {90, 100, 90}, {90, 90, 90}};
        // One row: along it only; (90 + 180 + 90) / 3 = 120.
        QTest::newRow("smooth one row along the row")
            << peak << MapRect{2, 1, 2, 3} << MapOp::Smooth << 0 << 250 << Cells{{90, 120, 90}};
        QTest::newRow("smooth two by two changes nothing")
            << peak << MapRect{1, 1, 2, 2} << MapOp::Smooth << 0 << 250
            << Cells{{90, 90}, {90, 180}};
        QTest::newRow("smooth uses values before the pass")
            << ramp << MapRect{0, 0, 0, 4} << MapOp::Smooth << 0 << 250 << Cells{{0, 1, 2, 3, 4}};
        QTest::newRow("fill right") << ramp << MapRect{1, 2, 2, 4} << MapOp::FillRight << 0 << 250
                                    << Cells{{12, 12, 12}, {22, 22, 22}};
        QTest::newRow("fill down") << ramp << MapRect{1, 2, 3, 3} << MapOp::FillDown << 0 << 250
                                   << Cells{{12, 13}, {12, 13}, {12, 13}};
        QTest::newRow("fill right clamps to top")
            << Filled(180) << MapRect{0, 0, 0, 1} << MapOp::FillRight << 0 << 100
            << Cells{{100, 100}};
    }
    void operations() {
        QFETCH(MapCells, map);
        QFETCH(MapRect, rect);
        QFETCH(MapOp, op);
        QFETCH(int, value);
        QFETCH(int, top);
        QFETCH(Cells, expected);
        const MapCells before = map;
        QVERIFY(ApplyMapOp(map, rect, op, value, top));
        for (int r = 0; r < kMapRows; ++r) {
            for (int c = 0; c < kMapColumns; ++c) {
                const bool inside =
                    r >= rect.top && r <= rect.bottom && c >= rect.left && c <= rect.right;
                const int want = inside ? expected[r - rect.top][c - rect.left] : At(before, r, c);
                if (At(map, r, c) != want)
                    QFAIL(qPrintable(QStringLiteral("cell %1,%2 is %3, expected %4")
                                         .arg(r)
                                         .arg(c)
                                         .arg(At(map, r, c))
                                         .arg(want)));
            }
        }
    }

    void invalidRectChangesNothing_data() {
        QTest::addColumn<MapRect>("rect");
        QTest::newRow("upside down") << MapRect{3, 0, 2, 0};
        QTest::newRow("past the last column") << MapRect{0, 0, 0, 15};
        QTest::newRow("past the last row") << MapRect{0, 0, 10, 0};
        QTest::newRow("negative") << MapRect{-1, 0, 0, 0};
    }
    void invalidRectChangesNothing() {
        QFETCH(MapRect, rect);
        MapCells map = Ramp();
        QVERIFY(!ApplyMapOp(map, rect, MapOp::Set, 7, 250));
        QCOMPARE(map, Ramp());
    }

    void mapOfImage() {
        ParamImage image;
        MapCells map = Ramp();
        PutMap(image, 1, map);
        QCOMPARE(image.Cell(1, 2, 3), 23);
        QCOMPARE(image.Cell(0, 2, 3), 0); // servo 1's map is not touched
        QCOMPARE(GetMap(image, 1), map);
        image.SetProcenta(1, 2); // any non-zero flag means per cent
        QCOMPARE(MapTopByte(image, 1), 100);
        QCOMPARE(MapTopByte(image, 0), 250);
    }

    void byteFromShown_data() {
        QTest::addColumn<double>("shown");
        QTest::addColumn<bool>("percent");
        QTest::addColumn<int>("byte");
        QTest::newRow("2340 mV") << 2340.0 << false << 117;
        QTest::newRow("2349 mV to nearest") << 2349.0 << false << 117;
        QTest::newRow("2350 mV half up") << 2350.0 << false << 118;
        QTest::newRow("-30 mV mirrors +30") << -30.0 << false << -2;
        QTest::newRow("30 mV") << 30.0 << false << 2;
        QTest::newRow("45 %") << 45.0 << true << 45;
        QTest::newRow("45.5 % half up") << 45.5 << true << 46;
    }
    void byteFromShown() {
        QFETCH(double, shown);
        QFETCH(bool, percent);
        QFETCH(int, byte);
        QCOMPARE(ByteFromShown(shown, percent), byte);
    }

    void numbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "2340" << true << 2340.0;
        QTest::newRow("blanks around") << "  2340 " << true << 2340.0;
        QTest::newRow("blank grouping") << "2 000" << true << 2000.0;
        QTest::newRow("no-break blank grouping") << QStringLiteral("2\u00a0000") << true << 2000.0;
        QTest::newRow("narrow no-break grouping")
            << QStringLiteral("2\u202f000,5") << true << 2000.5;
        QTest::newRow("apostrophe grouping") << "2'000" << true << 2000.0;
        QTest::newRow("comma grouping, point decimal") << "2,000.0" << true << 2000.0;
        QTest::newRow("point grouping, comma decimal") << "2.000,5" << true << 2000.5;
        QTest::newRow("lone comma before three digits groups") << "2,000" << true << 2000.0;
        QTest::newRow("lone point before three digits groups") << "2.000" << true << 2000.0;
        QTest::newRow("decimal comma") << "2,5" << true << 2.5;
        QTest::newRow("decimal point") << "2.50" << true << 2.5;
        QTest::newRow("leading zero makes it decimal") << "0,500" << true << 0.5;
        QTest::newRow("point without leading digit") << ".5" << true << 0.5;
        QTest::newRow("minus") << "-40" << true << -40.0;
        QTest::newRow("plus") << "+40" << true << 40.0;
        QTest::newRow("repeated grouping") << "1.000.000" << true << 1000000.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("word") << "abc" << false << 0.0;
        QTest::newRow("digits and word") << "12abc" << false << 0.0;
        QTest::newRow("bad group size") << "20,00,0" << false << 0.0;
        QTest::newRow("two decimal marks") << "1,5,5.5" << false << 0.0;
        QTest::newRow("grouping after decimal") << "2.5,000" << false << 0.0;
        QTest::newRow("two numbers") << "1 2" << false << 0.0;
        QTest::newRow("mixed blank and comma grouping") << "1 000,000.5" << false << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0;
        QTest::newRow("per cent sign") << "45%" << false << 0.0;
    }
    void numbers() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        const std::optional<double> got = ParseSpreadsheetNumber(text);
        QCOMPARE(got.has_value(), ok);
        if (ok)
            QCOMPARE(*got, value);
    }

    // Pastes at a cell of a map of 7s; the expected cells are given from the paste's corner,
    // or the error and the map cell it names, and then the map must still be all 7s.
    void paste_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("percent");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("badRow");
        QTest::addColumn<int>("badColumn");
        QTest::addColumn<Cells>("expected");
        using E = PasteResult::Error;
        QTest::newRow("Calc: tabs and LF")
            << "2000\t2020\n2040\t2060\n"
            << 1 << 2 << false << int(E::None) << -1 << -1 << Cells{{100, 101}, {102, 103}};
        QTest::newRow("Excel: CR LF, grouped")
            << "2,000\t2,020\r\n2,040\t2,060\r\n"
            << 0 << 0 << false << int(E::None) << -1 << -1 << Cells{{100, 101}, {102, 103}};
        QTest::newRow("Czech: decimal comma, blank groups")
            << QStringLiteral("2\u00a0000,0\t2\u00a0010") << 0 << 13 << false << int(E::None) << -1
            << -1 << Cells{{100, 101}}; // 2010 / 20 = 100.5 rounds to 101
        QTest::newRow("per cent") << "45\t100\n0\t12,5" << 8 << 0 << true << int(E::None) << -1
                                  << -1 << Cells{{45, 100}, {0, 13}};
        QTest::newRow("one value into the last cell")
            << "5000" << 9 << 14 << false << int(E::None) << -1 << -1 << Cells{{250}};
        QTest::newRow("word names its cell")
            << "2000\t2020\n2040\tabc" << 3 << 4 << false << int(E::NotNumber) << 4 << 5 << Cells{};
        QTest::newRow("empty cell")
            << "2000\t\t2020" << 0 << 0 << false << int(E::NotNumber) << 0 << 1 << Cells{};
        QTest::newRow("above 5000 mV")
            << "2000\t5020" << 0 << 0 << false << int(E::OutOfRange) << 0 << 1 << Cells{};
        QTest::newRow("above 100 %")
            << "100\n101" << 2 << 2 << true << int(E::OutOfRange) << 3 << 2 << Cells{};
        QTest::newRow("negative") << "-20" << 0 << 0 << false << int(E::OutOfRange) << 0 << 0
                                  << Cells{};
        QTest::newRow("too wide for the room left")
            << "1\t2\t3" << 0 << 13 << false << int(E::TooLarge) << 0 << 15 << Cells{};
        QTest::newRow("too tall for the room left")
            << "1\n2\n3" << 8 << 0 << false << int(E::TooLarge) << 10 << 0 << Cells{};
        QTest::newRow("ragged rows")
            << "1\t2\n3" << 0 << 0 << false << int(E::Ragged) << 1 << 1 << Cells{};
        QTest::newRow("nothing") << "\r\n"
                                 << 0 << 0 << false << int(E::Empty) << -1 << -1 << Cells{};
    }
    void paste() {
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, percent);
        QFETCH(int, error);
        QFETCH(int, badRow);
        QFETCH(int, badColumn);
        QFETCH(Cells, expected);
        MapCells map = Filled(7);
        const PasteResult result = PasteIntoMap(text, row, column, percent, map);
        QCOMPARE(int(result.error), error);
        QCOMPARE(result.badRow, badRow);
        QCOMPARE(result.badColumn, badColumn);
        MapCells want = Filled(7);
        for (int r = 0; r < expected.size(); ++r)
            for (int c = 0; c < expected[r].size(); ++c)
                Put(want, row + r, column + c, expected[r][c]);
        QCOMPARE(map, want);
    }

    void copyText() {
        MapCells map = Ramp();
        std::array<uint8_t, kMapColumns> axis{};
        for (int c = 0; c < kMapColumns; ++c)
            axis[static_cast<size_t>(c)] = static_cast<uint8_t>(10 * c);
        const MapRect rect{1, 2, 2, 3};
        QCOMPARE(MapBlockText(map, rect, false), QStringLiteral("240\t260\n440\t460\n"));
        QCOMPARE(MapBlockText(map, rect, true), QStringLiteral("12\t13\n22\t23\n"));
        QCOMPARE(MapBlockText(map, rect, false, axis.data(), true),
                 QStringLiteral("%/RPM\t2000\t3000\n2\t240\t260\n5\t440\t460\n"));
        // What was copied pastes back to the same bytes.
        MapCells copy = Filled(0);
        QVERIFY(PasteIntoMap(MapBlockText(map, MapRect{}, false), 0, 0, false, copy).Ok());
        QCOMPARE(copy, map);
    }
};

QTEST_GUILESS_MAIN(TestMapOps)
#include "test_mapops.moc"
