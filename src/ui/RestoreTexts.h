#pragma once

// The words of the restore points and of taking differences over, in Czech, English and
// German, kept apart from the window's own language tables.

#include "TextRow.h"

namespace zyrk::lang {

extern const TextRow MenuRestorePoints;
extern const TextRow HintRestorePoints;
extern const TextRow RestoreKindBefore;
extern const TextRow RestoreKindRead;
extern const TextRow RestoreKindProgrammed;
extern const TextRow AskProgramWithout; // %1: why no restore point was kept
extern const TextRow RestoreNotKept;    // %1: why
extern const TextRow RestoreColumnTime;
extern const TextRow RestoreColumnKind;
extern const TextRow RestoreColumnUnit;
extern const TextRow RestoreColumnCount;
extern const TextRow RestoreColumnFile;
extern const TextRow RestoreCompare;
extern const TextRow RestoreOpen;
extern const TextRow RestoreProgram;
extern const TextRow RestoreSaveAs;
extern const TextRow RestoreDelete;
extern const TextRow AskDeleteRestore;      // %1: the time of the point
extern const TextRow RestoreCompareCaption; // %1: the time of the point
extern const TextRow TakeSelected;
extern const TextRow TakeAll;

} // namespace zyrk::lang
