#pragma once

// The words of the compare commands and the Differences window in Czech, English and German,
// kept apart from the window's own language tables, which stay as the window was designed.

#include "TextRow.h"

namespace zyrk::lang {

extern const TextRow MenuCompareUnit;
extern const TextRow MenuCompareFile;
extern const TextRow HintCompareUnit;
extern const TextRow HintCompareFile;
extern const TextRow DifferencesCaption;
extern const TextRow NoDifferences;
extern const TextRow DifferencesCount; // %1: how many
extern const TextRow ColumnField;
extern const TextRow ColumnTool;
extern const TextRow ColumnUnit;
extern const TextRow ColumnFile; // %1: the file's name

// What a block of the unit holds, for pointing at a block that failed (status bar).
// block 0..7; language 0..2.
QString BlockContents(int block, int language);

} // namespace zyrk::lang
