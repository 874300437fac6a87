#include "MapOps.h"

#include <algorithm>
#include <cmath>

namespace zyrk {

namespace {

size_t Index(int row, int column) {
    return static_cast<size_t>(kMapColumns * row + column);
}

// n / d rounded to the nearest integer, halves up, for n >= 0 and d > 0.
int RoundedDiv(long long n, long long d) {
    return static_cast<int>((2 * n + d) / (2 * d));
}

uint8_t Clamped(long long v, int top) {
    return static_cast<uint8_t>(std::clamp<long long>(v, 0, top));
}

// The weight pair of position k on a line of span d (d = cells - 1): (d - k, k) over d, or
// (1, 0) over 1 for a line of one cell, which then just keeps its start value.
struct Weights {
    long long first, second, total;
};
Weights WeightsAt(int k, int d) {
    if (d == 0)
        return {1, 0, 1};
    return {d - k, k, d};
}

void Smooth(MapCells& map, const MapRect& r, int top) {
    const bool alongRows = r.Columns() >= 3; // neighbours left and right
    const bool alongColumns = r.Rows() >= 3; // neighbours above and below
    if (!alongRows && !alongColumns)
        return;
    const MapCells before = map;
    const int dr = alongColumns ? 1 : 0;
    const int dc = alongRows ? 1 : 0;
    for (int row = r.top + dr; row <= r.bottom - dr; ++row) {
        for (int column = r.left + dc; column <= r.right - dc; ++column) {
            long long sum = 0;
            long long count = 0;
            for (int i = row - dr; i <= row + dr; ++i) {
                for (int j = column - dc; j <= column + dc; ++j) {
                    sum += before[Index(i, j)];
                    ++count;
                }
            }
            map[Index(row, column)] = Clamped(RoundedDiv(sum, count), top);
        }
    }
    // Edge cells keep their value but are still brought into range like every other cell.
    for (int row = r.top; row <= r.bottom; ++row) {
        for (int column = r.left; column <= r.right; ++column)
            map[Index(row, column)] = Clamped(map[Index(row, column)], top);
    }
}

} // namespace

MapCells GetMap(const ParamImage& image, int servo) {
    MapCells map{};
    const int offset = ParamImage::MapOffset(servo);
    for (int i = 0; i < kMapCells; ++i)
        map[static_cast<size_t>(i)] = image.At(offset + i);
    return map;
}

void PutMap(ParamImage& image, int servo, const MapCells& map) {
    const int offset = ParamImage::MapOffset(servo);
    for (int i = 0; i < kMapCells; ++i)
        image.Set(offset + i, map[static_cast<size_t>(i)]);
}

bool ApplyMapOp(MapCells& map, const MapRect& r, MapOp op, int value, int top) {
    if (!r.Valid())
        return false;
    if (op == MapOp::Smooth) {
        Smooth(map, r, top);
        return true;
    }
    const MapCells before = map;
    auto at = [&before](int row, int column) -> long long { return before[Index(row, column)]; };
    const int spanRows = r.bottom - r.top;
    const int spanColumns = r.right - r.left;
    for (int row = r.top; row <= r.bottom; ++row) {
        for (int column = r.left; column <= r.right; ++column) {
            const long long cell = at(row, column);
            long long result = cell;
            switch (op) {
            case MapOp::Set:
                result = value;
                break;
            case MapOp::Add:
                result = cell + value;
                break;
            case MapOp::Scale:
                result = value <= 0 ? 0 : RoundedDiv(cell * value, 100);
                break;
            case MapOp::InterpRows: {
                const Weights w = WeightsAt(column - r.left, spanColumns);
                result =
                    RoundedDiv(at(row, r.left) * w.first + at(row, r.right) * w.second, w.total);
                break;
            }
            case MapOp::InterpColumns: {
                const Weights w = WeightsAt(row - r.top, spanRows);
                result = RoundedDiv(at(r.top, column) * w.first + at(r.bottom, column) * w.second,
                                    w.total);
                break;
            }
            case MapOp::Bilinear: {
                const Weights x = WeightsAt(column - r.left, spanColumns);
                const Weights y = WeightsAt(row - r.top, spanRows);
                const long long sum = at(r.top, r.left) * x.first * y.first +
                                      at(r.top, r.right) * x.second * y.first +
                                      at(r.bottom, r.left) * x.first * y.second +
                                      at(r.bottom, r.right) * x.second * y.second;
                result = RoundedDiv(sum, x.total * y.total);
                break;
            }
            case MapOp::FillRight:
                result = at(row, r.left);
                break;
            case MapOp::FillDown:
                result = at(r.top, column);
                break;
            case MapOp::Smooth:
                break;
            }
            map[Index(row, column)] = Clamped(result, top);
        }
    }
    return true;
}

int ByteFromShown(double shown, bool percent) {
    const double bytes = percent ? shown : shown / 20.0;
    // std::round takes halves away from zero, the same both ways for Add and Subtract.
    const double rounded = std::round(bytes);
    return static_cast<int>(std::clamp(rounded, -100000.0, 100000.0));
}

} // namespace zyrk
