#pragma once

#include "ParamImage.h"

#include <array>
#include <cstdint>

// Operations on a whole servo map or a rectangle of it, as the map windows offer them. They
// work on the stored bytes (20 mV or 1 % each); the window converts what the user types.
// Every operation writes only the cells of the selection and clamps each of them to
// 0 .. the servo's top byte. All arithmetic is integer; where a division rounds, it rounds
// to the nearest byte with halves going up (values are never negative, so this is also
// "half away from zero").
namespace zyrk {

using MapCells = std::array<uint8_t, kMapCells>; // row-major, cell (r, c) at 15 r + c

// The top byte the servo page lets a cell reach: 250 (5000 mV) in 20 mV units, 100 in per
// cent. Any Procenta byte other than 0 means per cent.
constexpr int kMapTopMv = 250;
constexpr int kMapTopPercent = 100;
inline bool MapInPercent(const ParamImage& image, int servo) {
    return image.Procenta(servo) != 0;
}
inline int MapTopByte(const ParamImage& image, int servo) {
    return MapInPercent(image, servo) ? kMapTopPercent : kMapTopMv;
}

MapCells GetMap(const ParamImage& image, int servo);
void PutMap(ParamImage& image, int servo, const MapCells& map);

// A rectangle of cells, corners included. Valid when 0 <= top <= bottom < 10 and
// 0 <= left <= right < 15.
struct MapRect {
    int top = 0;
    int left = 0;
    int bottom = kMapRows - 1;
    int right = kMapColumns - 1;
    bool Valid() const {
        return top >= 0 && left >= 0 && top <= bottom && left <= right && bottom < kMapRows &&
               right < kMapColumns;
    }
    int Rows() const { return bottom - top + 1; }
    int Columns() const { return right - left + 1; }
    bool operator==(const MapRect&) const = default;
};

enum class MapOp {
    Set,           // every cell = value
    Add,           // every cell += value (negative subtracts)
    Scale,         // every cell = cell * value / 100, rounded
    InterpRows,    // each row straight from its left to its right end cell, rounded
    InterpColumns, // each column straight from its top to its bottom end cell, rounded
    Bilinear,      // every cell from the four corner cells, weighted by distance, rounded
    Smooth,        // inner cells: mean of the cell and its neighbours, rounded; edges kept
    FillRight,     // each row takes its leftmost cell's value
    FillDown,      // each column takes its top cell's value
};

// Applies op to the cells of rect. value is the byte for Set, the number of bytes for Add
// and the per cent for Scale; the other operations ignore it. top is the servo's top byte
// (MapTopByte). Smooth works along every direction in which the rectangle is at least three
// cells long; a cell on the rectangle's edge in such a direction keeps its value, and a
// rectangle shorter than three cells both ways is left as it is. Returns false, and changes
// nothing, when rect is not valid.
bool ApplyMapOp(MapCells& map, const MapRect& rect, MapOp op, int value, int top);

// The byte for a value the user gives in the unit the servo page shows: millivolts to the
// nearest 20 mV (halves up), per cent as it stands. Negative values round the same way
// mirrored, so that subtracting 30 mV is the exact opposite of adding it.
int ByteFromShown(double shown, bool percent);
// The value the servo page shows for a byte: byte x 20 mV, or byte %.
inline int ShownFromByte(int byte, bool percent) {
    return percent ? byte : byte * 20;
}

} // namespace zyrk
