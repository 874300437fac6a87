#include "Limits.h"

namespace zyrk {

const std::array<int, kMapColumns> kDefaultRpm = {0,    1000, 2000, 3000, 4000,  6000,  6500, 7000,
                                                  7500, 8000, 8500, 9000, 10000, 11000, 12000};

namespace {
constexpr int kDefaultNapFirstMv = 2000;
constexpr int kDefaultNapStepMv = 100;
constexpr int kMvPerPercent = 50; // 100 % stands for 5000 mV
constexpr int kMvPerUnit = 20;
constexpr int kAxisSpan = 236; // point i lies in i .. 236 + i
constexpr uint8_t kHysterMvDefault = 80;
constexpr uint8_t kHysterRpmDefault = 20;
constexpr uint8_t kPocetPulsuDefault = 1;
constexpr uint8_t kTps0Default = 48;
constexpr uint8_t kTps100Default = 197;
constexpr uint8_t kComAuto = 20;
constexpr uint8_t kAutoScanLimit = 20;
} // namespace

int DefaultNapMv(int cell) {
    return kDefaultNapFirstMv + kDefaultNapStepMv * (cell % kMapColumns);
}

void FactoryDefaults(ParamImage& image) {
    for (int c = 0; c < kMapColumns; ++c) {
        for (int s = 0; s < kServoCount; ++s)
            image.SetRpm(s, c, static_cast<uint8_t>(kDefaultRpm[static_cast<size_t>(c)] / 100));
    }
    for (int i = 0; i < kMapCells; ++i) {
        for (int s = 0; s < kServoCount; ++s) {
            const int divisor = image.InPercent(s) ? kMvPerPercent : kMvPerUnit;
            image.Set(ParamImage::MapOffset(s) + i,
                      static_cast<uint8_t>(DefaultNapMv(i) / divisor));
        }
    }
    for (int s = 0; s < kServoCount; ++s) {
        image.SetHysterMv(s, kHysterMvDefault);
        image.SetHysterRpm(s, kHysterRpmDefault);
        image.SetHysterOff(s, 0);
        image.SetServoEnable(s, 1);
    }
    image.SetPocetPulsu(kPocetPulsuDefault);
    image.SetTps0(kTps0Default);
    image.SetTps100(kTps100Default);
}

void ApplyAxisLimits(ParamImage& image) {
    for (int i = 0; i < kMapColumns; ++i) {
        for (int s = 0; s < kServoCount; ++s) {
            const int v = image.Rpm(s, i);
            if (v < i)
                image.SetRpm(s, i, static_cast<uint8_t>(i));
            if (v > kAxisSpan + i)
                image.SetRpm(s, i, static_cast<uint8_t>(kAxisSpan + i));
        }
    }
    for (int i = 1; i < kMapColumns; ++i) {
        for (int s = 0; s < kServoCount; ++s) {
            if (image.Rpm(s, i) <= image.Rpm(s, i - 1))
                image.SetRpm(s, i, static_cast<uint8_t>(image.Rpm(s, i - 1) + 1));
        }
    }
}

void ClampPortIndexes(uint8_t& comIndex, uint8_t& autoScanIndex) {
    if (comIndex > kComAuto)
        comIndex = 0;
    if (autoScanIndex >= kAutoScanLimit)
        autoScanIndex = 0;
}

} // namespace zyrk
