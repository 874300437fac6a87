#pragma once

// The layout of the unit's monitor reply: where each value stands in the 52-byte frame (byte 0
// is the command), in what unit, and how the converter's counts become millivolts. The link
// decodes replies with it and the simulated unit builds them with it, so the two cannot drift.
namespace zyrk::monitor {

// Offsets into the frame. Words are two bytes, low byte first.
constexpr int kRpm = 1;             // word: engine speed [RPM]
constexpr int kTpsCount = 3;        // word: throttle sensor [converter counts]
constexpr int kSupplyCount = 5;     // word: supply after its divider [converter counts]
constexpr int kServo1Measured = 7;  // word: servo 1 position [mV]
constexpr int kServo1Desired = 9;   // word: servo 1 target from the map [mV]
constexpr int kServo2Measured = 11; // word: servo 2 position [mV]
constexpr int kServo2Desired = 13;  // word: servo 2 target from the map [mV]
constexpr int kServoStride = 4;     // servo 2's words stand this far after servo 1's
constexpr int kProgramCount = 15;   // word: programmings the unit has taken
constexpr int kTest1 = 23;          // 8 words: the unit's test values
constexpr int kTestCount = 8;
constexpr int kTpPercent = 41;   // byte: throttle opening [%]; above 100 a sensor error
constexpr int kServo1State = 42; // byte: 0 while enabled is a servo fault
constexpr int kServo2State = 43; // byte
constexpr int kBusy = 47;        // word: saving countdown, non-zero while saving
constexpr int kDataError = 49;   // byte: non-zero when the unit's parameters are damaged
constexpr int kVersion = 50;     // byte: the unit's parameter version

// The converter: 10 bits over 5 V; the supply reaches it through an 11:1 divider.
constexpr int kAdcFull = 1023;
constexpr int kAdcMv = 5000;
constexpr int kSupplyDivider = 11;

constexpr int CountToMv(int count) {
    return count * kAdcMv / kAdcFull;
}
constexpr int MvToCount(int mv) {
    return mv * kAdcFull / kAdcMv;
}
constexpr int SupplyCountToMv(int count) {
    return CountToMv(count) * kSupplyDivider;
}
constexpr int SupplyMvToCount(int mv) {
    return MvToCount(mv / kSupplyDivider);
}

} // namespace zyrk::monitor
