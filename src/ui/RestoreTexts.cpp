#include "RestoreTexts.h"

namespace zyrk::lang {

// Rows are {Czech, English, German}.
const TextRow MenuRestorePoints = {"Body obnovy…", "Restore points…", "Wiederherstellungspunkte…"};
const TextRow HintRestorePoints = {
    "Body obnovy|Parametry, které byly v jednotce, přečtené a naprogramované",
    "Restore points|The parameters the unit held, read and programmed",
    "Wiederherstellungspunkte|Die Kenndaten, die in der Steuereinheit waren, gelesen und "
    "programmiert"};
const TextRow RestoreKindBefore = {"jednotka před programováním", "unit before programming",
                                   "Steuereinheit vor dem Programmieren"};
const TextRow RestoreKindRead = {"přečteno", "read", "gelesen"};
const TextRow RestoreKindProgrammed = {"naprogramováno", "programmed", "programmiert"};
const TextRow AskProgramWithout = {
    "To, co jednotka obsahuje, se nepodařilo uložit jako bod obnovy (%1).\n"
    "Programovat jednotku bez bodu obnovy?",
    "What the unit holds could not be kept as a restore point (%1).\n"
    "Program the unit without a restore point?",
    "Der Inhalt der Steuereinheit konnte nicht als Wiederherstellungspunkt gesichert werden "
    "(%1).\nSteuereinheit ohne Wiederherstellungspunkt programmieren?"};
const TextRow RestoreNotKept = {"Bod obnovy nebyl uložen: %1", "Restore point not kept: %1",
                                "Wiederherstellungspunkt nicht gesichert: %1"};
const TextRow RestoreColumnTime = {"Čas", "Time", "Zeit"};
const TextRow RestoreColumnKind = {"Druh", "Kind", "Art"};
const TextRow RestoreColumnUnit = {"Jednotka", "Unit", "Steuereinheit"};
const TextRow RestoreColumnCount = {"Počet programování", "Programming count",
                                    "Anzahl Programmierungen"};
const TextRow RestoreColumnFile = {"Soubor", "File", "Datei"};
const TextRow RestoreCompare = {"Porovnat", "Compare", "Vergleichen"};
const TextRow RestoreOpen = {"Otevřít", "Open", "Öffnen"};
const TextRow RestoreProgram = {"Naprogramovat do jednotky", "Program into unit",
                                "In die Steuereinheit programmieren"};
const TextRow RestoreSaveAs = {"Uložit jako…", "Save as…", "Speichern unter…"};
const TextRow RestoreDelete = {"Smazat", "Delete", "Löschen"};
const TextRow AskDeleteRestore = {"Smazat bod obnovy z %1?", "Delete the restore point of %1?",
                                  "Den Wiederherstellungspunkt vom %1 löschen?"};
const TextRow RestoreCompareCaption = {"bod obnovy %1", "restore point %1",
                                       "Wiederherstellungspunkt %1"};
const TextRow TakeSelected = {"Převzít vybrané", "Take selected", "Ausgewählte übernehmen"};
const TextRow TakeAll = {"Převzít vše", "Take all", "Alle übernehmen"};

} // namespace zyrk::lang
