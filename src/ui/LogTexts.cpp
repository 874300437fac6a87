#include "LogTexts.h"

namespace zyrk::logtext {

const TextRow MenuLog{"Záznam", "Log", "Aufzeichnung"};
const TextRow StartRecording{"Spustit záznam", "Start recording", "Aufzeichnung starten"};
const TextRow StopRecording{"Zastavit záznam", "Stop recording", "Aufzeichnung beenden"};
const TextRow AddMarker{"Přidat značku", "Add marker", "Markierung setzen"};
const TextRow Chart{"Graf", "Chart", "Diagramm"};
const TextRow OpenLog{"Otevřít záznam", "Open log", "Aufzeichnung öffnen"};
const TextRow LogFolder{"Složka záznamů...", "Log folder...", "Ordner für Aufzeichnungen..."};
const TextRow HintStart{
    "Spustit záznam (Ctrl+R)|Zaznamenává živé hodnoty jednotky do souboru CSV ve složce záznamů",
    "Start recording (Ctrl+R)|Records the unit's live values to a CSV file in the log folder",
    "Aufzeichnung starten (Strg+R)|Zeichnet die Live-Werte des Geräts in eine CSV-Datei im "
    "Aufzeichnungsordner auf"};
const TextRow RecordingNow{"Záznam %1, řádků: %2", "Recording %1, %2 rows",
                           "Aufzeichnung %1, %2 Zeilen"};
const TextRow ChooseFolder{"Složka záznamů", "Log folder", "Ordner für Aufzeichnungen"};
const TextRow LogFilter{"Záznamy ZYRK (*.csv)", "ZYRK logs (*.csv)", "ZYRK-Aufzeichnungen (*.csv)"};

const TextRow FolderFailed{"Složku záznamů %1 nelze vytvořit.", "The log folder %1 cannot be made.",
                           "Der Ordner %1 kann nicht angelegt werden."};
const TextRow CreateFailed{"Soubor záznamu %1 nelze vytvořit: %2",
                           "The log file %1 cannot be created: %2",
                           "Die Aufzeichnungsdatei %1 kann nicht angelegt werden: %2"};
const TextRow WriteFailed{
    "Záznam byl zastaven: do souboru %1 nelze zapisovat (%2). Řádky zapsané do té doby "
    "zůstaly zachovány.",
    "Recording stopped: %1 cannot be written (%2). The rows written until then are kept.",
    "Aufzeichnung beendet: %1 kann nicht geschrieben werden (%2). Die bis dahin geschriebenen "
    "Zeilen bleiben erhalten."};
const TextRow CannotOpen{"%1 nelze otevřít: %2", "%1 cannot be opened: %2",
                         "%1 kann nicht geöffnet werden: %2"};
const TextRow NotALog{"%1 není záznam tohoto programu (řádek %2).",
                      "%1 is not a log written by this tool (line %2).",
                      "%1 ist keine Aufzeichnung dieses Programms (Zeile %2)."};
const TextRow Damaged{
    "%1 je poškozen na řádku %2 (%3). Vynecháno poškozených řádků: %5 (řádky %6); zobrazuje "
    "se %4 řádků.",
    "%1 is damaged at line %2 (%3). %5 damaged rows skipped (lines %6); the %4 other rows are "
    "shown.",
    "%1 ist in Zeile %2 beschädigt (%3). %5 beschädigte Zeilen übersprungen (Zeilen %6); die %4 "
    "übrigen Zeilen werden angezeigt."};
const TextRow NotAFile{"není to obyčejný soubor", "it is not a regular file",
                       "es ist keine gewöhnliche Datei"};
const TextRow TooLarge{"soubor je větší než 1 GB", "the file is larger than 1 GB",
                       "die Datei ist größer als 1 GB"};
const TextRow FieldCount{"%1 polí místo %2", "%1 fields instead of %2", "%1 Felder statt %2"};
const TextRow BadValue{"sloupec „%1“: „%2“", "column \"%1\": \"%2\"", "Spalte „%1“: „%2“"};
const TextRow OpenQuote{"uvozovky nejsou uzavřeny", "a quote is never closed",
                        "ein Anführungszeichen wird nicht geschlossen"};
const TextRow CutOff{"řádek je useknutý", "the row is cut off", "die Zeile ist abgeschnitten"};

const TextRow ChartCaption{"ZYRK – graf", "ZYRK – chart", "ZYRK – Diagramm"};
const TextRow Span60s{"60 s", "60 s", "60 s"};
const TextRow Span5min{"5 min", "5 min", "5 min"};
const TextRow SpanWhole{"Celý záznam", "Whole run", "Gesamter Lauf"};
const TextRow Pause{"Pozastavit", "Pause", "Anhalten"};
const TextRow ZoomOut{"Zrušit zvětšení", "Zoom out", "Zoom zurück"};
const TextRow Live{"Živě", "Live", "Live"};
const TextRow ChartHelp{
    "Tažením nebo kolečkem myši zvětšíte úsek, pravým tlačítkem se vrátíte; pohyb myši "
    "ukazuje hodnoty.",
    "Drag or turn the wheel to zoom in, right-click to zoom back out; move the mouse to read "
    "the values.",
    "Ziehen oder Mausrad vergrößert, Rechtsklick zeigt wieder alles; die Maus zeigt die Werte "
    "an."};
const TextRow NoAnswer{"jednotka neodpovídá", "no answer from the unit", "keine Antwort vom Gerät"};
const TextRow AxisTime{"t [s]", "t [s]", "t [s]"};
const TextRow AxisRpm{"ot/min", "RPM", "U/min"};
const TextRow AxisPercent{"%", "%", "%"};
const TextRow AxisVolt{"V", "V", "V"};
const TextRow AxisMv{"mV", "mV", "mV"};
const TextRow TraceNames[7] = {
    {"Otáčky [ot/min]", "Engine speed [RPM]", "Drehzahl [U/min]"},
    {"Plyn [%]", "Throttle [%]", "Drosselklappe [%]"},
    {"Napájení [V]", "Supply [V]", "Versorgung [V]"},
    {"Servo 1 požadováno [mV]", "Servo 1 desired [mV]", "Servo 1 Soll [mV]"},
    {"Servo 1 měřeno [mV]", "Servo 1 measured [mV]", "Servo 1 Ist [mV]"},
    {"Servo 2 požadováno [mV]", "Servo 2 desired [mV]", "Servo 2 Soll [mV]"},
    {"Servo 2 měřeno [mV]", "Servo 2 measured [mV]", "Servo 2 Ist [mV]"},
};

} // namespace zyrk::logtext
