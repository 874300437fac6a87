#pragma once

// The words of the map windows and the map sheet in Czech, English and German. They live
// apart from the main window's table, whose rows are the designed window's own.
#include "TextRow.h"

namespace zyrk::maptext {

extern const TextRow MenuMap1; // also the title of servo 1's map window
extern const TextRow MenuMap2;
extern const TextRow HintMap1; // toolbar buttons, "short|long"
extern const TextRow HintMap2;
extern const TextRow MenuPrintSheet;
extern const TextRow MenuPdfSheet;

extern const TextRow Value;
extern const TextRow Set;
extern const TextRow Add;
extern const TextRow Subtract;
extern const TextRow Scale;
extern const TextRow InterpRows;
extern const TextRow InterpColumns;
extern const TextRow Bilinear;
extern const TextRow Smooth;
extern const TextRow FillRight;
extern const TextRow FillDown;
extern const TextRow Copy;
extern const TextRow CopyAxes;
extern const TextRow Paste;
extern const TextRow ValueHint;
extern const TextRow ChartTitle;
extern const TextRow ChartLive;
extern const TextRow TpDisabled;

// Messages; %1.. are filled in by the window.
extern const TextRow CellName;    // %1 row number, %2 throttle %, %3 column number, %4 RPM
extern const TextRow OutsideName; // %1 row number, %2 column number
extern const TextRow PasteEmpty;
extern const TextRow PasteNotNumber;  // %1 cell, %2 text
extern const TextRow PasteOutOfRange; // %1 cell, %2 value, %3 top, %4 unit
extern const TextRow PasteTooLarge;   // %1 rows, %2 columns, %3 cell outside
extern const TextRow PasteRagged;     // %1 cell
extern const TextRow TypedBad;        // %1 text, %2 top, %3 unit
extern const TextRow Pasted;          // %1 rows, %2 columns

// The map sheet.
extern const TextRow SheetTitle;
extern const TextRow SheetServoMap; // %1 servo number
extern const TextRow SheetCalibration;
extern const TextRow SheetTps0;
extern const TextRow SheetTps100;
extern const TextRow SheetPulses;
extern const TextRow SheetHysterMv;
extern const TextRow SheetHysterRpm;
extern const TextRow SheetHysterOff;
extern const TextRow SheetServoEnable;
extern const TextRow SheetTpEnable;
extern const TextRow SheetPercent;
extern const TextRow SheetUnit;
extern const TextRow SheetFirmware;
extern const TextRow SheetFile;
extern const TextRow SheetDate;
extern const TextRow SheetUnknown;
extern const TextRow SheetNone;
extern const TextRow Yes;
extern const TextRow No;
extern const TextRow SheetPrintFailed;
extern const TextRow SheetPdfFailed; // %1 path
extern const TextRow SheetPdfFilter;

} // namespace zyrk::maptext
