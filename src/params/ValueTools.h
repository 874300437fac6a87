#pragma once

#include "ParamImage.h"

namespace zyrk {

// Tools that change many values of the image in one action. One step is one unit of the
// stored byte (20 mV or 1 %); steps stop at 0 and at 249.
constexpr uint8_t kStepTop = 249;

enum class StepTarget { LiveCell, Row0, AllCells };

// Minus and Plus on the map of a servo: the live cell, row 0 or every cell.
void StepMap(ParamImage& image, int servo, StepTarget target, int liveRow, int liveColumn, bool up);

// A column spin button: all ten rows of one column.
void StepColumn(ParamImage& image, int servo, int column, bool up);

// Takes the live throttle voltage as the 0 % or 100 % point when it lies in the capture
// window; false (and nothing changed) otherwise.
bool CaptureTps0(ParamImage& image, int liveMv);
bool CaptureTps100(ParamImage& image, int liveMv);

// Switches a servo's map between 20 mV units and per cent and converts all 150 cells.
// Returns false when the map already is in that unit.
bool SwitchMapUnit(ParamImage& image, int servo, bool percent);

} // namespace zyrk
