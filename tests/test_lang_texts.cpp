#include "LanguageTexts.h"

#include <QSet>
#include <QtTest>

using namespace zyrk;
using namespace Qt::StringLiterals;

namespace {

// One test row per language, tagged "<what>/<language>".
void AddRow(const char* what, const TextRow* row, const QString& cz, const QString& en,
            const QString& de) {
    const QString expected[kLanguageCount] = {cz, en, de};
    const char* names[kLanguageCount] = {"cz", "en", "de"};
    for (int language = 0; language < kLanguageCount; ++language) {
        QTest::addRow("%s/%s", what, names[language]) << row << language << expected[language];
    }
}

} // namespace

class TestLangTexts : public QObject {
    Q_OBJECT

  private slots:
    void captions_data();
    void captions();
    void hints_data();
    void hints();
    void everyRowFilledInEveryLanguage();
    void lettersAreUnicode();
    void sharedTextsByControl_data();
    void sharedTextsByControl();
    void designHints_data();
    void designHints();
    void pulsesItems_data();
    void pulsesItems();
    void aboutCaption_data();
    void aboutCaption();
    void languageFromWord_data();
    void languageFromWord();
    void sanitizeLanguage_data();
    void sanitizeLanguage();
};

void TestLangTexts::captions_data() {
    QTest::addColumn<const TextRow*>("row");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("expected");

    AddRow("WindowCaption", &lang::WindowCaption, u"Nastavování jednotky \"ZYRK\""_s,
           u"Programming of \"ZYRK\" unit"_s, u"Adjustierung der \"ZYRK\" Steuereinheit"_s);
    AddRow("LabelSpojeni", &lang::LabelSpojeni, u"Není spojení s PC"_s, u"No connection with PC"_s,
           u"Keine Verbindung zum PC"_s);
    AddRow("MenuExit", &lang::MenuExit, u"&Konec"_s, u"E&xit"_s, u"&Beenden"_s);
    AddRow("MenuCom", &lang::MenuCom, u"&Port"_s, u"&Com"_s, u"&COM-Anschluß"_s);
    AddRow("MenuRead", &lang::MenuRead, u"Čí&st"_s, u"&Read"_s, u"&Lesen"_s);
    AddRow("MenuCzech", &lang::MenuCzech, u"Če&sky"_s, u"&Czech"_s, u"&Tschechisch"_s);
    AddRow("MenuContens", &lang::MenuContens, u"Obsah"_s, u"&Contents..."_s, u"&Inhalt..."_s);
    AddRow("MenuAbout", &lang::MenuAbout, u"&O programu..."_s, u"&About..."_s,
           u"&Über Programm..."_s);
    AddRow("CheckBoxProgHned", &lang::CheckBoxProgHned, u"Programování po změně"_s,
           u"Programming after change"_s, u"Programmierung nach Änderung"_s);
    AddRow("TabSheet_Ruzne", &lang::TabSheet_Ruzne, u"Různé"_s, u"Miscellaneous"_s,
           u"Verschiedene"_s);
    AddRow("LabelHysterRpm", &lang::LabelHysterRpm, u"Hystereze [RPM]"_s, u"Hysteresis [RPM]"_s,
           u"Nachwirkung [RPM]"_s);
    AddRow("RadioGroupPocPulsu", &lang::RadioGroupPocPulsu, u"Počet pulsů"_s, u"Number of pulses"_s,
           u"Pulszahl"_s);
    AddRow("MenuZpet", &lang::MenuZpet, u"Zpet"_s, u"Undo"_s, u"Zurück"_s);
    AddRow("MenuZnovu", &lang::MenuZnovu, u"Znovu"_s, u"Redo"_s, u"Wieder"_s);
}

void TestLangTexts::captions() {
    QFETCH(const TextRow*, row);
    QFETCH(int, language);
    QFETCH(QString, expected);
    QCOMPARE(row->In(language), expected);
}

void TestLangTexts::hints_data() {
    QTest::addColumn<const TextRow*>("row");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("expected");

    AddRow("HintMenuLanguage", &lang::HintMenuLanguage,
           u"Nastavení jazyka na angličtinu, češtinu nebo němčinu"_s,
           u"Language|Set English or German or French"_s, u"Sprache"_s);
    AddRow("HintLabelVerze3", &lang::HintLabelVerze3, u"Čas zhotovení programu v zapalování"_s,
           u"Time of program in ignition"_s, u"Programmierzeitpunkt der Zündung"_s);
    AddRow("HintMenuNew", &lang::HintMenuNew, u"Nastavení výchozích parametrů"_s,
           u"Set default parametrs"_s, u"Neue Kenndatendaten erstellen"_s);
    // Doubled blanks: English before "set" and before "with", Czech after "zda".
    AddRow("HintProgram", &lang::HintProgram, u"Programování nastavených parametrů do zapalování"_s,
           u"Programing  set parametrs to ignition"_s,
           u"Programmieren der Kenndaten auf die Zündbox"_s);
    AddRow(
        "HintVerify", &lang::HintVerify,
        u"Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do zapalování"_s,
        u"Compare set parametrs  with parametrs of ignition"_s,
        u"Vergleich der Kenndaten mit Zündboxkenndaten"_s);
    AddRow("HintCheckBoxProgHned", &lang::HintCheckBoxProgHned, u"Programování ihned po změně"_s,
           u"Programing at once after change"_s, u"Programmmierung gleich nach der Änderung"_s);
    // Only the Czech form ends in a blank.
    AddRow("HintMenuCom", &lang::HintMenuCom, u"Nastavení čísla serivého portu (Com) "_s,
           u"Set number of com"_s, u"Com-Anschluß festlegen"_s);
}

void TestLangTexts::hints() {
    QFETCH(const TextRow*, row);
    QFETCH(int, language);
    QFETCH(QString, expected);
    QCOMPARE(row->In(language), expected);
}

// A missing or empty variant would blank a control when the language changes; a control listed
// twice would get whichever entry the window applies last.
void TestLangTexts::everyRowFilledInEveryLanguage() {
    const std::span<const lang::NamedRow> tables[] = {lang::CaptionRows(), lang::HintRows()};
    for (const std::span<const lang::NamedRow>& table : tables) {
        QSet<QString> seen;
        for (const lang::NamedRow& r : table) {
            QVERIFY(r.control != nullptr);
            QVERIFY2(!seen.contains(QLatin1StringView(r.control)), r.control);
            seen.insert(QLatin1StringView(r.control));
            QVERIFY2(r.text != nullptr, r.control);
            for (int language = 0; language < kLanguageCount; ++language)
                QVERIFY2(!r.text->In(language).isEmpty(), r.control);
        }
    }
    QVERIFY(!lang::WindowCaption.In(LangGerman).isEmpty());
}

// The source is UTF-8 and must reach the widgets as proper characters, not as one QChar per
// byte (which is what a Latin-1 or code-page decoding would give).
void TestLangTexts::lettersAreUnicode() {
    const QString czech = lang::MenuCzech.In(LangCzech);
    QCOMPARE(czech.size(), 6);
    QCOMPARE(czech.at(0), QChar(0x010C)); // Č
    QCOMPARE(lang::MenuRead.In(LangCzech).at(0), QChar(0x010C));
    QCOMPARE(lang::MenuRead.In(LangCzech).at(1), QChar(0x00ED)); // í
    QCOMPARE(lang::HintLabelVerze3.In(LangCzech).at(0), QChar(0x010C));
    QCOMPARE(lang::HintMenuCom.In(LangCzech).at(10), QChar(0x010D)); // č of "čísla"
    QCOMPARE(lang::MenuAbout.In(LangGerman).at(1), QChar(0x00DC));   // Ü
    QVERIFY(lang::MenuCom.In(LangGerman).endsWith(QChar(0x00DF)));   // ß
    QCOMPARE(lang::MenuZpet.In(LangGerman).size(), 6);
}

void TestLangTexts::sharedTextsByControl_data() {
    QTest::addColumn<bool>("hint");
    QTest::addColumn<QString>("control");
    QTest::addColumn<const TextRow*>("expected");

    QTest::newRow("caption ButtonRead") << false << u"ButtonRead"_s << &lang::MenuRead;
    QTest::newRow("caption ButtonVerify") << false << u"ButtonVerify"_s << &lang::MenuVerify;
    QTest::newRow("caption ButtonProgram") << false << u"ButtonProgram"_s << &lang::MenuProgram;
    QTest::newRow("caption MenuZnovu") << false << u"MenuZnovu"_s << &lang::MenuZnovu;
    QTest::newRow("hint SpeedButtonPrint") << true << u"SpeedButtonPrint"_s << &lang::HintPrint;
    QTest::newRow("hint MenuPrint") << true << u"MenuPrint"_s << &lang::HintPrint;
    QTest::newRow("hint ButtonVerify") << true << u"ButtonVerify"_s << &lang::HintVerify;
    QTest::newRow("hint MenuRead") << true << u"MenuRead"_s << &lang::HintRead;
    // The language leaves these alone: fixed captions, and hints kept from the layout.
    QTest::newRow("caption MenuToolsMinus")
        << false << u"MenuToolsMinus"_s << static_cast<const TextRow*>(nullptr);
    QTest::newRow("hint SpeedButtonOpen")
        << true << u"SpeedButtonOpen"_s << static_cast<const TextRow*>(nullptr);
    QTest::newRow("hint MenuHelp") << true << u"MenuHelp"_s << static_cast<const TextRow*>(nullptr);
    QTest::newRow("case matters") << false << u"menuread"_s << static_cast<const TextRow*>(nullptr);
    QTest::newRow("empty") << true << QString() << static_cast<const TextRow*>(nullptr);
}

void TestLangTexts::sharedTextsByControl() {
    QFETCH(bool, hint);
    QFETCH(QString, control);
    QFETCH(const TextRow*, expected);
    QCOMPARE(hint ? lang::FindHint(control) : lang::FindCaption(control), expected);
}

void TestLangTexts::designHints_data() {
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    QTest::newRow("SpeedButtonOpen") << QString::fromUtf8(lang::kDesignHintSpeedButtonOpen)
                                     << u"Open|Open file with parametrs"_s;
    QTest::newRow("ButtonVerify") << QString::fromUtf8(lang::kDesignHintButtonVerify)
                                  << u"Verify|Compare set parametrs  with parametrs of ignition"_s;
    QTest::newRow("ButtonProgram") << QString::fromUtf8(lang::kDesignHintButtonProgram)
                                   << u"Programing|Programing  set parametrs to ignition"_s;
    QTest::newRow("MenuCom") << QString::fromUtf8(lang::kDesignHintMenuCom)
                             << u"Com|Set number of com "_s;
    QTest::newRow("MenuLanguage") << QString::fromUtf8(lang::kDesignHintMenuLanguage)
                                  << u"Language|Set English or Czech"_s;
    QTest::newRow("MenuEnglish") << QString::fromUtf8(lang::kDesignHintMenuEnglish)
                                 << u"|Set Englich menu"_s;
    QTest::newRow("MenuHelp") << QString::fromUtf8(lang::kDesignHintMenuHelp)
                              << u"Not available jet"_s;
}

void TestLangTexts::designHints() {
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestLangTexts::pulsesItems_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0/cz") << 0 << int(LangCzech) << u"Jeden za dvě otáčky"_s;
    QTest::newRow("0/en") << 0 << int(LangEnglish) << u"One per two revolution"_s;
    QTest::newRow("0/de") << 0 << int(LangGerman) << u"Einer pro zwei Umdrehungen"_s;
    QTest::newRow("3/cz") << 3 << int(LangCzech) << u"3 za otáčku"_s;
    QTest::newRow("3/en") << 3 << int(LangEnglish) << u"3 per one revolution"_s;
    QTest::newRow("3/de") << 3 << int(LangGerman) << u"3 pro eine Umdrehung"_s;
    QTest::newRow("1/en") << 1 << int(LangEnglish) << u"1 per one revolution"_s;
    QTest::newRow("12/de") << 12 << int(LangGerman) << u"12 pro eine Umdrehung"_s;
    QTest::newRow("13 is past the end") << 13 << int(LangEnglish) << QString();
    QTest::newRow("-1") << -1 << int(LangEnglish) << QString();
}

void TestLangTexts::pulsesItems() {
    QFETCH(int, item);
    QFETCH(int, language);
    QFETCH(QString, expected);
    QCOMPARE(lang::PulsesItem(item, language), expected);
}

void TestLangTexts::aboutCaption_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("expected");

    const QString current = u"previous caption"_s;
    QTest::newRow("cz") << int(LangCzech) << u"O programu ZYRK"_s;
    QTest::newRow("en") << int(LangEnglish) << u"About ZYRK"_s;
    QTest::newRow("de") << int(LangGerman) << u"Über Programm ZYRK"_s;
    QTest::newRow("3 keeps the caption") << 3 << current;
    QTest::newRow("-1 keeps the caption") << -1 << current;
}

void TestLangTexts::aboutCaption() {
    QFETCH(int, language);
    QFETCH(QString, expected);
    QCOMPARE(lang::AboutCaption(language, u"previous caption"_s), expected);
}

void TestLangTexts::languageFromWord_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("expected");

    QTest::newRow("ENGLISH") << u"ENGLISH"_s << int(LangCzech) << int(LangEnglish);
    QTest::newRow("CESKY") << u"CESKY"_s << int(LangGerman) << int(LangCzech);
    QTest::newRow("DEUTSCH") << u"DEUTSCH"_s << int(LangCzech) << int(LangGerman);
    QTest::newRow("lower case") << u"english"_s << int(LangGerman) << int(LangGerman);
    QTest::newRow("mixed case") << u"Deutsch"_s << int(LangEnglish) << int(LangEnglish);
    QTest::newRow("trailing blank") << u"CESKY "_s << int(LangEnglish) << int(LangEnglish);
    QTest::newRow("prefix") << u"ENGL"_s << int(LangCzech) << int(LangCzech);
    QTest::newRow("empty") << QString() << int(LangEnglish) << int(LangEnglish);
}

void TestLangTexts::languageFromWord() {
    QFETCH(QString, word);
    QFETCH(int, current);
    QFETCH(int, expected);
    QCOMPARE(lang::LanguageFromWord(word, current), expected);
}

void TestLangTexts::sanitizeLanguage_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("expected");

    QTest::newRow("0") << 0 << int(LangCzech);
    QTest::newRow("1") << 1 << int(LangEnglish);
    QTest::newRow("2") << 2 << int(LangGerman);
    QTest::newRow("3 (old French)") << 3 << int(LangCzech);
    QTest::newRow("255") << 255 << int(LangCzech);
    QTest::newRow("-1") << -1 << int(LangCzech);
}

void TestLangTexts::sanitizeLanguage() {
    QFETCH(int, stored);
    QFETCH(int, expected);
    QCOMPARE(lang::SanitizeLanguage(stored), expected);
}

QTEST_APPLESS_MAIN(TestLangTexts)

#include "test_lang_texts.moc"
