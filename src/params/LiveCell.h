#pragma once

#include "ParamImage.h"

#include <cstdint>

namespace zyrk {

// Where on a map the engine runs: the one rule the unit follows, used for the monitor sample,
// the servo page's green cell, the map windows and the simulated unit alike.
struct MapPosition {
    int row = 0;
    int column = 0;
    bool operator==(const MapPosition&) const = default;
};

// Nearest axis point to the engine speed (the midpoint between two points belongs to the
// upper one); axis holds 15 points in units of 100 RPM.
int NearestColumn(const uint8_t* axis, int rpm);
// Nearest map row to the throttle opening; row 0 when the throttle rows are not in use.
int NearestRow(int tpPercent, bool tpEnable);
// The cell of a servo's map on that servo's own speed axis and "TP Enable" flag.
MapPosition LiveCell(const ParamImage& image, int servo, int rpm, int tpPercent);

} // namespace zyrk
