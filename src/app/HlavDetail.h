#pragma once

#include <QColor>
#include <cstdint>

// Units and colours shared by the main window's sources.
namespace zyrk::detail {
inline constexpr int kMvPerMapUnit = 20;
inline constexpr int kRpmPerAxisUnit = 100;
inline constexpr int kHysterUnit = 5;
inline constexpr int kTpsUnit = 10;
inline constexpr int kPercentMax = 100;
inline constexpr int kPercentStep = 1;
inline constexpr int kMapMvMax = 5000;
inline constexpr int kMapMvStep = 20;
inline const QColor kBrightGreen(0, 255, 0);
// The live cell and the monitor gauges while no unit answers: their values are stale.
inline const QColor kStaleCellGrey(200, 200, 200);
inline const QColor kStaleBarGrey(160, 160, 160);

inline uint8_t Byte(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}
} // namespace zyrk::detail

namespace zyrk {
QString TimeWithoutZone(const QString& format);
}
