#include "MapTexts.h"

// Rows are {Czech, English, German}.
namespace zyrk::maptext {

const TextRow MenuMap1 = {"Mapa serva 1", "Map of servo 1", "Kennfeld Servo 1"};
const TextRow MenuMap2 = {"Mapa serva 2", "Map of servo 2", "Kennfeld Servo 2"};
const TextRow HintMap1 = {"Mapa serva 1|Celá mapa serva 1 v samostatném okně",
                          "Map of servo 1|The whole map of servo 1 in a window of its own",
                          "Kennfeld Servo 1|Das ganze Kennfeld von Servo 1 in eigenem Fenster"};
const TextRow HintMap2 = {"Mapa serva 2|Celá mapa serva 2 v samostatném okně",
                          "Map of servo 2|The whole map of servo 2 in a window of its own",
                          "Kennfeld Servo 2|Das ganze Kennfeld von Servo 2 in eigenem Fenster"};
const TextRow MenuPrintSheet = {"Tisk listu map", "Print map sheet", "Kennfeldblatt drucken"};
const TextRow MenuPdfSheet = {"Export listu map do PDF", "Export map sheet as PDF",
                              "Kennfeldblatt als PDF exportieren"};

const TextRow Value = {"Hodnota:", "Value:", "Wert:"};
const TextRow Set = {"Nastavit", "Set", "Setzen"};
const TextRow Add = {"Přičíst", "Add", "Addieren"};
const TextRow Subtract = {"Odečíst", "Subtract", "Subtrahieren"};
const TextRow Scale = {"Násobit %", "Scale %", "Skalieren %"};
const TextRow InterpRows = {"Interpolovat řádky", "Interpolate rows", "Zeilen interpolieren"};
const TextRow InterpColumns = {"Interpolovat sloupce", "Interpolate columns",
                               "Spalten interpolieren"};
const TextRow Bilinear = {"Interpolovat z rohů", "Interpolate from corners",
                          "Aus den Ecken interpolieren"};
const TextRow Smooth = {"Vyhladit", "Smooth", "Glätten"};
const TextRow FillRight = {"Vyplnit vpravo", "Fill right", "Nach rechts füllen"};
const TextRow FillDown = {"Vyplnit dolů", "Fill down", "Nach unten füllen"};
const TextRow Copy = {"Kopírovat", "Copy", "Kopieren"};
const TextRow CopyAxes = {"Kopírovat s osami", "Copy with axes", "Mit Achsen kopieren"};
const TextRow Paste = {"Vložit", "Paste", "Einfügen"};
const TextRow ValueHint = {
    "Hodnota pro Nastavit, Přičíst a Odečíst v jednotce mapy; pro Násobit v procentech",
    "Value for Set, Add and Subtract in the map's unit; for Scale in per cent",
    "Wert für Setzen, Addieren und Subtrahieren in der Einheit des Kennfelds; für Skalieren "
    "in Prozent"};
const TextRow ChartTitle = {"Hodnota serva podle otáček", "Servo value over RPM",
                            "Servowert über Drehzahl"};
const TextRow ChartLive = {"Aktuální bod", "Live point", "Aktueller Punkt"};
const TextRow TpDisabled = {"TP Enable není zaškrtnuto: jednotka používá jen řádek 0 %",
                            "TP Enable is clear: the unit uses row 0 % only",
                            "TP Enable ist aus: das Gerät nutzt nur die Zeile 0 %"};

const TextRow CellName = {"řádek %1 (%2 %), sloupec %3 (%4 ot/min)",
                          "row %1 (%2 %), column %3 (%4 RPM)",
                          "Zeile %1 (%2 %), Spalte %3 (%4 U/min)"};
const TextRow OutsideName = {"řádek %1, sloupec %2", "row %1, column %2", "Zeile %1, Spalte %2"};
const TextRow PasteEmpty = {"Nic nevloženo: schránka neobsahuje žádná čísla.",
                            "Nothing pasted: the clipboard holds no numbers.",
                            "Nichts eingefügt: die Zwischenablage enthält keine Zahlen."};
const TextRow PasteNotNumber = {"Nic nevloženo: hodnota pro %1 \"%2\" není číslo.",
                                "Nothing pasted: the value for %1, \"%2\", is not a number.",
                                "Nichts eingefügt: der Wert für %1, \"%2\", ist keine Zahl."};
const TextRow PasteOutOfRange = {
    "Nic nevloženo: hodnota %2 pro %1 je mimo rozsah 0 až %3 %4.",
    "Nothing pasted: the value %2 for %1 is outside 0 to %3 %4.",
    "Nichts eingefügt: der Wert %2 für %1 liegt außerhalb von 0 bis %3 %4."};
const TextRow PasteTooLarge = {
    "Nic nevloženo: blok %1 × %2 hodnot se od vybrané buňky do mapy nevejde (první buňka mimo "
    "mapu: %3).",
    "Nothing pasted: the block of %1 × %2 values does not fit in the map from the selected "
    "cell (first cell outside: %3).",
    "Nichts eingefügt: der Block von %1 × %2 Werten passt ab der gewählten Zelle nicht in das "
    "Kennfeld (erste Zelle außerhalb: %3)."};
const TextRow PasteRagged = {
    "Nic nevloženo: řádky bloku nejsou stejně dlouhé (první rozdíl: %1).",
    "Nothing pasted: the rows of the block are not of equal length (first difference: %1).",
    "Nichts eingefügt: die Zeilen des Blocks sind nicht gleich lang (erster Unterschied: %1)."};
const TextRow TypedBad = {"\"%1\" není číslo od 0 do %2 %3; buňka zůstává beze změny.",
                          "\"%1\" is not a number from 0 to %2 %3; the cell stays as it was.",
                          "\"%1\" ist keine Zahl von 0 bis %2 %3; die Zelle bleibt wie sie war."};
const TextRow Pasted = {"Vloženo %1 × %2 hodnot.", "Pasted %1 × %2 values.",
                        "%1 × %2 Werte eingefügt."};

const TextRow SheetTitle = {"List map jednotky ZYRK", "ZYRK map sheet", "ZYRK Kennfeldblatt"};
const TextRow SheetServoMap = {"Mapa serva %1", "Map of servo %1", "Kennfeld Servo %1"};
const TextRow SheetCalibration = {"Kalibrace", "Calibration", "Kalibrierung"};
const TextRow SheetTps0 = {"TPS 0 %", "TPS 0 %", "TPS 0 %"};
const TextRow SheetTps100 = {"TPS 100 %", "TPS 100 %", "TPS 100 %"};
const TextRow SheetPulses = {"Počet pulsů na otáčku", "Pulses per revolution",
                             "Impulse pro Umdrehung"};
const TextRow SheetHysterMv = {"Hystereze [mV]", "Hysteresis [mV]", "Hysterese [mV]"};
const TextRow SheetHysterRpm = {"Hystereze [ot/min]", "Hysteresis [RPM]", "Hysterese [U/min]"};
const TextRow SheetHysterOff = {"Vypnutí [mV]", "Off [mV]", "Aus [mV]"};
const TextRow SheetServoEnable = {"Servo Enable", "Servo Enable", "Servo Enable"};
const TextRow SheetTpEnable = {"TP Enable", "TP Enable", "TP Enable"};
const TextRow SheetPercent = {"V procentech", "Per cent", "In Prozent"};
const TextRow SheetUnit = {"Jednotka", "Unit", "Gerät"};
const TextRow SheetFirmware = {"Firmware", "Firmware", "Firmware"};
const TextRow SheetFile = {"Soubor", "File", "Datei"};
const TextRow SheetDate = {"Datum", "Date", "Datum"};
const TextRow SheetUnknown = {"neznámá (jednotka dosud nečtena)", "unknown (unit not read yet)",
                              "unbekannt (Gerät noch nicht gelesen)"};
const TextRow SheetNone = {"žádný", "none", "keine"};
const TextRow Yes = {"ano", "yes", "ja"};
const TextRow No = {"ne", "no", "nein"};
const TextRow SheetPrintFailed = {"Tisk se nezdařil: není k dispozici tiskárna.",
                                  "Printing failed: no printer is available.",
                                  "Drucken fehlgeschlagen: kein Drucker verfügbar."};
const TextRow SheetPdfFailed = {"Soubor %1 nelze zapsat.", "The file %1 could not be written.",
                                "Die Datei %1 konnte nicht geschrieben werden."};
const TextRow SheetPdfFilter = {"Dokumenty PDF (*.pdf)", "PDF documents (*.pdf)",
                                "PDF-Dokumente (*.pdf)"};

} // namespace zyrk::maptext
