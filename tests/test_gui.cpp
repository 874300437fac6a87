#include "GuiFixture.h"

#include <QFileInfo>
#include <QMenuBar>
#include <QTest>

using namespace zyrk;

namespace {

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QColor BaseOf(QWidget* w) {
    return w->palette().color(QPalette::Base);
}
QColor WindowOf(QWidget* w) {
    return w->palette().color(QPalette::Window);
}
const QColor kGreen(0, 255, 0);

} // namespace

class TestGui : public QObject {
    Q_OBJECT

  private slots:
    void layoutPlaces();
    void fileDialogSettings();
    void enterCommitsTypedCell();
    void unusableTextKeepsOldValue_data();
    void unusableTextKeepsOldValue();
    void percentMode();
    void tpEnableHidesRows();
    void pageChangeDropsTypedValue();
    void tpsFieldsShowGrouping();
    void commitWhileShowingChangesNothing();
    void stepCommits();
    void pulsesPickTakenAtOnce();
    void shortcutsReachCommands_data();
    void shortcutsReachCommands();
    void newAnswers_data();
    void newAnswers();
    void comMenu();
    void hintsReachStatusBar();
    void liveCellFollowsEngine();
    void programFromWindow();
    void undoRestoresPage();
    void programAfterChange();
    void toolKeys();
    void perCentSwitch();
    void printLayout();
    void printRestoresWindow_data();
    void printRestoresWindow();
};

void TestGui::layoutPlaces() {
    Gui gui;
    FormHlavUi& ui = gui.ui();
    QCOMPARE(ui.client->size(), QSize(978, 815));
    QCOMPARE(ui.PageControl1->geometry(), QRect(4, 45, 959, 476));
    QCOMPARE(ui.ButtonProgram->geometry(), QRect(370, 12, 81, 23));
    QCOMPARE(ui.CGaugeProgram->geometry(), QRect(456, 612, 203, 18));
    QCOMPARE(ui.EditMap[2][3]->geometry(), QRect(60 * 3 + 44, 30 * 2 + 53, 40, 21));
    QCOMPARE(ui.UpDownMap[9][14]->geometry(), QRect(60 * 14 + 84, 30 * 9 + 53, 16, 21));
    QCOMPARE(ui.CSpinButtonMap[1]->geometry(), QRect(119, 350, 17, 23));
    QCOMPARE(ui.EditHysterOff->pos(), QPoint(460, 388));
    QCOMPARE(ui.CheckBoxAll->pos(), QPoint(840, 390));
    QCOMPARE(ui.LabelRpm->font().pixelSize(), 23);
    QVERIFY(ui.LabelRpm->font().bold());
    QCOMPARE(ui.LabelSpojeni->palette().color(QPalette::Window), QColor(Qt::red));
    // The servo controls start on the servo 2 page while the miscellaneous page is shown.
    QCOMPARE(ui.GroupBoxServo->parentWidget(), ui.TabSheet_Servo2);
    QCOMPARE(ui.PageControl1->currentIndex(), 0);
}

void TestGui::fileDialogSettings() {
    QWidget parent;
    std::unique_ptr<QFileDialog> open(MakeOpenDialog1(&parent));
    std::unique_ptr<QFileDialog> save(MakeSaveDialog1(&parent));
    QCOMPARE(open->defaultSuffix(), QStringLiteral("ign"));
    QCOMPARE(open->nameFilters(), (QStringList{"Ignition Parametrs(*.ign)", "All Files (*.*)"}));
    QCOMPARE(save->nameFilters(), QStringList{"Ignition Parametrs(*.ign)"});
    QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(!save->testOption(QFileDialog::DontConfirmOverwrite));
}

void TestGui::enterCommitsTypedCell() {
    Gui gui;
    gui.ShowPage(kPageServo1);
    QLineEdit* cell = gui.ui().EditMap[0][3];
    TypeInto(cell, QStringLiteral("2345"));
    QTest::keyClick(cell, Qt::Key_Return);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 3)), 117);
    QCOMPARE(cell->text(), QStringLiteral("2,340"));
    QVERIFY(!cell->hasFocus() || QApplication::focusWidget() != cell);
}

void TestGui::unusableTextKeepsOldValue_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("a letter") << "2a00";
    QTest::newRow("above the range") << "6000";
}

void TestGui::unusableTextKeepsOldValue() {
    QFETCH(QString, typed);
    Gui gui;
    gui.ShowPage(kPageServo1);
    const uint8_t before = gui.form->image.Cell(0, 1, 1);
    QLineEdit* cell = gui.ui().EditMap[1][1];
    TypeInto(cell, typed);
    QTest::mouseClick(gui.ui().EditMap[2][2], Qt::LeftButton);
    QCOMPARE(gui.form->image.Cell(0, 1, 1), before);
    QCOMPARE(cell->text(), UpDown::FormatValue(before * 20));
}

void TestGui::percentMode() {
    Gui gui;
    gui.form->image.SetProcenta(0, 1);
    gui.form->image.SetCell(0, 0, 0, 150);
    gui.form->image.SetCell(0, 0, 1, 99);
    gui.ShowPage(kPageServo1);
    UpDown* full = gui.ui().UpDownMap[0][0];
    QCOMPARE(full->Max(), 100);
    QCOMPARE(full->Increment(), 1);
    QCOMPARE(gui.ui().EditMap[0][0]->text(), QStringLiteral("100"));
    gui.ui().UpDownMap[0][1]->Step(true);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 1)), 100);
    gui.ui().UpDownMap[0][1]->Step(true);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 1)), 100);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 100); // the commit took the shown value
    // Servo 2 keeps its 20 mV range.
    gui.ShowPage(kPageServo2);
    QCOMPARE(full->Max(), 5000);
    QCOMPARE(full->Increment(), 20);
}

void TestGui::tpEnableHidesRows() {
    Gui gui;
    gui.form->image.SetTpEnable(0, 1);
    gui.form->image.SetCell(0, 5, 5, 77);
    gui.ShowPage(kPageServo1);
    gui.form->show();
    FormHlavUi& ui = gui.ui();
    QVERIFY(ui.EditMap[5][5]->isVisible());
    QTest::mouseClick(ui.CheckBoxTpEnable, Qt::LeftButton, {}, QPoint(6, 8));
    QCOMPARE(int(gui.form->image.TpEnable(0)), 0);
    QVERIFY(ui.EditMap[0][5]->isVisible());
    QVERIFY(!ui.EditMap[5][5]->isVisible());
    QVERIFY(!ui.LabelMapRow[0]->isVisible());
    QVERIFY(!ui.CSpinButtonMap[0]->isVisible());
    QVERIFY(ui.EditMapRpm[3]->isVisible());
    QCOMPARE(int(gui.form->image.Cell(0, 5, 5)), 77);
    QTest::mouseClick(ui.CheckBoxTpEnable, Qt::LeftButton, {}, QPoint(6, 8));
    QVERIFY(ui.EditMap[5][5]->isVisible());
    QCOMPARE(ui.EditMap[5][5]->text(), QStringLiteral("1,540"));
}

void TestGui::pageChangeDropsTypedValue() {
    Gui gui;
    gui.form->image.SetCell(1, 0, 0, 42);
    gui.ShowPage(kPageServo1);
    const uint8_t before = gui.form->image.Cell(0, 0, 0);
    TypeInto(gui.ui().EditMap[0][0], QStringLiteral("4000"));
    gui.ShowPage(kPageServo2);
    QCOMPARE(gui.form->image.Cell(0, 0, 0), before);
    QCOMPARE(gui.ui().EditMap[0][0]->text(), QStringLiteral("840"));
    QCOMPARE(gui.ui().GroupBoxServo->parentWidget(), gui.ui().TabSheet_Servo2);
}

void TestGui::tpsFieldsShowGrouping() {
    Gui gui;
    QCOMPARE(int(gui.form->image.Tps100()), 197);
    QCOMPARE(gui.ui().EditTps100->text(), QStringLiteral("4,470"));
    QCOMPARE(gui.ui().EditTps0->text(), QStringLiteral("480"));
}

void TestGui::commitWhileShowingChangesNothing() {
    Gui gui;
    gui.ShowPage(kPageServo1);
    TypeInto(gui.ui().EditMap[0][0], QStringLiteral("20"));
    gui.form->image.SetTpEnable(0, 1);
    const ParamImage before = gui.form->image;
    bool calledWhileShowing = false;
    // A control that reports its own filling asks for a commit in the middle of ShowImage.
    QObject::connect(gui.ui().CheckBoxTpEnable, &QCheckBox::toggled, gui.form.get(), [&] {
        calledWhileShowing = gui.form->Showing();
        gui.form->CommitControls();
    });
    gui.form->ShowImage();
    QVERIFY(calledWhileShowing);
    QCOMPARE(gui.form->image.Data(), before.Data());
}

void TestGui::stepCommits() {
    Gui gui;
    gui.ShowPage(kPageServo1);
    gui.form->image.SetRpm(0, 14, 250);
    gui.form->ShowImage();
    gui.ui().UpDownMapRpm[14]->Step(true);
    QCOMPARE(int(gui.form->image.Rpm(0, 14)), 250);
    QCOMPARE(gui.ui().EditMapRpm[14]->text(), QStringLiteral("25,000"));
    gui.ui().UpDownHysterRpm->Step(true);
    QCOMPARE(int(gui.form->image.HysterRpm(0)), 21);
    // Arrow keys in the edit step too, and commit.
    QTest::keyClick(gui.ui().EditHysterMv, Qt::Key_Down);
    QCOMPARE(int(gui.form->image.HysterMv(0)), 79);
}

void TestGui::pulsesPickTakenAtOnce() {
    Gui gui;
    gui.form->show();
    QTest::mouseClick(gui.ui().PocPulsuItems[5], Qt::LeftButton, {}, QPoint(6, 8));
    QCOMPARE(int(gui.form->image.PocetPulsu()), 5);
    gui.form->image.SetPocetPulsu(200); // out of range, as from a damaged file
    gui.form->ShowImage();
    QVERIFY(gui.ui().PocPulsuItems[12]->isChecked());
}

void TestGui::shortcutsReachCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mode");
    QTest::newRow("F7 reads") << int(Qt::Key_F7) << int(ModeRead);
    QTest::newRow("F8 verifies") << int(Qt::Key_F8) << int(ModeVerify);
    QTest::newRow("F9 programs") << int(Qt::Key_F9) << int(ModeProgram);
    QTest::newRow("F1 does nothing") << int(Qt::Key_F1) << int(ModeMonitor);
}

void TestGui::shortcutsReachCommands() {
    QFETCH(int, key);
    Gui gui;
    gui.form->show();
    QApplication::setActiveWindow(gui.form.get());
    QVERIFY(QTest::qWaitForWindowActive(gui.form.get()));
    QTest::keyClick(gui.form.get(), Qt::Key(key));
    // A first programming reads the unit aside first (its restore point), then programs.
    QTEST(int(gui.form->link.ReadingBeforeWrite() ? uint8_t(ModeProgram) : gui.form->link.LinkMode),
          "mode");
    QVERIFY(gui.prompter.questions.isEmpty());
    QTest::keyClick(gui.form.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(gui.prompter.questions, QStringList{"Do you want default setting?"});
}

void TestGui::newAnswers_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("restored");
    QTest::newRow("Yes") << int(Prompter::Yes) << true;
    QTest::newRow("No") << int(Prompter::No) << false;
    QTest::newRow("Cancel") << int(Prompter::Cancel) << false;
}

void TestGui::newAnswers() {
    QFETCH(int, answer);
    QFETCH(bool, restored);
    Gui gui;
    gui.form->image.SetProcenta(1, 1);
    gui.form->image.SetCell(0, 3, 3, 5);
    gui.form->image.SetCell(1, 3, 3, 5);
    gui.form->image.Set(62, 0x77); // reserved: never touched
    gui.ui().LabelFile2->setText(QStringLiteral("old.ign"));
    const ParamImage before = gui.form->image;
    gui.prompter.answer = Prompter::Answer(answer);
    gui.form->MenuNewClick();
    if (!restored) {
        QCOMPARE(gui.form->image.Data(), before.Data());
        QCOMPARE(gui.ui().LabelFile2->text(), QStringLiteral("old.ign"));
        return;
    }
    QCOMPARE(int(gui.form->image.Cell(0, 3, 3)), 115); // 2300 mV in 20 mV units
    QCOMPARE(int(gui.form->image.Cell(1, 3, 3)), 46);  // 2300 mV in per cent
    QCOMPARE(int(gui.form->image.At(62)), 0x77);
    QVERIFY(gui.ui().LabelFile2->text().isEmpty());
    QVERIFY(!gui.ui().LabelHlaseni->isVisibleTo(gui.form.get()));
}

void TestGui::comMenu() {
    Gui gui;
    const QList<QAction*> items = gui.ui().MenuCom->actions();
    QCOMPARE(items.size(), 21);
    QCOMPARE(items.first()->text(), QStringLiteral("Com 1"));
    QCOMPARE(items[19]->text(), QStringLiteral("Com 20"));
    QCOMPARE(items.last()->text(), QStringLiteral("Com Auto"));
    QVERIFY(items.last()->isChecked()); // automatic search at start
    gui.port.existing = {gui.form->link.Names().Path(3)};
    items[2]->trigger();
    QCOMPARE(int(gui.form->link.ComIndex), 2);
    QVERIFY(items[2]->isChecked());
    QVERIFY(!items.last()->isChecked());
    QCOMPARE(gui.ui().LabelCom->text(), QStringLiteral("COM= COM3"));
    items[4]->trigger(); // a port that does not exist is reported
    QCOMPARE(gui.prompter.messages, QStringList{"Com opening error!"});
}

void TestGui::hintsReachStatusBar() {
    Gui gui(QStringList{});
    FormHlavUi& ui = gui.ui();
    QCOMPARE(ui.SpeedButtonOpen->toolTip(), QStringLiteral("Open"));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(ui.SpeedButtonOpen, &enter);
    QCOMPARE(ui.StatusBar1->currentMessage(), QStringLiteral("Open file with parametrs"));
    QApplication::sendEvent(ui.LabelRpm, &enter);
    QCOMPARE(ui.StatusBar1->currentMessage(), QString());
    emit gui.form->menuBar()->hovered(ui.MenuHelp->menuAction());
    QCOMPARE(ui.StatusBar1->currentMessage(), QStringLiteral("Not available jet"));
    // A replaced hint without "|" shows whole, in the tooltip and the status bar alike.
    QCOMPARE(ui.ButtonRead->toolTip(), QStringLiteral("Čtení parametrů ze zapalování"));
    QApplication::sendEvent(ui.ButtonRead, &enter);
    QCOMPARE(ui.StatusBar1->currentMessage(), QStringLiteral("Čtení parametrů ze zapalování"));
}

void TestGui::liveCellFollowsEngine() {
    Gui gui;
    gui.unit.moving = false;
    gui.unit.rpm = 3500; // nearest to the 4000 RPM point, column 4
    gui.unit.tpPercent = 15;
    gui.form->image.SetTpEnable(1, 1);
    FormHlavUi& ui = gui.ui();
    gui.Ticks(8); // a monitor reply has arrived; page 0 colours nothing
    QCOMPARE(int(gui.form->link.LiveRpm), 3500);
    QCOMPARE(BaseOf(ui.EditMap[0][0]), BaseOf(ui.EditTps0));
    for (int j = 0; j < kMapColumns; ++j)
        QVERIFY(BaseOf(ui.EditMapRpm[j]) != kGreen);

    gui.ShowPage(kPageServo2);
    gui.Ticks(1);
    QCOMPARE(BaseOf(ui.EditMap[4][4]), kGreen);
    QCOMPARE(BaseOf(ui.EditMapRpm[4]), kGreen);
    QCOMPARE(WindowOf(ui.LabelMapRow[4]), kGreen);
    QVERIFY(BaseOf(ui.EditMap[4][3]) != kGreen);
    QVERIFY(BaseOf(ui.EditMap[3][4]) != kGreen);

    gui.unit.rpm = 12000;
    gui.unit.tpPercent = 0;
    gui.Ticks(7);
    QCOMPARE(BaseOf(ui.EditMap[0][14]), kGreen);
    QVERIFY(BaseOf(ui.EditMap[4][4]) != kGreen);
    QVERIFY(BaseOf(ui.EditMapRpm[4]) != kGreen);
    QVERIFY(WindowOf(ui.LabelMapRow[4]) != kGreen);
    QCOMPARE(int(gui.form->LiveRow), 0);
    QCOMPARE(int(gui.form->LiveColumn), 14);
}

void TestGui::programFromWindow() {
    Gui gui;
    gui.ShowPage(kPageServo1);
    TypeInto(gui.ui().EditMap[9][9], QStringLiteral("1000")); // typed, not yet committed
    gui.form->MenuProgramClick();
    QCOMPARE(int(gui.form->image.Cell(0, 9, 9)), 50); // Program commits first
    for (int t = 0; t < 40 && gui.form->link.LinkMode != ModeMonitor; ++t)
        gui.Ticks(1);
    QCOMPARE(int(gui.unit.store.Cell(0, 9, 9)), 50);
    QVERIFY(gui.ui().LabelHlaseni->isVisibleTo(gui.form.get()));
    QCOMPARE(gui.ui().LabelHlaseni->text(), QStringLiteral("Program device: OK"));
    QCOMPARE(gui.ui().LabelVerze1->text(), QStringLiteral("ZRK07"));
}

void TestGui::undoRestoresPage() {
    Gui gui;
    FormHlavUi& ui = gui.ui();
    QVERIFY(!ui.SpeedButtonZpet->isEnabled());
    QVERIFY(!ui.MenuZnovu->isEnabled());
    gui.ShowPage(kPageServo2);
    ui.UpDownMap[0][0]->Step(true); // 2000 -> 2020 mV
    ui.UpDownMap[0][0]->Step(true);
    QCOMPARE(int(gui.form->image.Cell(1, 0, 0)), 102);
    QVERIFY(ui.SpeedButtonZpet->isEnabled());
    gui.ShowPage(kPageMisc);
    gui.form->SpeedButtonZpetClick();
    QCOMPARE(gui.form->ActivePage(), int(kPageServo2));
    QCOMPARE(int(gui.form->image.Cell(1, 0, 0)), 101);
    QCOMPARE(ui.EditMap[0][0]->text(), QStringLiteral("2,020"));
    QVERIFY(ui.MenuZnovu->isEnabled());
    gui.form->SpeedButtonZnovuClick();
    QCOMPARE(int(gui.form->image.Cell(1, 0, 0)), 102);
    QVERIFY(!ui.MenuZnovu->isEnabled());
}

void TestGui::programAfterChange() {
    Gui gui;
    FormHlavUi& ui = gui.ui();
    gui.ShowPage(kPageServo1);
    ui.CheckBoxProgHned->setChecked(true);
    ui.UpDownMap[3][3]->Step(false);
    QVERIFY(gui.form->link.LinkMode == ModeProgram ||
            gui.form->link.ReadingBeforeWrite()); // the restore-point read comes first
    QCOMPARE(ui.CheckBoxProgHned->palette().color(QPalette::Window), QColor(Qt::red));
    for (int t = 0; t < 40 && gui.form->link.LinkMode != ModeMonitor; ++t)
        gui.Ticks(1);
    QCOMPARE(gui.unit.store.Cell(0, 3, 3), gui.form->image.Cell(0, 3, 3));
    // A commit that changes nothing programs again, since the step before found the box ticked.
    gui.form->Edit1Exit();
    QVERIFY(gui.form->link.LinkMode == ModeProgram ||
            gui.form->link.ReadingBeforeWrite()); // the restore-point read comes first
    // With the box clear nothing is sent.
    gui.Ticks(40);
    ui.CheckBoxProgHned->setChecked(false);
    ui.UpDownMap[3][3]->Step(false);
    QCOMPARE(int(gui.form->link.LinkMode), int(ModeMonitor));
}

void TestGui::toolKeys() {
    Gui gui;
    gui.form->show();
    QApplication::setActiveWindow(gui.form.get());
    QVERIFY(QTest::qWaitForWindowActive(gui.form.get()));
    const ParamImage before = gui.form->image;
    QTest::keyClick(gui.form.get(), Qt::Key_F5); // page 0: nothing at all
    QCOMPARE(gui.form->image.Data(), before.Data());
    QVERIFY(!gui.ui().SpeedButtonZpet->isEnabled());
    gui.ShowPage(kPageServo1);
    QTest::keyClick(gui.form.get(), Qt::Key_F5); // the live cell: column 0, row 0 at rest
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 101);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 1)), 105);
    QTest::keyClick(gui.form.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 100);
    QTest::keyClick(gui.form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 101);
    QTest::mouseClick(gui.ui().CheckBoxAll, Qt::LeftButton, {}, QPoint(6, 8));
    QCOMPARE(int(gui.form->allCells[0]), 1);
    QTest::keyClick(gui.form.get(), Qt::Key_F4); // All without TP Enable: row 0 only
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 100);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 14)), 169);
    QCOMPARE(int(gui.form->image.Cell(0, 1, 14)), 170);
    QVERIFY(gui.ui().CheckBoxAll->isChecked()); // kept beside the image, across the step
}

void TestGui::perCentSwitch() {
    Gui gui;
    gui.ShowPage(kPageServo1);
    gui.form->show();
    QTest::mouseClick(gui.ui().CheckBoxProcenta, Qt::LeftButton, {}, QPoint(6, 8));
    QCOMPARE(int(gui.form->image.Procenta(0)), 1);
    QCOMPARE(int(gui.form->image.Cell(0, 4, 0)), 40);
    QCOMPARE(gui.ui().UpDownMap[4][0]->Max(), 100);
    QCOMPARE(gui.ui().EditMap[0][0]->text(), QStringLiteral("40"));
    QTest::mouseClick(gui.ui().CheckBoxProcenta, Qt::LeftButton, {}, QPoint(6, 8));
    QCOMPARE(int(gui.form->image.Cell(0, 4, 0)), 100);
    QCOMPARE(gui.ui().EditMap[0][0]->text(), QStringLiteral("2,000"));
}

void TestGui::printLayout() {
    Gui gui;
    gui.ShowPage(kPageServo1);
    gui.form->show();
    FormHlavUi& ui = gui.ui();
    gui.form->SetPrintLayout(false);
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui.StatusBar1, ui.GroupBoxToolBar, ui.LabelSpojeni, ui.UpDownMapRpm[3],
             ui.UpDownMap[0][0], ui.CSpinButtonMap[14], ui.ButtonPlus, ui.CheckBoxAll,
             ui.UpDownHysterOff, ui.CGaugeRpm, ui.CGaugeTps})
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QVERIFY(!ui.PageControl1->isTabVisible(kPageMisc));
    QVERIFY(ui.PageControl1->isTabVisible(kPageServo1));
    QVERIFY(ui.EditMap[0][0]->isVisible()); // the values are what is printed
    QVERIFY(ui.CheckBoxServoEnable->isVisible());
    QCOMPARE(ui.LabelMapRow[2]->palette().color(QPalette::Window), QColor(Qt::white));
}

void TestGui::printRestoresWindow_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("dateLine");
    QTest::newRow("Czech") << "CESKY" << QString::fromUtf8("Datum a čas tisku:  ");
    QTest::newRow("English") << "ENGLISH"
                             << "Date and Time of printing:  ";
    QTest::newRow("German") << "DEUTSCH"
                            << "Date and Time of printing:  ";
}

void TestGui::printRestoresWindow() {
    QFETCH(QString, word);
    Gui gui({word});
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("print.pdf"));
    gui.form->SetPrintFile(pdf);
    gui.ShowPage(kPageServo1);
    gui.form->show();
    gui.Ticks(8); // connected: the connection label is hidden
    FormHlavUi& ui = gui.ui();
    QVERIFY(!ui.CheckBoxTpEnable->isChecked());
    gui.form->SpeedButtonPrintClick();
    QVERIFY(QFileInfo(pdf).size() > 1000);
    QVERIFY(gui.prompter.messages.isEmpty());
    QFETCH(QString, dateLine);
    QVERIFY2(ui.LabelHlaseni->text().startsWith(dateLine), qPrintable(ui.LabelHlaseni->text()));
    QVERIFY(ui.LabelHlaseni->text().contains(QStringLiteral("    ")));
    QVERIFY(ui.LabelHlaseni->isVisible());
    QCOMPARE(int(gui.form->link.MessageTime), 200);
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui.StatusBar1, ui.GroupBoxToolBar, ui.UpDownMap[0][5],
                                         ui.CGaugeRpm, ui.CGaugeTps, ui.ButtonMinus})
        QVERIFY(w->isVisible());
    QVERIFY(!ui.LabelSpojeni->isVisible());
    QVERIFY(!ui.EditMap[4][4]->isVisible()); // TP Enable off keeps rows 1..9 hidden
    QVERIFY(!ui.UpDownMap[4][4]->isVisible());
    QVERIFY(ui.PageControl1->isTabVisible(kPageMisc));
    QVERIFY(ui.client->palette().color(QPalette::Window) != QColor(Qt::white));
    gui.Ticks(201);
    QVERIFY(!ui.LabelHlaseni->isVisible());
}

QTEST_MAIN(TestGui)
#include "test_gui.moc"
