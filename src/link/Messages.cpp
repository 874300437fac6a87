#include "Messages.h"

namespace zyrk {

namespace {

struct MessageRow {
    MsgId id;
    TextRow text;
};

// Letter for letter as the unit's technicians know them, trailing blanks and missing
// exclamation marks included.
const MessageRow kMessageRows[] = {
    {MsgProgramError, {"Chyba programování", "Program error!", "Programmierfehler!"}},
    {MsgVerifyError, {"Chyba verifikace!", "Verify error!", "Vergleichsfehler"}},
    {MsgReadError, {"Chyba čtení!", "Read error!", "Lesefehler"}},
    {MsgProgramDevice, {"Programování:", "Program device:", "Programmieren:"}},
    {MsgUnmatchedVersion,
     {"Neshodné verze proramu v PC a v zapalování!",
      "Unmatched version of PC and Ignition programs!",
      "Programm der Zündung ist nicht kompatibel mit dem Programm am PC!"}},
    {MsgVerify, {"Verifikace:", "Verify:", "Vergleichen:"}},
    {MsgRead, {"Čtení:", "Read:", "Lesen:"}},
    {MsgProgramCount,
     {"Počet programování = ", "Number of Programing = ", "Programmierungsanzahl = "}},
    {MsgComOpenError,
     {"Chyba při otevírání portu Com!", "Com opening error!", "Falscher COM-Anschlußes!"}},
    {MsgOpenFileError,
     {"Chyba při otevírání souboru!", "Open file error!", "Fehler beim öffnen der Datei!"}},
    {MsgDefaultSetting,
     {"Chcete nastavit základní hodnoty?", "Do you want default setting?",
      "Wollen Sie Standardeinstellungen öffnen?"}},
    {MsgUnmatchedFileVersion,
     {"Neshodná verze souboru *.ign!", "Unmatched version of *.ign file!",
      "Datendatei *.ign ist nicht kompatiebel!"}},
    {MsgSaving, {"Ukládání:", "Saving:", "Speicherung:"}},
    {MsgServoDesired, {"Servo požadované", "Servo desired", "Servo Sollspannung"}},
    {MsgServoMeasured, {"Servo měřené", "Servo measured", "Servo gemessene"}},
    {MsgNoPrinter,
     {"Tisk se nezdařil: není k dispozici žádná tiskárna.",
      "Printing failed: no printer is available.",
      "Drucken fehlgeschlagen: kein Drucker verfügbar."}},
};

} // namespace

void MessageTable::Fill(int language) {
    for (const MessageRow& r : kMessageRows)
        slots_[static_cast<size_t>(r.id)] = r.text.In(language);
}

} // namespace zyrk
