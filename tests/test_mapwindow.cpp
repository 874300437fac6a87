// The map windows on a main window over the in-process simulated unit.
#include "GuiFixture.h"
#include "HlavMaps.h"
#include "MapSheet.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTextDocument>

using namespace zyrk;

namespace {

QString Shown(MapWindow* w, int row, int column) {
    return w->Model().data(w->Model().index(row, column)).toString();
}

// A map whose cells differ: cell (r, c) = 60 + 10 r + c (1200 mV + ...).
void Shape(ParamImage& image, int servo) {
    for (int r = 0; r < kMapRows; ++r)
        for (int c = 0; c < kMapColumns; ++c)
            image.SetCell(servo, r, c, static_cast<uint8_t>(60 + 10 * r + c));
}

} // namespace

class TestMapWindow : public QObject {
    Q_OBJECT

  private slots:
    void opensFromMenuAndButtonInEachLanguage();
    void copyPasteRoundTrip_data();
    void copyPasteRoundTrip();
    void refusedPasteChangesNothing_data();
    void refusedPasteChangesNothing();
    void operationIsOneUndoStep();
    void operationProgramsAfterChange();
    void typedNumberSetsCell();
    void selectionByRowsColumnsAndKeys();
    void keepsPaceWithServoPage();
    void liveCellMarkAndTrail();
    void placeKeptAndClosedWithMainWindow();
    void sheetTextAndPdf();
};

void TestMapWindow::opensFromMenuAndButtonInEachLanguage() {
    Gui gui;
    HlavMaps* maps = gui.form->Maps;
    QCOMPARE(maps->MenuMap[0]->text(), QStringLiteral("Map of servo 1"));
    QCOMPARE(maps->MenuMap[1]->text(), QStringLiteral("Map of servo 2"));
    QCOMPARE(maps->MenuMap[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));
    QCOMPARE(maps->MenuMap[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_2));
    QCOMPARE(gui.ui().MenuTools->actions().last(), maps->MenuMap[1]);
    QCOMPARE(maps->MenuPrintSheet->text(), QStringLiteral("Print map sheet"));
    QCOMPARE(maps->MenuPdfSheet->text(), QStringLiteral("Export map sheet as PDF"));
    QVERIFY(!maps->Window(0));
    maps->MenuMap[0]->trigger();
    QVERIFY(maps->Window(0) && maps->Window(0)->isVisible());
    QCOMPARE(maps->Window(0)->windowTitle(), QStringLiteral("Map of servo 1"));
    maps->ButtonMap[1]->click();
    QVERIFY(maps->Window(1) && maps->Window(1)->isVisible());
    gui.form->MenuGermanClick();
    QCOMPARE(maps->MenuMap[0]->text(), QStringLiteral("Kennfeld Servo 1"));
    QCOMPARE(maps->Window(1)->windowTitle(), QStringLiteral("Kennfeld Servo 2"));
    gui.form->MenuCzechClick();
    QCOMPARE(maps->MenuMap[1]->text(), QStringLiteral("Mapa serva 2"));
}

void TestMapWindow::copyPasteRoundTrip_data() {
    QTest::addColumn<int>("servo");
    QTest::addColumn<int>("procenta");
    QTest::newRow("servo 1 in mV") << 0 << 0;
    QTest::newRow("servo 2 in per cent, flag 2") << 1 << 2;
}

void TestMapWindow::copyPasteRoundTrip() {
    QFETCH(int, servo);
    QFETCH(int, procenta);
    Gui gui;
    gui.form->image.SetProcenta(servo, static_cast<uint8_t>(procenta));
    Shape(gui.form->image, servo);
    gui.form->AfterChange();
    MapWindow* w = gui.form->Maps->Open(servo);

    // Ctrl+C on rows 1-2, columns 3-5 gives the values the servo page shows.
    w->Select(MapRect{1, 3, 2, 5});
    w->CopyAction()->trigger();
    const int f = procenta ? 1 : 20;
    auto v = [&](int r, int c) { return QString::number((60 + 10 * r + c) * f); };
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied, QStringLiteral("%1\t%2\t%3\n%4\t%5\t%6\n")
                         .arg(v(1, 3), v(1, 4), v(1, 5), v(2, 3), v(2, 4), v(2, 5)));
    w->CopyAxesAction()->trigger();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("%/RPM\t3000\t4000")));

    // Ctrl+V at row 7, column 0 writes the same bytes there, and only there.
    const ParamImage before = gui.form->image;
    QGuiApplication::clipboard()->setText(copied);
    w->Select(MapRect{7, 0, 7, 0});
    w->PasteAction()->trigger();
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c) {
            const bool inside = r >= 7 && r <= 8 && c <= 2;
            const int want = inside ? before.Cell(servo, r - 6, c + 3) : before.Cell(servo, r, c);
            QCOMPARE(int(gui.form->image.Cell(servo, r, c)), want);
        }
    }
    QCOMPARE(gui.form->image.Cell(1 - servo, 0, 0), before.Cell(1 - servo, 0, 0));
    QCOMPARE(w->Selection(), (MapRect{7, 0, 8, 2})); // the pasted block is selected
    QCOMPARE(Shown(w, 8, 2), QLocale().toString((60 + 10 * 2 + 5) * f));
    QVERIFY(gui.prompter.messages.isEmpty());
}

void TestMapWindow::refusedPasteChangesNothing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named"); // what the message must say of the first bad cell
    QTest::newRow("a word") << "2000\t2020\n2040\tabc"
                            << "row 3 (5 %), column 3 (2,000 RPM)";
    QTest::newRow("above 5000 mV") << "2000\n5020"
                                   << "row 3 (5 %), column 2 (1,000 RPM)";
    QTest::newRow("larger than the room left")
        << "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\t15"
        << "row 2, column 16";
}

void TestMapWindow::refusedPasteChangesNothing() {
    QFETCH(QString, text);
    QFETCH(QString, named);
    Gui gui;
    MapWindow* w = gui.form->Maps->Open(0);
    const ParamImage before = gui.form->image;
    w->Select(MapRect{1, 1, 1, 1}); // row 2 (2 %), column 2 (1,000 RPM)
    QVERIFY(!w->PasteText(text));
    QCOMPARE(gui.form->image, before);
    QVERIFY(!gui.form->history.CanUndo());
    QCOMPARE(gui.prompter.messages.size(), 1);
    QVERIFY2(gui.prompter.messages.first().contains(named),
             qPrintable(gui.prompter.messages.first()));
    QVERIFY(gui.prompter.messages.first().startsWith(QStringLiteral("Nothing pasted")));
}

void TestMapWindow::operationIsOneUndoStep() {
    Gui gui;
    Shape(gui.form->image, 0);
    gui.form->AfterChange();
    const ParamImage shaped = gui.form->image;
    MapWindow* w = gui.form->Maps->Open(0);
    w->Select(MapRect{}); // the whole map
    w->ValueBox()->setValue(100);
    w->OpAction(MapOp::Add)->trigger(); // +100 mV is +5 bytes
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 65);
    QCOMPARE(int(gui.form->image.Cell(0, 9, 14)), 169);
    QCOMPARE(Shown(w, 9, 14), QStringLiteral("3,380"));
    w->ValueBox()->setValue(6000);
    w->OpAction(MapOp::Set)->trigger(); // clamped to the servo page's 5000 mV
    QCOMPARE(int(gui.form->image.Cell(0, 4, 4)), 250);

    gui.form->SpeedButtonZpetClick();
    QCOMPARE(int(gui.form->image.Cell(0, 9, 14)), 169);
    QCOMPARE(Shown(w, 9, 14), QStringLiteral("3,380"));
    gui.form->SpeedButtonZpetClick();
    QCOMPARE(gui.form->image, shaped);
    QCOMPARE(Shown(w, 0, 0), QStringLiteral("1,200"));
    gui.form->SpeedButtonZnovuClick();
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 65);

    // Subtracting in per cent (any non-zero flag) stops at 0 and keeps the top at 100.
    gui.form->image.SetProcenta(0, 5);
    gui.form->AfterChange();
    w->ValueBox()->setValue(70);
    w->SubtractAction()->trigger();
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 0);
    QCOMPARE(int(gui.form->image.Cell(0, 9, 14)), 99); // 169 - 70

    // The keys reach the operations from the table, before typing could start an edit.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->Table()->setFocus();
    w->ValueBox()->setValue(1);
    QTest::keyClick(w->Table(), Qt::Key_Plus);
    QCOMPARE(int(gui.form->image.Cell(0, 9, 14)), 100);
    QTest::keyClick(w->Table(), Qt::Key_Minus);
    QCOMPARE(int(gui.form->image.Cell(0, 9, 14)), 99);
    QTest::keyClick(w->Table(), Qt::Key_D, Qt::ControlModifier); // fill down
    QCOMPARE(int(gui.form->image.Cell(0, 9, 14)), int(gui.form->image.Cell(0, 0, 14)));
}

void TestMapWindow::operationProgramsAfterChange() {
    Gui gui;
    gui.ui().CheckBoxProgHned->setChecked(true);
    MapWindow* w = gui.form->Maps->Open(1);
    w->Select(MapRect{0, 0, 0, 14});
    w->ValueBox()->setValue(3000);
    w->OpAction(MapOp::Set)->trigger();
    QCOMPARE(int(gui.form->image.Cell(1, 0, 7)), 150);
    QVERIFY(gui.form->link.LinkMode == ModeProgram ||
            gui.form->link.ReadingBeforeWrite()); // the restore-point read comes first
}

void TestMapWindow::typedNumberSetsCell() {
    Gui gui;
    MapWindow* w = gui.form->Maps->Open(0);
    QTableView* table = w->Table();
    table->setFocus();
    table->setCurrentIndex(w->Model().index(2, 3));
    QTest::keyClick(table, Qt::Key_2);
    auto* editor = table->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("340"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits on a queued call
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // and the editor goes
    QCOMPARE(int(gui.form->image.Cell(0, 2, 3)), 117);
    QCOMPARE(Shown(w, 2, 3), QStringLiteral("2,340"));
    QVERIFY(gui.form->history.CanUndo());
    // Text that is no value of the range leaves the cell as it was.
    table->setCurrentIndex(w->Model().index(2, 4));
    QTest::keyClick(table, Qt::Key_9);
    editor = table->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("000"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(int(gui.form->image.Cell(0, 2, 4)), 120); // the factory 2400 mV
    QVERIFY(w->StatusLabel()->text().contains(QStringLiteral("9000")));
}

void TestMapWindow::selectionByRowsColumnsAndKeys() {
    Gui gui;
    MapWindow* w = gui.form->Maps->Open(0);
    QTableView* table = w->Table();
    // A header selects its whole row or column.
    table->selectRow(3);
    QCOMPARE(w->Selection(), (MapRect{3, 0, 3, 14}));
    table->selectColumn(5);
    QCOMPARE(w->Selection(), (MapRect{0, 5, 9, 5}));
    table->setFocus();
    table->setCurrentIndex(w->Model().index(4, 4));
    QTest::keyClick(table, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(table, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(w->Selection(), (MapRect{4, 4, 5, 5}));
    QTest::keyClick(table, Qt::Key_Right);
    QCOMPARE(w->Selection(), (MapRect{5, 6, 5, 6}));
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w->Selection(), MapRect{});
}

void TestMapWindow::keepsPaceWithServoPage() {
    Gui gui;
    MapWindow* w = gui.form->Maps->Open(0);
    gui.ShowPage(kPageServo1);
    QLineEdit* cell = gui.ui().EditMap[0][3];
    cell->setFocus();
    cell->selectAll();
    QTest::keyClicks(cell, QStringLiteral("4000"));
    QTest::keyClick(cell, Qt::Key_Return);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 3)), 200);
    QCOMPARE(Shown(w, 0, 3), QStringLiteral("4,000")); // at once, without a tick
    gui.form->SpeedButtonZpetClick();
    QCOMPARE(Shown(w, 0, 3), QStringLiteral("2,300"));

    // "TP Enable" clear dims rows 1..9; ticking it on the page lights them.
    const QColor dimmed =
        w->Model().data(w->Model().index(5, 0), Qt::ForegroundRole).value<QColor>();
    QCOMPARE(dimmed, QColor(150, 150, 150));
    gui.ShowPage(kPageServo1); // the undo went back to the page of the first snapshot
    gui.ui().CheckBoxTpEnable->setChecked(true);
    gui.form->CheckBoxTpEnableMouseUp();
    QVERIFY(w->Model().data(w->Model().index(5, 0), Qt::ForegroundRole).value<QColor>() != dimmed);

    // An image changed behind every editing step (a Read, a file) shows by the next tick.
    gui.form->image.SetCell(0, 9, 9, 10);
    gui.Ticks(1);
    QCOMPARE(Shown(w, 9, 9), QStringLiteral("200"));
}

void TestMapWindow::liveCellMarkAndTrail() {
    Gui gui;
    gui.form->image.SetTpEnable(0, 1);
    gui.form->AfterChange();
    MapWindow* w = gui.form->Maps->Open(0);
    MapModel& m = w->Model();
    auto colour = [&m](int r, int c) {
        return m.data(m.index(r, c), Qt::BackgroundRole).value<QColor>();
    };
    // Engine at 6400 RPM and 35 % throttle: column 6 (6500 RPM), row 5 (30 %) or 6 (40 %);
    // nearest ties go the way the servo page goes, so the page's own cell is the reference.
    gui.form->link.LiveRpm = 6400;
    gui.form->link.LiveTpPercent = 28;
    gui.form->Maps->Tick();
    QCOMPARE(m.LiveRow(), 5);
    QCOMPARE(m.LiveColumn(), 6);
    QCOMPARE(colour(5, 6), MapModel::kLive);
    QCOMPARE(w->LiveSeries()->count(), 1);
    QCOMPARE(w->LiveSeries()->at(0), QPointF(6500, 2600));

    gui.form->link.LiveRpm = 1000;
    gui.form->link.LiveTpPercent = 60;
    gui.form->Maps->Tick();
    QCOMPARE(colour(7, 1), MapModel::kLive);
    const QColor trail = colour(5, 6);
    QVERIFY(trail != MapModel::kLive);
    QVERIFY(trail.green() > trail.red()); // still greenish, fading
    // After kTrail further moves the first cell has left the trail.
    for (int k = 0; k < MapModel::kTrail; ++k) {
        gui.form->link.LiveRpm = 2000 + 1000 * k;
        gui.form->link.LiveTpPercent = 0;
        gui.form->Maps->Tick();
    }
    QVERIFY(colour(5, 6).green() < trail.green());
}

void TestMapWindow::placeKeptAndClosedWithMainWindow() {
    QTemporaryDir folder;
    {
        Gui gui({QStringLiteral("ENGLISH")}, folder.path());
        MapWindow* w = gui.form->Maps->Open(1);
        w->resize(760, 500);
        w->move(40, 30);
        gui.form->close();
        QVERIFY(!w->isVisible());
    }
    QFile ini(folder.filePath(QStringLiteral("application.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    QVERIFY(text.contains("[FORM_HLAV]"));
    QVERIFY(text.contains("[MAP_SERVO2]\r\nLeft=40\r\nTop=30\r\nWidth=760\r\nHeight=500\r\n"));
    Gui again({QStringLiteral("ENGLISH")}, folder.path());
    MapWindow* w = again.form->Maps->Open(1);
    QCOMPARE(w->size(), QSize(760, 500));
    QCOMPARE(w->pos(), QPoint(40, 30));
}

void TestMapWindow::sheetTextAndPdf() {
    MapSheetData d;
    d.image.SetTps0(48);
    d.image.SetTps100(197);
    d.image.SetPocetPulsu(0);
    d.image.SetHysterMv(1, 80);
    d.image.SetProcenta(1, 1);
    d.image.SetCell(0, 9, 14, 170);
    d.image.SetCell(1, 0, 0, 40);
    d.image.SetRpm(0, 14, 120);
    d.file = QStringLiteral("C:\\maps\\race.ign");
    d.printed = QDateTime(QDate(2026, 5, 4), QTime(10, 0));
    d.language = LangEnglish;
    QTextDocument doc;
    doc.setHtml(MapSheetHtml(d));
    const QString text = doc.toPlainText();
    for (const char* expected :
         {"ZYRK map sheet", "unknown (unit not read yet)", "race.ign", "TPS 0 %\n480 mV",
          "TPS 100 %\n4470 mV", "Pulses per revolution\n1/2", "Hysteresis [mV]\n0\n400",
          "Map of servo 1 [mV]", "Map of servo 2 [%]", "12000", "\n3400\n", "100%\n0\n0",
          "0%\n40\n"}) {
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    }
    d.unit =
        UnitTexts{QStringLiteral("ZYR07"), QStringLiteral("04.05.2026"), QStringLiteral("10:30")};
    d.image.Set(off::UnitVersion, 56);
    doc.setHtml(MapSheetHtml(d));
    QVERIFY(doc.toPlainText().contains(QStringLiteral("ZYR07")));
    QVERIFY(doc.toPlainText().contains(QStringLiteral("04.05.2026 10:30 / v56")));

    Gui gui;
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("sheet"));
    gui.form->Maps->ChoosePdfPath = [&path] { return path; };
    gui.form->Maps->MenuPdfSheet->trigger();
    QFile pdf(path + QStringLiteral(".pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.size() > 1000);
    QVERIFY(pdf.read(5) == "%PDF-");
    QVERIFY(gui.prompter.messages.isEmpty());
    // A folder that cannot be written gives a message, not a half file.
    gui.form->Maps->ChoosePdfPath = [] { return QStringLiteral("/nonexistent-dir/x.pdf"); };
    gui.form->Maps->ExportSheetPdf();
    QCOMPARE(gui.prompter.messages.size(), 1);
}

QTEST_MAIN(TestMapWindow)
#include "test_mapwindow.moc"
