#include "SimUnit.h"

#include "Frame.h"
#include "Limits.h"
#include "Link.h"
#include "LiveCell.h"
#include "MonitorFrame.h"

namespace zyrk {

namespace {
constexpr int kTpsClosedMv = 480; // the throttle sensor at either end of its travel
constexpr int kTpsOpenMv = 4470;
constexpr int kIdleRpm = 1200;
constexpr int kRpmSweep = 8000;
constexpr int kSweepSteps = 60; // monitor replies for one sweep up and down

int Triangle(uint32_t phase, int span) {
    const int p = static_cast<int>(phase % (2 * kSweepSteps));
    const int up = p < kSweepSteps ? p : 2 * kSweepSteps - p;
    return up * span / kSweepSteps;
}

void PutWord(QByteArray& frame, int at, int value) {
    frame[at] = static_cast<char>(value & 0xFF);
    frame[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}
} // namespace

SimUnit::SimUnit() {
    const char name[] = "ZRK";
    for (int i = 0; i < 3; ++i)
        store.Set(off::FirmwareName + i, static_cast<uint8_t>(name[i]));
    store.Set(off::FirmwareNumber, 7);
    store.Set(off::BuildDay, 17);
    store.Set(off::BuildMonth, 38); // "Oct"
    store.Set(off::BuildYear, 22);
    store.Set(off::BuildHour, 11);
    store.Set(off::BuildMinute, 48);
    store.Set(off::UnitVersion, kToolVersion);
    FactoryDefaults(store);
    store.SetTpEnable(0, 1);
    store.SetTpEnable(1, 1);
}

void SimUnit::Advance() {
    if (!moving)
        return;
    ++phase_;
    rpm = static_cast<uint16_t>(kIdleRpm + Triangle(phase_, kRpmSweep));
    tpPercent = static_cast<uint8_t>(Triangle(phase_ + kSweepSteps / 3, 100));
}

QByteArray SimUnit::Finish(QByteArray frame) const {
    frame[kFrameSize - 1] = static_cast<char>(CheckByte(FrameByte(frame, 0), FrameData(frame)) ^
                                              (faults.spoilCheck ? 1 : 0));
    return frame;
}

int SimUnit::ServoDesiredMv(int servo) const {
    if (store.ServoEnable(servo) == 0)
        return 0;
    const MapPosition live = LiveCell(store, servo, rpm, tpPercent);
    const int cell = store.Cell(servo, live.row, live.column);
    return store.Procenta(servo) ? cell * 50 : cell * 20;
}

QByteArray SimUnit::MonitorReply() {
    Advance();
    QByteArray f(kFrameSize, '\0');
    f[0] = static_cast<char>(kCmdMonitorReply);
    PutWord(f, monitor::kRpm, rpm);
    const int tpsMv = kTpsClosedMv + (kTpsOpenMv - kTpsClosedMv) * tpPercent / 100;
    PutWord(f, monitor::kTpsCount, monitor::MvToCount(tpsMv));
    PutWord(f, monitor::kSupplyCount, monitor::SupplyMvToCount(supplyMv));
    const int stateAt[2] = {monitor::kServo1State, monitor::kServo2State};
    for (int s = 0; s < 2; ++s) {
        const int desired = ServoDesiredMv(s);
        const int stride = monitor::kServoStride * s;
        PutWord(f, monitor::kServo1Desired + stride, desired);
        PutWord(f, monitor::kServo1Measured + stride,
                desired > 0 ? desired - 12 + static_cast<int>(phase_ % 25) : 0);
        f[stateAt[s]] = static_cast<char>(store.ServoEnable(s) ? 1 : 0);
    }
    PutWord(f, monitor::kProgramCount, programCount);
    for (int i = 0; i < monitor::kTestCount; ++i)
        PutWord(f, monitor::kTest1 + 2 * i, static_cast<int>((phase_ * (i + 1)) % 1000));
    f[monitor::kTpPercent] = static_cast<char>(tpPercent);
    PutWord(f, monitor::kBusy, busyCountdown);
    f[monitor::kDataError] = static_cast<char>(dataError);
    f[monitor::kVersion] = static_cast<char>(faults.version);
    if (busyCountdown > 0)
        busyCountdown = busyCountdown > kBusyStepPerReply ? busyCountdown - kBusyStepPerReply : 0;
    return Finish(f);
}

QByteArray SimUnit::BlockReply(uint8_t command, const uint8_t* data) {
    const int b = command & kBlockMask;
    if (b >= kBlockCount)
        return {};
    if ((command & kCmdReadFlag) == 0) {
        if (b != 0) // block 0 is the unit's own; a program frame for it only asks for it
            store.SetBlock(b, data);
        if (b == faults.changedBlock)
            store.Set(kBlockSize * b, static_cast<uint8_t>(store.At(kBlockSize * b) ^ 0x01));
        if (b == kBlockCount - 1) {
            ++programCount;
            busyCountdown = kBusyStart;
        }
    }
    QByteArray f(kFrameSize, '\0');
    uint8_t replyCommand = command | kReplyFlag;
    if (faults.previousBlock && (command & kBlockMask) > 0)
        replyCommand = static_cast<uint8_t>(replyCommand - 1);
    f[0] = static_cast<char>(replyCommand);
    const ParamImage::Block block = store.GetBlock(b);
    for (int i = 0; i < kBlockSize; ++i)
        f[1 + i] = static_cast<char>(block[static_cast<size_t>(i)]);
    if (b == 0)
        f[1 + off::UnitVersion] = static_cast<char>(faults.version);
    lastBlockCommand_ = command;
    return Finish(f);
}

QByteArray SimUnit::Answer(const QByteArray& request) {
    if (faults.silent || !FrameIsValid(request))
        return {};
    const uint8_t command = FrameByte(request, 0);
    if (command == kCmdMonitor)
        return MonitorReply();
    if ((command & ~(kCmdReadFlag | kBlockMask)) != 0)
        return {};
    if (faults.cutAfterFrames == 0) {
        faults.silent = true;
        return {};
    }
    if (faults.cutAfterFrames > 0)
        --faults.cutAfterFrames;
    return BlockReply(command, FrameData(request));
}

} // namespace zyrk
