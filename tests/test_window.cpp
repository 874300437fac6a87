// The main window's own behaviour around the designed layout: the tick under a box, menu
// marks, keys, colours, placement, texts that must fit, and the toolkit's language.
#include "FormHlavUi.h"
#include "GuiFixture.h"
#include "HlavDetail.h"
#include "Placement.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace zyrk;

namespace {

int MonitorRequests(const SimPort& port) {
    int n = 0;
    for (const QByteArray& f : port.written)
        n += static_cast<uint8_t>(f[0]) == kCmdMonitor ? 1 : 0;
    return n;
}

// A monitor reply whose every value has four digits, for the widest live texts.
QByteArray WideMonitorReply() {
    uint8_t d[kFrameData] = {};
    auto word = [&d](int at, int v) {
        d[at - 1] = static_cast<uint8_t>(v & 0xFF);
        d[at] = static_cast<uint8_t>(v >> 8);
    };
    word(1, 9999);  // engine speed
    word(3, 1023);  // throttle sensor, 5000 mV
    word(5, 300);   // supply, 16.1 V
    word(7, 4888);  // servo 1 measured
    word(9, 4888);  // servo 1 desired
    word(11, 4888); // servo 2 measured
    word(13, 4888); // servo 2 desired
    word(15, 9999); // programmings
    d[41 - 1] = 100;
    d[50 - 1] = 56;
    return MakeFrame(kCmdMonitorReply, d);
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

  private slots:
    void tickIsPrecise();
    void tickGoesOnUnderVersionBox();
    void comMarkAfterEveryPick_data();
    void comMarkAfterEveryPick();
    void undoKeysFromMapCell_data();
    void undoKeysFromMapCell();
    void percentFlagTwoKeepsCells();
    void progHnedColours();
    void openDialogTakesMissingName();
    void timeWithoutZone_data();
    void timeWithoutZone();
    void printTakesFocusAway();
    void noPrinterMessageSpeaksLanguage();
    void windowIcon();
    void keepOnScreen_data();
    void keepOnScreen();
    void longTextsDoNotCollide_data();
    void longTextsDoNotCollide();
    void longFileNameShortened();
    void toolkitSpeaksLanguage_data();
    void toolkitSpeaksLanguage();
};

void TestWindow::tickIsPrecise() {
    Gui gui;
    QCOMPARE(gui.form->Timer1.timerType(), Qt::PreciseTimer);
    QCOMPARE(gui.form->Timer1.interval(), kTickMs);
}

// The version box of a Read is shown from inside the tick; while it stands the monitor must
// go on asking (a request every sixth tick), so the ticks cannot have stopped.
void TestWindow::tickGoesOnUnderVersionBox() {
    Gui gui({QStringLiteral("ENGLISH")}, QString(), QString(), true);
    gui.unit.faults.version = 55;
    int requestsUnderBox = 0;
    bool orderKept = false;
    gui.prompter.whileShown = [&] {
        // The mode is back to monitor and the image shown before the box comes up.
        orderKept = gui.form->link.LinkMode == ModeMonitor;
        const int before = MonitorRequests(gui.port);
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (MonitorRequests(gui.port) - before >= 2)
                loop.quit();
        });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit); // a bound, not a measurement
        poll.start();
        loop.exec();
        requestsUnderBox = MonitorRequests(gui.port) - before;
    };
    gui.form->MenuReadClick();
    QTRY_VERIFY_WITH_TIMEOUT(!gui.prompter.messages.isEmpty(), 5000);
    QVERIFY(orderKept);
    QVERIFY2(requestsUnderBox >= 2, "no monitor request went out while the box stood");
    QVERIFY(gui.prompter.messages.first().startsWith(
        QStringLiteral("Unmatched version of PC and Ignition programs!")));
}

void TestWindow::comMarkAfterEveryPick_data() {
    QTest::addColumn<QList<int>>("picks");
    QTest::newRow("the checked fixed port again") << QList<int>{3, 3};
    QTest::newRow("Com Auto again") << QList<int>{20, 20};
    QTest::newRow("fixed, auto, auto, fixed") << QList<int>{0, 20, 20, 0};
    QTest::newRow("another port") << QList<int>{4, 7};
}

void TestWindow::comMarkAfterEveryPick() {
    QFETCH(QList<int>, picks);
    Gui gui;
    for (int pick : picks) {
        gui.ui().MenuComItems[static_cast<size_t>(pick)]->trigger(); // as a click toggles it
        QList<int> marked;
        for (int k = 0; k < kComItems; ++k) {
            if (gui.ui().MenuComItems[static_cast<size_t>(k)]->isChecked())
                marked << k;
        }
        QCOMPARE(marked, QList<int>{int(gui.form->link.ComIndex)});
        QCOMPARE(int(gui.form->link.ComIndex), pick);
    }
}

void TestWindow::undoKeysFromMapCell_data() {
    QTest::addColumn<bool>("redo");
    QTest::newRow("Ctrl+Z undoes") << false;
    QTest::newRow("Ctrl+Alt+Z redoes") << true;
}

void TestWindow::undoKeysFromMapCell() {
    QFETCH(bool, redo);
    Gui gui;
    gui.form->show();
    QApplication::setActiveWindow(gui.form.get());
    QVERIFY(QTest::qWaitForWindowActive(gui.form.get()));
    gui.ShowPage(kPageServo1);
    const int before = gui.form->image.Cell(0, 0, 0);
    QLineEdit* cell = gui.ui().EditMap[0][0];
    cell->setFocus();
    cell->selectAll();
    QTest::keyClicks(cell, QStringLiteral("4000"));
    QTest::keyClick(cell, Qt::Key_Return);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 200);
    cell->setFocus();
    QVERIFY(cell->hasFocus());
    QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), before);
    if (redo) {
        QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 200);
    }
}

// A unit flag of 2 (from a file or default.ini) is per cent everywhere: the cells show and
// commit as per cent and keep their bytes when the user clicks from cell to cell.
void TestWindow::percentFlagTwoKeepsCells() {
    Gui gui;
    gui.form->image.SetProcenta(0, 2);
    gui.form->image.SetCell(0, 0, 0, 40);
    gui.form->image.SetCell(0, 0, 1, 41);
    gui.ShowPage(kPageServo1);
    gui.form->ShowImage();
    QCOMPARE(gui.ui().EditMap[0][0]->text(), QStringLiteral("40"));
    QVERIFY(gui.ui().CheckBoxProcenta->isChecked());
    gui.form->Edit1Exit(); // a click into a cell commits the page
    gui.form->Edit1Exit();
    QCOMPARE(int(gui.form->image.Cell(0, 0, 0)), 40);
    QCOMPARE(int(gui.form->image.Cell(0, 0, 1)), 41);
}

void TestWindow::progHnedColours() {
    Gui gui;
    QCheckBox* box = gui.ui().CheckBoxProgHned;
    const QPalette designed = box->palette();
    box->setChecked(true);
    gui.form->ShowImage();
    QCOMPARE(box->palette().color(QPalette::Window), QColor(Qt::red));
    QCOMPARE(box->palette().color(QPalette::Button), QColor(Qt::red));
    QCOMPARE(box->palette().color(QPalette::Base), designed.color(QPalette::Base));
    // Far right of the control, beyond its caption: the whole control is red, not the box.
    const QImage ticked = box->grab().toImage();
    QCOMPARE(QColor(ticked.pixel(ticked.width() - 2, ticked.height() / 2)), QColor(Qt::red));
    box->setChecked(false);
    gui.form->ShowImage();
    QCOMPARE(box->palette(), designed);
}

// The Open dialog takes the name of a file that is not there; the Open command then says
// "Open file error!" itself.
void TestWindow::openDialogTakesMissingName() {
    QTemporaryDir dir;
    QWidget parent;
    BoxPrompter prompter;
    bool stuck = false;
    QTimer::singleShot(300, [&dir] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name)
            return;
        name->setText(dir.filePath(QStringLiteral("missing")));
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTimer::singleShot(4000, [&stuck] {
        // A dialog still up here insisted on an existing file (or asked something).
        while (QWidget* modal = QApplication::activeModalWidget()) {
            stuck = true;
            modal->close();
        }
    });
    const QString chosen = prompter.ChooseOpenFile(&parent, dir.path() + QLatin1Char('/'));
    QVERIFY(!stuck);
    QCOMPARE(QFileInfo(chosen).fileName(), QStringLiteral("missing.ign"));
}

void TestWindow::timeWithoutZone_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zone after the time") << "HH:mm:ss t"
                                         << "HH:mm:ss";
    QTest::newRow("twelve-hour with zone") << "h:mm:ss AP t"
                                           << "h:mm:ss AP";
    QTest::newRow("no zone") << "H:mm:ss"
                             << "H:mm:ss";
    QTest::newRow("quoted t kept") << "HH 'at' mm:ss t"
                                   << "HH 'at' mm:ss";
}

void TestWindow::timeWithoutZone() {
    QFETCH(QString, format);
    QTEST(TimeWithoutZone(format), "expected");
}

void TestWindow::printTakesFocusAway() {
    QTemporaryDir dir;
    Gui gui;
    gui.form->SetPrintFile(dir.filePath(QStringLiteral("print.pdf")));
    gui.form->show();
    QApplication::setActiveWindow(gui.form.get());
    QVERIFY(QTest::qWaitForWindowActive(gui.form.get()));
    gui.ShowPage(kPageServo1);
    QLineEdit* cell = gui.ui().EditMap[0][2];
    cell->setFocus();
    QVERIFY(cell->hasFocus());
    // What the page is drawn from: record whether the cell had focus while it was drawn.
    struct Spy : QObject {
        QLineEdit* cell = nullptr;
        bool focusedWhileDrawn = false;
        bool drawn = false;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (o == cell && e->type() == QEvent::Paint && !cell->isVisible())
                return false;
            if (o == cell && e->type() == QEvent::Paint) {
                drawn = true;
                focusedWhileDrawn |= cell->hasFocus();
            }
            return false;
        }
    } spy;
    spy.cell = cell;
    cell->installEventFilter(&spy);
    gui.form->SpeedButtonPrintClick();
    cell->removeEventFilter(&spy);
    QVERIFY(spy.drawn);
    QVERIFY(!spy.focusedWhileDrawn);
    QVERIFY(cell->hasFocus()); // and the user gets it back
    QVERIFY(gui.prompter.messages.isEmpty());
    QVERIFY(!gui.ui().LabelHlaseni->text().contains(QStringLiteral("UTC")));
}

void TestWindow::noPrinterMessageSpeaksLanguage() {
    MessageTable t;
    QStringList texts;
    for (int language : {LangCzech, LangEnglish, LangGerman}) {
        t.Fill(language);
        texts << t[MsgNoPrinter];
    }
    QCOMPARE(texts[1], QStringLiteral("Printing failed: no printer is available."));
    QVERIFY(texts[0] != texts[1] && texts[2] != texts[1] && texts[0] != texts[2]);
}

void TestWindow::windowIcon() {
    Gui gui;
    const QIcon icon = gui.form->windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
}

void TestWindow::keepOnScreen_data() {
    QTest::addColumn<QPoint>("wanted");
    QTest::addColumn<QPoint>("placed");
    QTest::newRow("centred on a 1366 x 768 screen") << QPoint(183, -32) << QPoint(183, 27);
    QTest::newRow("inside stays") << QPoint(1500, 100) << QPoint(1500, 100);
    QTest::newRow("under the top panel") << QPoint(10, 5) << QPoint(10, 27);
    QTest::newRow("right screen") << QPoint(1400, 100) << QPoint(1400, 100);
    QTest::newRow("off every screen") << QPoint(5000, 5000) << QPoint(183, 27);
    QTest::newRow("negative left") << QPoint(-300, 100) << QPoint(183, 27);
}

void TestWindow::keepOnScreen() {
    QFETCH(QPoint, wanted);
    const QSize frame(1000, 868);
    const QRect left(0, 27, 1366, 741); // a panel of 27 px on top
    const QRect right(1366, 0, 1920, 1080);
    QTEST(KeepOnScreen(wanted, frame, {left, right}, left), "placed");
}

void TestWindow::longTextsDoNotCollide_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("page");
    for (const char* word : {"CESKY", "ENGLISH", "DEUTSCH"}) {
        for (int page : {kPageMisc, kPageServo1}) {
            QTest::addRow("%s, page %d", word, page) << QString::fromLatin1(word) << page;
        }
    }
}

// No two visible controls of the same container overlap or touch, with every text at its widest: a
// caption that runs into its neighbour cannot be read.
void TestWindow::longTextsDoNotCollide() {
    QFETCH(QString, word);
    QFETCH(int, page);
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("marker"));
    {
        QFile f(marker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("DIAG_SWITCH");
    }
    Gui gui({word}, QString(), marker);
    gui.form->show();
    gui.ShowPage(page);
    gui.ui().CheckBoxTpEnable->setChecked(true);
    gui.form->CheckBoxTpEnableMouseUp();
    gui.port.Inject(WideMonitorReply());
    gui.Ticks(1);
    gui.form->image.SetCell(0, 9, 14, 250);
    gui.form->ShowImage();
    gui.form->link.Display().statusText = QStringLiteral("Programmieren:");
    gui.form->link.Display().statusVisible = true;
    gui.form->link.Display().gaugeVisible = true;
    gui.form->link.Display().connectionVisible = true; // the widest label of the top row
    gui.form->Render();

    QStringList collisions;
    const QList<QWidget*> all = gui.form->findChildren<QWidget*>();
    for (QWidget* a : all) {
        if (!a->isVisibleTo(gui.form.get()) || !a->parentWidget() ||
            a->parentWidget()->inherits("QStackedWidget") || a->isWindow())
            continue;
        for (QWidget* b : all) {
            if (a >= b || b->parentWidget() != a->parentWidget() || !b->isVisibleTo(gui.form.get()))
                continue;
            // Less than a few pixels apart counts: text that meets its neighbour reads as one.
            constexpr int kGap = 4;
            const QRect overlap = a->geometry().adjusted(0, 0, kGap, 0) & b->geometry();
            const QRect reverse = b->geometry().adjusted(0, 0, kGap, 0) & a->geometry();
            if (overlap.isEmpty() && reverse.isEmpty())
                continue;
            // An up-down sits on the edge of its field by design.
            if (a->inherits("zyrk::UpDown") || b->inherits("zyrk::UpDown"))
                continue;
            collisions << QStringLiteral("%1 / %2").arg(
                a->objectName().isEmpty() ? QString::fromLatin1(a->metaObject()->className())
                                          : a->objectName(),
                b->objectName().isEmpty() ? QString::fromLatin1(b->metaObject()->className())
                                          : b->objectName());
        }
    }
    QVERIFY2(collisions.isEmpty(), qPrintable(collisions.join(QStringLiteral(", "))));
}

void TestWindow::longFileNameShortened() {
    Gui gui;
    const QString path =
        QStringLiteral("/home/technician/Documents/dynamometer runs/2026 season/long folder "
                       "name for the bike/final settings after the third run.ign");
    gui.form->SetFileCaption(path);
    QLabel* label = gui.ui().LabelFile2;
    QVERIFY(label->text() != path);
    QVERIFY(label->text().contains(QChar(0x2026)));
    QVERIFY(label->geometry().right() < gui.ui().RadioGroupPocPulsu->geometry().left());
    QCOMPARE(label->toolTip(), path);
    QCOMPARE(gui.form->FileCaption(), path); // what the settings keep
    gui.form->SetFileCaption(QStringLiteral("short.ign"));
    QCOMPARE(label->text(), QStringLiteral("short.ign"));
}

void TestWindow::toolkitSpeaksLanguage_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("yes");
    QTest::newRow("Czech") << int(LangCzech) << "&Ano";
    QTest::newRow("German") << int(LangGerman) << "&Ja";
    QTest::newRow("English") << int(LangEnglish) << "&Yes";
}

void TestWindow::toolkitSpeaksLanguage() {
    QFETCH(int, language);
    Gui gui;
    if (language == LangCzech)
        gui.form->MenuCzechClick();
    else if (language == LangGerman)
        gui.form->MenuGermanClick();
    else
        gui.form->MenuEnglishClick();
    QTEST(QCoreApplication::translate("QPlatformTheme", "&Yes"), "yes");
    gui.form->MenuEnglishClick(); // and back
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
