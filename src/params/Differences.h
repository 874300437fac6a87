#pragma once

#include "ParamImage.h"

#include <QString>
#include <vector>

namespace zyrk {

// The editable fields of the image, one entry per control the window shows them in. Block 0
// (the unit's identification) and the reserved bytes are not settings, so they never differ.
enum class DiffField : uint8_t {
    Tps0,
    Tps100,
    Pulses,
    ServoEnable,
    TpEnable,
    Procenta,
    HysterMv,
    HysterRpm,
    HysterOff,
    Rpm,  // a point of the engine-speed axis (column)
    Cell, // a map cell (row, column)
};

// The unit a value is shown in on screen.
enum class DiffUnit : uint8_t { Mv, Percent, Rpm, Flag, Count };

constexpr int kDiffPageMisc = 0; // the pages as the window's tabs number them
constexpr int kDiffPageServo1 = 1;
constexpr int kDiffPageServo2 = 2;

struct Difference {
    int page = kDiffPageMisc;
    DiffField field = DiffField::Tps0;
    int row = -1;      // map row 0..9 (cells only)
    int column = -1;   // axis point or map column 0..14
    int rowTp = 0;     // the throttle opening of the row [%] (cells only)
    int columnRpm = 0; // the engine speed of the column on the tool's axis [RPM] (cells only)
    int ours = 0;      // the tool's value, in oursUnit
    DiffUnit oursUnit = DiffUnit::Count;
    int theirs = 0; // the unit's (or the file's) value, in theirsUnit
    DiffUnit theirsUnit = DiffUnit::Count;

    bool operator==(const Difference&) const = default;
};

// Every editable field whose value differs between the tool's image and the other one (the
// unit's or a file's), in page order: miscellaneous, servo 1, servo 2; within a servo the
// settings, then the axis, then the map row by row. Values are in the units the window shows:
// a map cell in mV or in per cent after the "per cent" flag of its own image, so a cell
// compares by its byte even when the two sides show it in different units.
std::vector<Difference> Differences(const ParamImage& ours, const ParamImage& theirs);

// Texts for lists and reports, in language 0 Czech, 1 English, 2 German (others: English).
QString DiffPageName(int page, int language);
// The field as the window labels it; a map cell by its throttle row and engine speed.
QString DiffFieldName(const Difference& d, int language);
QString DiffValueText(int value, DiffUnit unit, int language);

} // namespace zyrk
