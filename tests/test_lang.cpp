#include "About.h"
#include "GuiFixture.h"

#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>

using namespace zyrk;

class TestLang : public QObject {
    Q_OBJECT

  private slots:
    void windowTexts_data();
    void windowTexts();
    void commandLineWord_data();
    void commandLineWord();
    void placeholdersOnlyWithoutUnit();
    void messagesFollowSwitch();
    void aboutWindow();
    void storedLanguageOutOfRange();
};

void TestLang::windowTexts_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("menuRead");
    QTest::addColumn<QString>("tools");
    QTest::addColumn<QString>("undo");
    QTest::addColumn<QString>("comHint");
    QTest::addColumn<QString>("pulses3");
    QTest::addColumn<QString>("programError");
    QTest::addColumn<QString>("readError");
    QTest::addColumn<int>("checked"); // 0 Czech, 1 English, 2 German item

    QTest::newRow("Czech") << "CESKY" << QString::fromUtf8("Nastavování jednotky \"ZYRK\"")
                           << QString::fromUtf8("Čí&st") << QString::fromUtf8("Pomůcky") << "Zpet"
                           << QString::fromUtf8("Nastavení čísla serivého portu (Com) ")
                           << QString::fromUtf8("3 za otáčku")
                           << QString::fromUtf8("Chyba programování")
                           << QString::fromUtf8("Chyba čtení!") << 0;
    QTest::newRow("English") << "ENGLISH"
                             << "Programming of \"ZYRK\" unit"
                             << "&Read"
                             << "Tools"
                             << "Undo"
                             << "Set number of com"
                             << "3 per one revolution"
                             << "Program error!"
                             << "Read error!" << 1;
    QTest::newRow("German") << "DEUTSCH"
                            << "Adjustierung der \"ZYRK\" Steuereinheit"
                            << "&Lesen"
                            << "Werkzeuge" << QString::fromUtf8("Zurück")
                            << QString::fromUtf8("Com-Anschluß festlegen") << "3 pro eine Umdrehung"
                            << "Programmierfehler!"
                            << "Lesefehler" << 2;
}

void TestLang::windowTexts() {
    QFETCH(QString, word);
    Gui gui({word});
    FormHlavUi& ui = gui.ui();
    QTEST(gui.form->windowTitle(), "caption");
    QTEST(ui.MenuRead->text(), "menuRead");
    QTEST(ui.ButtonRead->text(), "menuRead");
    QTEST(ui.MenuTools->title(), "tools");
    QTEST(ui.MenuZpet->text(), "undo");
    QTEST(LongHint(HintOf(ui.MenuCom->menuAction())), "comHint");
    QTEST(ui.PocPulsuItems[3]->text(), "pulses3");
    QTEST(gui.form->messages[MsgProgramError], "programError");
    QTEST(gui.form->messages[MsgReadError], "readError");
    QFETCH(int, checked);
    QCOMPARE(ui.MenuCzech->isChecked(), checked == 0);
    QCOMPARE(ui.MenuEnglish->isChecked(), checked == 1);
    QCOMPARE(ui.MenuGerman->isChecked(), checked == 2);
    // Texts that no language changes.
    QCOMPARE(ui.MenuToolsMinus->text(), QStringLiteral("Minus "));
    QCOMPARE(ui.CheckBoxTpEnable->text(), QStringLiteral("TP Enable"));
    QCOMPARE(ui.CheckBoxAll->text(), QStringLiteral("All"));
}

void TestLang::commandLineWord_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("language");
    QTest::newRow("nothing gives Czech") << QStringList{} << 0;
    QTest::newRow("lower case changes nothing") << QStringList{"english"} << 0;
    QTest::newRow("DEUTSCH") << QStringList{"DEUTSCH"} << 2;
    QTest::newRow("only the first word counts") << QStringList{"-x", "ENGLISH"} << 0;
}

void TestLang::commandLineWord() {
    QFETCH(QStringList, arguments);
    Gui gui(arguments);
    QTEST(int(gui.form->LanguageIndex), "language");
}

void TestLang::placeholdersOnlyWithoutUnit() {
    Gui gui;
    FormHlavUi& ui = gui.ui();
    QCOMPARE(ui.LabelServoPoz[0]->text(), QStringLiteral("Servo desired 1 = --- mV"));
    gui.form->MenuGermanClick();
    QCOMPARE(ui.LabelServoPoz[0]->text(), QStringLiteral("Servo Sollspannung 1 = --- mV"));
    QCOMPARE(ui.LabelPocetProgramovani->text(), QStringLiteral("Programmierungsanzahl = ---"));

    gui.Ticks(8); // the unit answers
    QVERIFY(!ui.LabelSpojeni->isVisibleTo(gui.form.get()));
    const QString live = ui.LabelServoPoz[0]->text();
    QVERIFY(live.startsWith(QStringLiteral("Servo Sollspannung 1 = ")));
    QVERIFY(!live.contains(QStringLiteral("---")));
    gui.form->MenuEnglishClick();
    QCOMPARE(ui.LabelServoPoz[0]->text(), live); // kept until the next monitor reply
    gui.Ticks(6);
    QVERIFY(ui.LabelServoPoz[0]->text().startsWith(QStringLiteral("Servo desired 1 = ")));
}

void TestLang::messagesFollowSwitch() {
    Gui gui;
    gui.prompter.answer = Prompter::No;
    gui.form->MenuGermanClick();
    gui.form->MenuNewClick();
    gui.form->MenuCzechClick();
    gui.form->MenuNewClick();
    QCOMPARE(gui.prompter.questions,
             (QStringList{QString::fromUtf8("Wollen Sie Standardeinstellungen öffnen?"),
                          QString::fromUtf8("Chcete nastavit základní hodnoty?")}));
    QVERIFY(gui.ui().MenuCzech->isChecked());
    QVERIFY(!gui.ui().MenuGerman->isChecked());
}

void TestLang::aboutWindow() {
    Gui gui;
    TFormAbout about(gui.form->LanguageIndex, gui.form.get());
    QCOMPARE(about.size(), QSize(273, 375));
    QCOMPARE(about.LabelRsKey->text(), QStringLiteral("Version - 56"));
    QCOMPARE(about.LabelDate->text(), BuildDate());
    QVERIFY(QRegularExpression(QStringLiteral("^[A-Z][a-z]{2} [ 0-9]\\d \\d{4}$"))
                .match(about.LabelDate->text())
                .hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                .match(about.LabelTime->text())
                .hasMatch());

    const struct {
        void (TFormHlav::*select)();
        const char* caption;
    } cases[] = {{&TFormHlav::MenuGermanClick, "Über Programm ZYRK"},
                 {&TFormHlav::MenuEnglishClick, "About ZYRK"},
                 {&TFormHlav::MenuCzechClick, "O programu ZYRK"}};
    for (const auto& c : cases) {
        (gui.form.get()->*c.select)();
        about.show();
        QCOMPARE(about.windowTitle(), QString::fromUtf8(c.caption));
        // A click elsewhere does nothing; the word OK closes the window.
        QTest::mouseClick(about.LabelRsKey, Qt::LeftButton);
        QVERIFY(about.isVisible());
        QTest::mouseClick(about.LabelExit, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!about.isVisible());
    }
    gui.form->LanguageIndex = 7; // anything else leaves the caption as it was
    about.show();
    QCOMPARE(about.windowTitle(), QStringLiteral("O programu ZYRK"));
    about.hide();
}

void TestLang::storedLanguageOutOfRange() {
    // A language number outside the three falls back to Czech rather than mixing leftovers.
    Gui gui;
    gui.form->LanguageIndex = 3;
    gui.form->ApplyLanguage();
    QCOMPARE(gui.ui().MenuFile->title(), QStringLiteral("&Soubor"));
    QCOMPARE(gui.form->messages[MsgSaving], QString::fromUtf8("Ukládání:"));
    QCOMPARE(int(gui.form->LanguageIndex), 0);
    QVERIFY(gui.ui().MenuCzech->isChecked());
}

QTEST_MAIN(TestLang)
#include "test_lang.moc"
