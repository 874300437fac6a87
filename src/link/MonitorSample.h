#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>

namespace zyrk {

// One accepted monitor reply, decoded once, as the link hands it to whoever records or
// plots the run (data log, chart, command line). Raw values in their units; nothing here
// comes from a label text.
struct MonitorSample {
    qint64 timeMs = 0;     // wall clock at the reply, milliseconds since 1970 (UTC)
    uint16_t rpm = 0;      // engine speed [RPM]
    uint8_t tpPercent = 0; // throttle opening [%]; above 100 the sensor is in error
    uint16_t tpsMv = 0;    // throttle sensor [mV]
    int supplyMv = 0;      // supply voltage [mV]
    std::array<uint16_t, 2> servoDesiredMv{};
    std::array<uint16_t, 2> servoMeasuredMv{};
    std::array<uint8_t, 2> servoState{}; // 0 while enabled is a servo fault
    bool dataError = false;
    uint16_t programCount = 0;
    uint16_t busyCountdown = 0; // non-zero while the unit saves its parameters
    uint8_t unitVersion = 0;
    // The map cell the engine runs in, per servo, from that servo's speed axis and its
    // "TP Enable" flag as the image held them at the reply.
    std::array<uint8_t, 2> liveRow{};
    std::array<uint8_t, 2> liveColumn{};
    std::array<uint16_t, 8> test{};

    bool operator==(const MonitorSample&) const = default;
};

} // namespace zyrk
