// The window's compare commands, offscreen: Compare with unit, Compare with file, the
// outlines on the pages and the block a failed Verify points at.

#include "CompareTexts.h"
#include "DifferencesWindow.h"
#include "GuiFixture.h"
#include "HlavCompare.h"
#include "HlavMaps.h"
#include "MapWindow.h"
#include "ParameterFile.h"

#include <QApplication>
#include <QFile>
#include <QTest>

using namespace zyrk;

namespace {

const QColor kGreen(0, 255, 0);
constexpr int kTransferTicks = 60;

// The window and the unit holding the same parameters, the engine still in one cell.
void SameAsUnit(Gui& gui) {
    gui.unit.moving = false;
    gui.unit.rpm = 4000;     // column 4 of the factory axis
    gui.unit.tpPercent = 20; // row 4
    gui.unit.store.SetTpEnable(0, 1);
    gui.form->image = gui.unit.store;
    gui.ShowPage(kPageServo1);
    gui.form->ShowImage();
}

void RunTicks(Gui& gui) {
    for (int t = 0; t < kTransferTicks && gui.form->link.LinkMode != ModeMonitor; ++t)
        gui.form->Timer1Timer();
    gui.Ticks(2);
}

QStringList Rows(QTreeWidget* tree) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = tree->topLevelItem(i);
        out << group->text(0);
        for (int k = 0; k < group->childCount(); ++k) {
            QTreeWidgetItem* item = group->child(k);
            out << item->text(0).trimmed() + QLatin1Char('|') + item->text(1) + QLatin1Char('|') +
                       item->text(2);
        }
    }
    return out;
}

} // namespace

class TestCompareGui : public QObject {
    Q_OBJECT

  private slots:
    void compareWithUnit();
    void shortcutStartsCompare();
    void compareWithFile_data();
    void compareWithFile();
    void failedVerifyNamesBlock();
    void languageFollows();
};

void TestCompareGui::compareWithUnit() {
    Gui gui;
    SameAsUnit(gui);
    FormHlavUi& ui = gui.ui();
    gui.unit.store.SetCell(0, 4, 4, 100); // the cell the engine runs in
    gui.unit.store.SetHysterOff(0, 30);   // a setting of the same page
    gui.unit.store.SetTps0(30);           // and one of the miscellaneous page
    gui.form->image.SetCell(0, 4, 4, 117);
    gui.form->StartHistory();
    ui.EditMap[0][0]->setText(QStringLiteral("999")); // typed, not yet taken in
    const ParamImage before = gui.form->image;
    const QString file = ui.LabelFile2->text();
    int outlineSignals = 0;
    connect(gui.form->compare, &CompareTool::OutlinesChanged, this,
            [&outlineSignals] { ++outlineSignals; });

    MapWindow* map = gui.form->Maps->Open(0); // a map window open meanwhile outlines too
    gui.form->compare->MenuCompareUnit->trigger();
    QVERIFY(gui.form->link.ReadingAside());
    RunTicks(gui);

    // The edited image, the undo ring and the editor are as they were.
    QCOMPARE(gui.form->image, before);
    QVERIFY(!gui.form->history.CanUndo());
    QCOMPARE(ui.EditMap[0][0]->text(), QStringLiteral("999"));
    QCOMPARE(ui.LabelFile2->text(), file);
    QCOMPARE(gui.form->link.Display().statusText, QStringLiteral("Verify: OK"));

    DifferencesWindow* window = gui.form->compare->Window();
    QVERIFY(window && window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("Differences"));
    QCOMPARE(window->Summary()->text(), QStringLiteral("Differences: 3"));
    QCOMPARE(Rows(window->Tree()),
             (QStringList{"Miscellaneous", "TPS 0% [mV]|480 mV|300 mV", "Servo 1",
                          "Off [mV]|0 mV|150 mV", "TPS 20%, 4000 RPM|2340 mV|2000 mV"}));

    // Outlined on the page shown, over the live cell's own green.
    QCOMPARE(gui.form->compare->ServoOutlines()->Targets(),
             (QList<QWidget*>{ui.EditHysterOff, ui.EditMap[4][4]}));
    QCOMPARE(gui.form->compare->MiscOutlines()->Targets(), QList<QWidget*>{ui.EditTps0});
    QCOMPARE(gui.form->compare->Outlined().size(), size_t(3));
    QVERIFY(map->Model().Outlined(4, 4));
    QVERIFY(!map->Model().Outlined(4, 3));
    gui.Ticks(kMonitorEveryTicks + 1); // a monitor reply lights the cell the engine runs in
    QCOMPARE(ui.EditMap[4][4]->palette().color(QPalette::Base), kGreen);
    const QImage shot = ui.GroupBoxServo->grab().toImage();
    const QRect cell = ui.EditMap[4][4]->geometry();
    QCOMPARE(shot.pixelColor(cell.topLeft() - QPoint(1, 1)), OutlineLayer::kColour);
    QCOMPARE(shot.pixelColor(cell.topLeft() + QPoint(3, 3)), kGreen); // inside, off the digits
    QVERIFY(shot.pixelColor(ui.EditMap[4][3]->geometry().topLeft() - QPoint(1, 1)) !=
            OutlineLayer::kColour);

    // Paper shows the values only.
    gui.form->SetPrintLayout(false);
    QVERIFY(!gui.form->compare->ServoOutlines()->isVisible());
    gui.form->SetPrintLayout(true);
    QVERIFY(gui.form->compare->ServoOutlines()->isVisibleTo(ui.GroupBoxServo));

    // The page on show decides which outlines are drawn.
    gui.ShowPage(kPageServo2);
    QVERIFY(gui.form->compare->ServoOutlines()->Targets().isEmpty());
    gui.ShowPage(kPageServo1);
    QCOMPARE(gui.form->compare->ServoOutlines()->Targets().size(), 2);

    // The next change ends the outlines; the list stays as a record of the comparison.
    gui.form->image.SetCell(0, 9, 9, 3);
    gui.form->AfterChange();
    QVERIFY(gui.form->compare->ServoOutlines()->Targets().isEmpty());
    QVERIFY(gui.form->compare->MiscOutlines()->Targets().isEmpty());
    QVERIFY(gui.form->compare->Outlined().empty());
    QVERIFY(!map->Model().Outlined(4, 4));
    QCOMPARE(outlineSignals, 2); // shown, then ended
    QCOMPARE(window->Tree()->topLevelItemCount(), 2);

    // A comparison that finds nothing says so.
    gui.unit.store = gui.form->image;
    gui.form->compare->CompareWithUnit();
    RunTicks(gui);
    QCOMPARE(window->Summary()->text(), QStringLiteral("No differences"));
    QCOMPARE(window->Tree()->topLevelItemCount(), 0);
    QVERIFY(gui.form->compare->ServoOutlines()->Targets().isEmpty());
}

void TestCompareGui::shortcutStartsCompare() {
    Gui gui;
    gui.form->show();
    QApplication::setActiveWindow(gui.form.get());
    QVERIFY(QTest::qWaitForWindowActive(gui.form.get()));
    QTest::keyClick(gui.form.get(), Qt::Key_F8, Qt::ControlModifier);
    QCOMPARE(int(gui.form->link.LinkMode), int(ModeRead));
    QVERIFY(gui.form->link.ReadingAside());
    QCOMPARE(gui.form->compare->MenuCompareUnit->parent(), gui.ui().MenuDevice);
    // The second toolbar's button does the same.
    gui.form->link.StartVerify();
    gui.form->compare->SpeedButtonCompare->click();
    QVERIFY(gui.form->link.ReadingAside());
    QVERIFY(gui.ui().GroupBoxToolBar2->isVisible());
}

void TestCompareGui::compareWithFile_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("rows");
    ParamImage changed;
    {
        Gui gui;
        changed = gui.form->image;
    }
    changed.SetPocetPulsu(3);
    changed.SetRpm(1, 2, 25);
    const QByteArray text = WriteParameterFile(changed);
    QTest::newRow("differs") << text << QString()
                             << QStringList{"Miscellaneous",
                                            "Number of pulses|1 per one revolution|3 per one "
                                            "revolution",
                                            "Servo 2", "RPM, column 3|2000 RPM|2500 RPM"};
    QTest::newRow("damaged") << text.left(1500) + "x"
                             << "Open file error!" << QStringList{};
    QTest::newRow("other version")
        << QByteArray("VELKARIM_KEY 55\r\n") << "Unmatched version of *.ign file!" << QStringList{};
    QTest::newRow("missing") << QByteArray() << "Open file error!" << QStringList{};
}

void TestCompareGui::compareWithFile() {
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    Gui gui;
    const QString path = gui.settings.filePath(QStringLiteral("other.ign"));
    if (!text.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    const ParamImage before = gui.form->image;
    gui.prompter.chosen = path;
    gui.form->compare->MenuCompareFile->trigger();
    QCOMPARE(gui.form->image, before);
    QCOMPARE(gui.prompter.messages, message.isEmpty() ? QStringList{} : QStringList{message});
    DifferencesWindow* window = gui.form->compare->Window();
    QFETCH(QStringList, rows);
    if (rows.isEmpty()) {
        QVERIFY(!window); // nothing compared
        return;
    }
    QVERIFY(window && window->isVisible());
    QCOMPARE(Rows(window->Tree()), rows);
    QCOMPARE(window->Tree()->headerItem()->text(2), QStringLiteral("File other.ign"));
}

void TestCompareGui::failedVerifyNamesBlock() {
    Gui gui;
    SameAsUnit(gui);
    gui.unit.store.SetCell(0, 5, 0, 9); // cell 75 of servo 1: block 3
    gui.form->MenuVerifyClick();
    RunTicks(gui);
    QCOMPARE(gui.ui().LabelHlaseni->text(), QStringLiteral("Verify error!"));
    QCOMPARE(gui.ui().LabelHlaseni->palette().color(QPalette::Window), QColor(Qt::red));
    QCOMPARE(gui.ui().StatusBar1->currentMessage(),
             QStringLiteral("Verify error!  Block 3: Servo 1, map TPS 10–40 %"));
}

void TestCompareGui::languageFollows() {
    Gui gui;
    QCOMPARE(gui.form->compare->MenuCompareUnit->text(), QStringLiteral("Compare with unit"));
    QCOMPARE(gui.form->compare->MenuCompareFile->text(), QStringLiteral("Compare with file…"));
    gui.form->compare->CompareWithUnit();
    RunTicks(gui);
    gui.form->MenuCzechClick();
    QCOMPARE(gui.form->compare->MenuCompareUnit->text(), QStringLiteral("Porovnat s jednotkou"));
    QCOMPARE(gui.form->compare->SpeedButtonCompare->toolTip(), QStringLiteral("Porovnat"));
    QCOMPARE(gui.form->compare->Window()->windowTitle(), QStringLiteral("Rozdíly"));
    gui.form->MenuGermanClick();
    QCOMPARE(gui.form->compare->MenuCompareFile->text(), QStringLiteral("Mit Datei vergleichen…"));
    QCOMPARE(lang::BlockContents(1, LangGerman),
             QStringLiteral("Block 1: Verschiedene, Servo-Einstellungen und Drehzahlachsen"));
}

QTEST_MAIN(TestCompareGui)
#include "test_compare_gui.moc"
