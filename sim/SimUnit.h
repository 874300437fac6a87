#pragma once

#include "ParamImage.h"

#include <QByteArray>
#include <cstdint>

namespace zyrk {

// A stand-in for the unit on the wire. It keeps a 400-byte parameter store whose version
// block names a firmware, a build date and version 56, answers monitor requests with live
// values that move, answers program and read frames, counts programmings and reports a
// saving countdown after each one. Switches make it misbehave the ways units and cables do.
class SimUnit {
  public:
    static constexpr int kBusyStart = 800;
    static constexpr int kBusyStepPerReply = 80;

    struct Faults {
        bool silent = false;        // answers nothing
        bool spoilCheck = false;    // every reply carries a wrong check byte
        bool previousBlock = false; // block replies carry the command of the block before
        int changedBlock = -1;      // this block (1..7) is kept with one byte changed
        int version = 56;           // program version in block 0 and in monitor replies
        int cutAfterFrames = -1;    // answers this many more block frames, then goes silent
    };

    SimUnit();

    // The reply to one request frame, or an empty array when the unit stays silent (bad
    // check byte, unknown command, or a fault).
    QByteArray Answer(const QByteArray& request);

    Faults faults;
    ParamImage store;
    uint16_t programCount = 0;
    uint16_t busyCountdown = 0;

    // Live values; Advance() moves them as a running engine would.
    uint16_t rpm = 0;
    uint8_t tpPercent = 0;
    uint16_t supplyMv = 13800;
    uint8_t dataError = 0;
    bool moving = true;
    void Advance();

  private:
    QByteArray MonitorReply();
    QByteArray BlockReply(uint8_t command, const uint8_t* data);
    QByteArray Finish(QByteArray frame) const;
    int ServoDesiredMv(int servo) const;

    uint32_t phase_ = 0;
    uint8_t lastBlockCommand_ = 0;
};

} // namespace zyrk
