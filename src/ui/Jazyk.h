#pragma once

#include "FormHlavUi.h"

namespace zyrk {

// Puts the captions, hints, radio items, check marks and the window caption of one language
// on the main window. The message table and the monitor placeholders follow separately,
// since they belong to the link.
void ApplyLanguageTexts(QMainWindow* window, FormHlavUi& ui, int language);

} // namespace zyrk
