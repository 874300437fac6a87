// What the window tells the user beyond the designed texts: the detail under a port or file
// error, the port the automatic search is trying, and monitor values drawn grey while no
// unit answers.
#include "GuiFixture.h"

#include <QStatusBar>
#include <QTest>

using namespace zyrk;

namespace {
QColor TextColour(const QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}
} // namespace

class TestNotices : public QObject {
    Q_OBJECT

  private slots:
    void portErrorDetail_data();
    void portErrorDetail();
    void fileErrorDetail_data();
    void fileErrorDetail();
    void searchInStatusBar();
    void staleValuesGrey();
};

void TestNotices::portErrorDetail_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("reason");
    QTest::newRow("English") << "ENGLISH"
                             << "Com opening error!"
                             << "busy";
    QTest::newRow("German") << "DEUTSCH" << QString() << "belegt";
}

void TestNotices::portErrorDetail() {
    QFETCH(QString, language);
    QFETCH(QString, message);
    QFETCH(QString, reason);
    Gui gui{QStringList{language}};
    gui.port.existing = {QStringLiteral("/nowhere")};
    gui.port.failure = {PortError::Busy, QStringLiteral("Device or resource busy")};
    gui.ui().MenuComItems[4]->trigger();
    QCOMPARE(gui.prompter.messages.size(), 1);
    if (!message.isEmpty()) // the message keeps its exact words
        QCOMPARE(gui.prompter.messages.first(), message);
    QCOMPARE(gui.prompter.details.size(), 1);
    const QString detail = gui.prompter.details.first();
    QVERIFY2(detail.contains(gui.form->link.Names().Path(5)), qPrintable(detail));
    QVERIFY2(detail.contains(reason), qPrintable(detail));
    QVERIFY(detail.contains(QStringLiteral("Device or resource busy")));
}

void TestNotices::fileErrorDetail_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<QString>("reason");
    QTest::newRow("open, missing") << false << QByteArray() << "System: ";
    QTest::newRow("open, damaged")
        << false << QByteArray("VELKARIM_KEY\r\n56\r\nPOCET_PULSU 3 TPS 480\r\n")
        << "not a complete parameter file";
    QTest::newRow("save into a missing folder") << true << QByteArray() << "System: ";
}

void TestNotices::fileErrorDetail() {
    QFETCH(bool, save);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    Gui gui;
    const QString path = save ? gui.settings.filePath(QStringLiteral("no/such/folder/a.ign"))
                              : gui.settings.filePath(QStringLiteral("a.ign"));
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const ParamImage before = gui.form->image;
    gui.prompter.chosen = path;
    if (save)
        gui.form->MenuSaveClick();
    else
        gui.form->MenuOpenClick();
    QCOMPARE(gui.prompter.messages, QStringList{"Open file error!"});
    QCOMPARE(gui.prompter.details.size(), 1);
    const QString detail = gui.prompter.details.first();
    QVERIFY2(detail.startsWith(QStringLiteral("File: ") + QDir::toNativeSeparators(path)),
             qPrintable(detail));
    QVERIFY2(detail.contains(reason), qPrintable(detail));
    QVERIFY(gui.form->image.Data() == before.Data());
}

// Hints own the status bar; the search names its port whenever no hint is shown.
void TestNotices::searchInStatusBar() {
    Gui gui;
    gui.unit.faults.silent = true;
    QStatusBar* bar = gui.ui().StatusBar1;
    const int first = gui.form->link.AutoScanIndex + 1;
    const QString firstText = QStringLiteral("Looking for the unit on COM%1 (%2)")
                                  .arg(first)
                                  .arg(gui.form->link.Names().Path(first));
    gui.Ticks(1);
    QCOMPARE(bar->currentMessage(), firstText);

    bar->showMessage(QStringLiteral("a hint")); // a hint takes the bar and keeps it
    gui.Ticks(kFailedAutoOpenTicks + kReconnectTicks);
    QCOMPARE(bar->currentMessage(), QStringLiteral("a hint"));
    bar->clearMessage(); // the pointer left: the search shows the port it is trying now
    gui.Ticks(1);
    const int now = gui.form->link.AutoScanIndex + 1;
    QVERIFY(now != first);
    QCOMPARE(bar->currentMessage(), QStringLiteral("Looking for the unit on COM%1 (%2)")
                                        .arg(now)
                                        .arg(gui.form->link.Names().Path(now)));

    // The unit answers: the search text goes, a hint would have stayed.
    gui.unit.faults.silent = false;
    gui.Ticks(2 * kMonitorEveryTicks);
    QVERIFY(!gui.ui().LabelSpojeni->isVisibleTo(gui.form.get()));
    QCOMPARE(bar->currentMessage(), QString());
}

void TestNotices::staleValuesGrey() {
    Gui gui;
    FormHlavUi& ui = gui.ui();
    gui.ShowPage(kPageServo1);
    const QColor live = gui.form->palette().color(QPalette::Active, QPalette::WindowText);
    const QColor grey = gui.form->palette().color(QPalette::Disabled, QPalette::WindowText);
    QVERIFY(live != grey);
    const std::vector<QLabel*> values{ui.LabelRpm, ui.LabelTpsMon, ui.LabelNapeti,
                                      ui.LabelServoPoz[0], ui.LabelServoMer[1]};

    gui.Ticks(2 * kMonitorEveryTicks); // replies: live
    QVERIFY(!ui.LabelSpojeni->isVisibleTo(gui.form.get()));
    for (QLabel* label : values)
        QCOMPARE(TextColour(label), live);
    // Before any reply the placeholders are grey as well; a reply makes them live.
    const QColor rpmBar = ui.CGaugeRpm->BarColor();
    QCOMPARE(rpmBar, QColor(Qt::magenta));
    const int row = gui.form->LiveRow;
    const int column = gui.form->LiveColumn;
    auto cell = [&] {
        return ui.EditMap[size_t(row)][size_t(column)]->palette().color(QPalette::Base);
    };
    QCOMPARE(cell(), QColor(0, 255, 0));

    gui.unit.faults.silent = true;
    gui.Ticks(kSilentLimit + 1);
    QVERIFY(ui.LabelSpojeni->isVisibleTo(gui.form.get()));
    const QString frozen = ui.LabelRpm->text();
    for (QLabel* label : values)
        QCOMPARE(TextColour(label), grey);
    QVERIFY(ui.CGaugeRpm->BarColor() != rpmBar);
    QVERIFY(cell() != QColor(0, 255, 0));
    QCOMPARE(ui.LabelRpm->text(), frozen); // the text stays as it was

    gui.unit.faults.silent = false;
    for (int i = 0; i < kFailedAutoOpenTicks + 2 * kMonitorEveryTicks &&
                    ui.LabelSpojeni->isVisibleTo(gui.form.get());
         ++i)
        gui.Ticks(1);
    QVERIFY(!ui.LabelSpojeni->isVisibleTo(gui.form.get()));
    for (QLabel* label : values)
        QCOMPARE(TextColour(label), live);
    QCOMPARE(ui.CGaugeRpm->BarColor(), rpmBar);
}

QTEST_MAIN(TestNotices)
#include "test_notices.moc"
