#include "SimUnit.h"

#include "Frame.h"
#include "Limits.h"
#include "Link.h"

namespace zyrk {

namespace {
constexpr int kAdcFull = 1023;
constexpr int kAdcMv = 5000;
constexpr int kSupplyDivider = 11;
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
    const int column = NearestColumn(store.Data().data() + ParamImage::RpmOffset(servo), rpm);
    const int row = NearestRow(tpPercent, store.TpEnable(servo) != 0);
    const int cell = store.Cell(servo, row, column);
    return store.Procenta(servo) ? cell * 50 : cell * 20;
}

QByteArray SimUnit::MonitorReply() {
    Advance();
    QByteArray f(kFrameSize, '\0');
    f[0] = static_cast<char>(kCmdMonitorReply);
    PutWord(f, 1, rpm);
    const int tpsMv = 480 + (4470 - 480) * tpPercent / 100;
    PutWord(f, 3, tpsMv * kAdcFull / kAdcMv);
    PutWord(f, 5, supplyMv / kSupplyDivider * kAdcFull / kAdcMv);
    for (int s = 0; s < 2; ++s) {
        const int desired = ServoDesiredMv(s);
        PutWord(f, 9 + 4 * s, desired);
        PutWord(f, 7 + 4 * s, desired > 0 ? desired - 12 + static_cast<int>(phase_ % 25) : 0);
        f[42 + s] = static_cast<char>(store.ServoEnable(s) ? 1 : 0);
    }
    PutWord(f, 15, programCount);
    for (int i = 0; i < 8; ++i)
        PutWord(f, 23 + 2 * i, static_cast<int>((phase_ * (i + 1)) % 1000));
    f[41] = static_cast<char>(tpPercent);
    PutWord(f, 47, busyCountdown);
    f[49] = static_cast<char>(dataError);
    f[50] = static_cast<char>(faults.version);
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
