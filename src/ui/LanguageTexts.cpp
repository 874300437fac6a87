#include "LanguageTexts.h"

#include <QLatin1StringView>

namespace zyrk::lang {

// Rows are {Czech, English, German}, the order of TextRow.

const TextRow WindowCaption = {"Nastavování jednotky \"ZYRK\"", "Programming of \"ZYRK\" unit",
                               "Adjustierung der \"ZYRK\" Steuereinheit"};

const TextRow LabelSpojeni = {"Není spojení s PC", "No connection with PC",
                              "Keine Verbindung zum PC"};
const TextRow MenuFile = {"&Soubor", "&File", "&Datei"};
const TextRow MenuNew = {"&Nový", "&New", "&Neu"};
const TextRow MenuOpen = {"&Otevřít", "&Open", "&Öffnen"};
const TextRow MenuOpenExeDir = {"Otevřít z exe dir", "Open from exe dir", "Öffnen aus exe dir"};
const TextRow MenuSaveExeDir = {"Uložit do exe dir", "Save to exe dir", "Speichern in exe dir"};
const TextRow MenuSave = {"&Uložit", "&Save", "&Speichern"};
const TextRow MenuPrint = {"&Tisk", "&Print", "&Drucken"};
const TextRow MenuExit = {"&Konec", "E&xit", "&Beenden"};
const TextRow MenuCom = {"&Port", "&Com", "&COM-Anschluß"};
const TextRow MenuDevice = {"&Zapalování", "&Ignition", "&Zündung"};
const TextRow MenuRead = {"Čí&st", "&Read", "&Lesen"};
const TextRow MenuVerify = {"&Verifikace", "&Verify", "&Vergleichen"};
const TextRow MenuProgram = {"&Programovat", "&Program", "&Programmieren"};
const TextRow MenuTools = {"Pomůcky", "Tools", "Werkzeuge"};
const TextRow MenuLanguage = {"&Jazyk", "&Language", "&Sprache"};
const TextRow MenuEnglish = {"&Anglicky", "&English", "&Englisch"};
const TextRow MenuGerman = {"&Německy", "&German", "&Deutsch"};
const TextRow MenuCzech = {"Če&sky", "&Czech", "&Tschechisch"};
const TextRow MenuHelp = {"Nápověda", "&Help", "&Hilfe"};
const TextRow MenuContens = {"Obsah", "&Contents...", "&Inhalt..."};
const TextRow MenuAbout = {"&O programu...", "&About...", "&Über Programm..."};
const TextRow TabSheet_Servo1 = {"Servo 1", "Servo 1", "Servo 1"};
const TextRow TabSheet_Servo2 = {"Servo 2", "Servo 2", "Servo 2"};
const TextRow CheckBoxProgHned = {"Programování po změně", "Programming after change",
                                  "Programmierung nach Änderung"};
const TextRow LabelFile1 = {"Soubor:", "File:", "Datei:"};
const TextRow CheckBoxServoEnable = {"Servo povoleno", "Servo Enable", "Servo zulassen"};
const TextRow TabSheet_Ruzne = {"Různé", "Miscellaneous", "Verschiedene"};
const TextRow CheckBoxProcenta = {"Procenta", "per cent", "Prozent"};
const TextRow LabelHysterMv = {"Hystereze [mV]", "Hysteresis [mV]", "Nachwirkung [mV]"};
const TextRow LabelHysterRpm = {"Hystereze [RPM]", "Hysteresis [RPM]", "Nachwirkung [RPM]"};
const TextRow LabelHysterOff = {"Vypnuto [mV]", "Off [mV]", "Aus [mV]"};
const TextRow RadioGroupPocPulsu = {"Počet pulsů", "Number of pulses", "Pulszahl"};
// The Czech undo has always been written without its háček.
const TextRow MenuZpet = {"Zpet", "Undo", "Zurück"};
const TextRow MenuZnovu = {"Znovu", "Redo", "Wieder"};

// The English language hint names French although the menu offers none; it is kept as is.
const TextRow HintMenuLanguage = {"Nastavení jazyka na angličtinu, češtinu nebo němčinu",
                                  "Language|Set English or German or French", "Sprache"};
const TextRow HintLabelVerze1 = {"Verze programu v zapalování", "Version of program in ignition",
                                 "Version des Programms der Zündung"};
const TextRow HintLabelVerze2 = {"Datum zhotovení programu v zapalování",
                                 "Date of program in ignition", "Datum des Programms der Zündung"};
const TextRow HintLabelVerze3 = {"Čas zhotovení programu v zapalování",
                                 "Time of program in ignition", "Programmierzeitpunkt der Zündung"};
const TextRow HintMenuOpen = {"Otevření souboru s parametry", "Open file with parametrs",
                              "Kenndatendatei öffnen"};
const TextRow HintMenuNew = {"Nastavení výchozích parametrů", "Set default parametrs",
                             "Neue Kenndatendaten erstellen"};
const TextRow HintMenuSave = {"Uložení parametrů do souboru", "Save parametrs to file",
                              "Kenndaten in Datei speichern"};
const TextRow HintPrint = {"Tisk parametrů", "Print parametrs", "Druck der Kenndaten"};
const TextRow HintProgram = {"Programování nastavených parametrů do zapalování",
                             "Programing  set parametrs to ignition",
                             "Programmieren der Kenndaten auf die Zündbox"};
const TextRow HintVerify = {
    "Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do zapalování",
    "Compare set parametrs  with parametrs of ignition",
    "Vergleich der Kenndaten mit Zündboxkenndaten"};
const TextRow HintRead = {"Čtení parametrů ze zapalování", "Reading parametrs from ignition",
                          "Kenndaten aus Zündung lesen"};
const TextRow HintMenuExit = {"Ukončení programu", "End of program", "Programm beenden"};
const TextRow HintCheckBoxProgHned = {"Programování ihned po změně",
                                      "Programing at once after change",
                                      "Programmmierung gleich nach der Änderung"};
const TextRow HintMenuCom = {"Nastavení čísla serivého portu (Com) ", "Set number of com",
                             "Com-Anschluß festlegen"};

const char* const kDesignHintSpeedButtonNew = "New|Set default parametrs";
const char* const kDesignHintSpeedButtonOpen = "Open|Open file with parametrs";
const char* const kDesignHintSpeedButtonSave = "Save|Save parametrs to file";
const char* const kDesignHintSpeedButtonPrint = "Print|Print parametrs";
const char* const kDesignHintButtonRead = "Read|Reading parametrs from ignition";
const char* const kDesignHintButtonVerify =
    "Verify|Compare set parametrs  with parametrs of ignition";
const char* const kDesignHintButtonProgram = "Programing|Programing  set parametrs to ignition";
const char* const kDesignHintMenuNew = "New|Set default parametrs";
const char* const kDesignHintMenuOpen = "Open|Open file with parametrs";
const char* const kDesignHintMenuSave = "Save|Save parametrs to file";
const char* const kDesignHintMenuPrint = "Print|Print parametrs";
const char* const kDesignHintMenuExit = "Exit|End of program";
const char* const kDesignHintMenuCom = "Com|Set number of com ";
const char* const kDesignHintMenuRead = "Read|Reading parametrs from ignition";
const char* const kDesignHintMenuVerify =
    "Verify|Compare set parametrs  with parametrs of ignition";
const char* const kDesignHintMenuProgram = "Programing|Programing  set parametrs to ignition";
const char* const kDesignHintMenuLanguage = "Language|Set English or Czech";
const char* const kDesignHintMenuEnglish = "|Set Englich menu";
const char* const kDesignHintMenuCzech = "|Set Czech menu";
const char* const kDesignHintMenuHelp = "Not available jet";

namespace {

const NamedRow kCaptionRows[] = {
    {"LabelSpojeni", &LabelSpojeni},
    {"MenuFile", &MenuFile},
    {"MenuNew", &MenuNew},
    {"MenuOpen", &MenuOpen},
    {"MenuOpenExeDir", &MenuOpenExeDir},
    {"MenuSaveExeDir", &MenuSaveExeDir},
    {"MenuSave", &MenuSave},
    {"MenuPrint", &MenuPrint},
    {"MenuExit", &MenuExit},
    {"MenuCom", &MenuCom},
    {"MenuDevice", &MenuDevice},
    {"MenuRead", &MenuRead},
    {"ButtonRead", &MenuRead},
    {"MenuVerify", &MenuVerify},
    {"ButtonVerify", &MenuVerify},
    {"MenuProgram", &MenuProgram},
    {"ButtonProgram", &MenuProgram},
    {"MenuTools", &MenuTools},
    {"MenuLanguage", &MenuLanguage},
    {"MenuEnglish", &MenuEnglish},
    {"MenuGerman", &MenuGerman},
    {"MenuCzech", &MenuCzech},
    {"MenuHelp", &MenuHelp},
    {"MenuContens", &MenuContens},
    {"MenuAbout", &MenuAbout},
    {"TabSheet_Servo1", &TabSheet_Servo1},
    {"TabSheet_Servo2", &TabSheet_Servo2},
    {"CheckBoxProgHned", &CheckBoxProgHned},
    {"LabelFile1", &LabelFile1},
    {"CheckBoxServoEnable", &CheckBoxServoEnable},
    {"TabSheet_Ruzne", &TabSheet_Ruzne},
    {"CheckBoxProcenta", &CheckBoxProcenta},
    {"LabelHysterMv", &LabelHysterMv},
    {"LabelHysterRpm", &LabelHysterRpm},
    {"LabelHysterOff", &LabelHysterOff},
    {"RadioGroupPocPulsu", &RadioGroupPocPulsu},
    {"MenuZpet", &MenuZpet},
    {"MenuZnovu", &MenuZnovu},
};

const NamedRow kHintRows[] = {
    {"MenuLanguage", &HintMenuLanguage},
    {"LabelVerze1", &HintLabelVerze1},
    {"LabelVerze2", &HintLabelVerze2},
    {"LabelVerze3", &HintLabelVerze3},
    {"MenuOpen", &HintMenuOpen},
    {"MenuNew", &HintMenuNew},
    {"MenuSave", &HintMenuSave},
    {"SpeedButtonPrint", &HintPrint},
    {"MenuPrint", &HintPrint},
    {"ButtonProgram", &HintProgram},
    {"MenuProgram", &HintProgram},
    {"ButtonVerify", &HintVerify},
    {"MenuVerify", &HintVerify},
    {"ButtonRead", &HintRead},
    {"MenuRead", &HintRead},
    {"MenuExit", &HintMenuExit},
    {"CheckBoxProgHned", &HintCheckBoxProgHned},
    {"MenuCom", &HintMenuCom},
};

const TextRow* FindIn(std::span<const NamedRow> rows, const QString& control) {
    for (const NamedRow& r : rows) {
        if (control == QLatin1StringView(r.control))
            return r.text;
    }
    return nullptr;
}

const TextRow kPulsesHalf = {"Jeden za dvě otáčky", "One per two revolution",
                             "Einer pro zwei Umdrehungen"};
const TextRow kPulsesPerRevolution = {" za otáčku", " per one revolution", " pro eine Umdrehung"};

const TextRow kAboutCaption = {"O programu ZYRK", "About ZYRK", "Über Programm ZYRK"};

bool IsLanguage(int language) {
    return language >= 0 && language < kLanguageCount;
}

} // namespace

std::span<const NamedRow> CaptionRows() {
    return kCaptionRows;
}
std::span<const NamedRow> HintRows() {
    return kHintRows;
}

const TextRow* FindCaption(const QString& control) {
    return FindIn(kCaptionRows, control);
}
const TextRow* FindHint(const QString& control) {
    return FindIn(kHintRows, control);
}

QString PulsesItem(int item, int language) {
    if (item < 0 || item >= kPulsesItemCount)
        return QString();
    if (item == 0)
        return kPulsesHalf.In(language);
    return QString::number(item) + kPulsesPerRevolution.In(language);
}

QString AboutCaption(int language, const QString& current) {
    if (!IsLanguage(language))
        return current;
    return kAboutCaption.In(language);
}

int LanguageFromWord(const QString& word, int current) {
    if (word == QLatin1StringView("ENGLISH"))
        return LangEnglish;
    if (word == QLatin1StringView("CESKY"))
        return LangCzech;
    if (word == QLatin1StringView("DEUTSCH"))
        return LangGerman;
    return current;
}

int SanitizeLanguage(int stored) {
    // We only ever write 0, 1 or 2. Anything else comes from a hand-edited or damaged settings
    // file; 3 used to pick the French variants, of which only scraps were ever written, and
    // would leave the window in a mix of languages. Czech is the language the tool starts in
    // without settings, so a bad value behaves like no value.
    return IsLanguage(stored) ? stored : static_cast<int>(LangCzech);
}

} // namespace zyrk::lang
