#include "ValueTools.h"

#include <algorithm>

namespace zyrk {

namespace {
constexpr int kTps0CaptureMin = 300;
constexpr int kTps0CaptureMax = 2500;
constexpr int kTps100CaptureMin = 2500;
constexpr int kTps100CaptureMax = 4900;
constexpr int kUnitsFullScale = 250;        // 5000 mV in 20 mV units, which is 100 %
constexpr int kLargestFittingPercent = 102; // 102 x 5 / 2 = 255

void StepCell(ParamImage& image, int offset, bool up) {
    const uint8_t v = image.At(offset);
    if (up && v < kStepTop)
        image.Set(offset, static_cast<uint8_t>(v + 1));
    else if (!up && v > 0)
        image.Set(offset, static_cast<uint8_t>(v - 1));
}
} // namespace

void StepMap(ParamImage& image, int servo, StepTarget target, int liveRow, int liveColumn,
             bool up) {
    const int map = ParamImage::MapOffset(servo);
    switch (target) {
    case StepTarget::AllCells:
        for (int i = 0; i < kMapCells; ++i)
            StepCell(image, map + i, up);
        break;
    case StepTarget::Row0:
        for (int c = 0; c < kMapColumns; ++c)
            StepCell(image, map + c, up);
        break;
    case StepTarget::LiveCell:
        StepCell(image, ParamImage::CellOffset(servo, liveRow, liveColumn), up);
        break;
    }
}

void StepColumn(ParamImage& image, int servo, int column, bool up) {
    for (int r = 0; r < kMapRows; ++r)
        StepCell(image, ParamImage::CellOffset(servo, r, column), up);
}

bool CaptureTps0(ParamImage& image, int liveMv) {
    if (liveMv < kTps0CaptureMin || liveMv > kTps0CaptureMax)
        return false;
    image.SetTps0(static_cast<uint8_t>(liveMv / 10));
    return true;
}

bool CaptureTps100(ParamImage& image, int liveMv) {
    if (liveMv < kTps100CaptureMin || liveMv > kTps100CaptureMax)
        return false;
    image.SetTps100(Tps100FromMv(liveMv));
    return true;
}

bool SwitchMapUnit(ParamImage& image, int servo, bool percent) {
    if (image.InPercent(servo) == percent)
        return false;
    image.SetProcenta(servo, percent ? 1 : 0);
    const int map = ParamImage::MapOffset(servo);
    for (int i = 0; i < kMapCells; ++i) {
        const int cell = image.At(map + i);
        // cell x 5 / 2 fits a byte up to 102 % (255); a per-cent cell above that (reachable by
        // stepping or from a file) becomes the top of the range, 5000 mV, instead of wrapping
        // to a low value.
        const int converted = percent                          ? (cell + 1) * 2 / 5
                              : cell <= kLargestFittingPercent ? cell * 5 / 2
                                                               : kUnitsFullScale;
        image.Set(map + i, static_cast<uint8_t>(converted));
    }
    return true;
}

} // namespace zyrk
