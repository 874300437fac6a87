#include "LiveCell.h"

namespace zyrk {

int NearestColumn(const uint8_t* axis, int rpm) {
    const int doubled = (2 * rpm) / 100;
    for (int c = 0; c < kMapColumns - 1; ++c) {
        if (doubled < axis[c] + axis[c + 1])
            return c;
    }
    return kMapColumns - 1;
}

int NearestRow(int tpPercent, bool tpEnable) {
    if (!tpEnable)
        return 0;
    for (int r = 0; r < kMapRows - 1; ++r) {
        if (kTpsRows[static_cast<size_t>(r)] + kTpsRows[static_cast<size_t>(r + 1)] > 2 * tpPercent)
            return r;
    }
    return kMapRows - 1;
}

MapPosition LiveCell(const ParamImage& image, int servo, int rpm, int tpPercent) {
    return {NearestRow(tpPercent, image.TpEnable(servo) != 0),
            NearestColumn(image.Data().data() + ParamImage::RpmOffset(servo), rpm)};
}

} // namespace zyrk
