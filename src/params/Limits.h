#pragma once

#include "ParamImage.h"

namespace zyrk {

// Factory engine-speed axis in RPM and factory map in mV (all ten rows alike).
extern const std::array<int, kMapColumns> kDefaultRpm;
int DefaultNapMv(int cell);

// Stores the factory values. Block 0, TpEnable, Procenta and the reserved bytes stay; each
// map is coded in the unit its servo is set to at this moment.
void FactoryDefaults(ParamImage& image);

// Brings both engine-speed axes into shape: point i within i..236+i, strictly rising.
void ApplyAxisLimits(ParamImage& image);

// Port indexes of the link: a ComIndex above 20 and an AutoScanIndex of 20 or more become 0.
void ClampPortIndexes(uint8_t& comIndex, uint8_t& autoScanIndex);

} // namespace zyrk
