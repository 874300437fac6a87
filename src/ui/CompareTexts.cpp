#include "CompareTexts.h"

#include "ParamImage.h"

namespace zyrk::lang {

// Rows are {Czech, English, German}.
const TextRow MenuCompareUnit = {"Porovnat s jednotkou", "Compare with unit",
                                 "Mit Steuereinheit vergleichen"};
const TextRow MenuCompareFile = {"Porovnat se souborem…", "Compare with file…",
                                 "Mit Datei vergleichen…"};
const TextRow HintCompareUnit = {
    "Porovnat|Přečíst parametry ze zapalování a ukázat, čím se liší od nastavených",
    "Compare|Read the parameters of the ignition and list where they differ from the set ones",
    "Vergleichen|Kenndaten der Zündung lesen und die Unterschiede zu den eingestellten zeigen"};
const TextRow HintCompareFile = {
    "Porovnat|Ukázat, čím se soubor s parametry liší od nastavených parametrů",
    "Compare|List where a parameter file differs from the set parameters",
    "Vergleichen|Die Unterschiede einer Kenndatendatei zu den eingestellten Kenndaten zeigen"};
const TextRow DifferencesCaption = {"Rozdíly", "Differences", "Unterschiede"};
const TextRow NoDifferences = {"Žádné rozdíly", "No differences", "Keine Unterschiede"};
const TextRow DifferencesCount = {"Počet rozdílů: %1", "Differences: %1", "Unterschiede: %1"};
const TextRow ColumnField = {"Položka", "Field", "Feld"};
const TextRow ColumnTool = {"PC", "PC", "PC"};
const TextRow ColumnUnit = {"Jednotka", "Unit", "Steuereinheit"};
const TextRow ColumnFile = {"Soubor %1", "File %1", "Datei %1"};

namespace {
const TextRow kBlock = {"Blok %1: %2", "Block %1: %2", "Block %1: %2"};
const TextRow kBlockVersion = {"verze zapalování", "version of the ignition",
                               "Version der Zündung"};
const TextRow kBlockSettings = {"Různé, nastavení serv a osy otáček",
                                "Miscellaneous, servo settings and RPM axes",
                                "Verschiedene, Servo-Einstellungen und Drehzahlachsen"};
const TextRow kBlockMap = {"Servo %1, mapa TPS %2–%3 %", "Servo %1, map TPS %2–%3 %",
                           "Servo %1, Kennfeld TPS %2–%3 %"};
constexpr int kFirstMapBlock = 2;
constexpr int kMapBlocks = 3; // a map of 150 cells fills three blocks of 50
} // namespace

QString BlockContents(int block, int language) {
    QString what;
    if (block <= 0) {
        what = kBlockVersion.In(language);
    } else if (block < kFirstMapBlock) {
        what = kBlockSettings.In(language);
    } else {
        const int servo = (block - kFirstMapBlock) / kMapBlocks;
        const int first = ((block - kFirstMapBlock) % kMapBlocks) * kBlockSize;
        const int firstRow = first / kMapColumns;
        const int lastRow = (first + kBlockSize - 1) / kMapColumns;
        what = kBlockMap.In(language)
                   .arg(servo + 1)
                   .arg(kTpsRows[static_cast<size_t>(firstRow)])
                   .arg(kTpsRows[static_cast<size_t>(lastRow)]);
    }
    return kBlock.In(language).arg(block).arg(what);
}

} // namespace zyrk::lang
