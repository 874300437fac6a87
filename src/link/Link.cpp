#include "Link.h"

#include "MonitorFrame.h"

#include <QDateTime>
#include <algorithm>

namespace zyrk {

namespace {
constexpr int kSupplyRedHigh = 17999;
constexpr int kSupplyRedLow = 7000;
constexpr int kSupplyYellowHigh = 14999;
constexpr int kSupplyYellowLow = 11000;
constexpr int kRpmPerGaugeStep = 100;
constexpr int kTpMax = 100;

// The unit's test labels, each with the spacing it has always had.
constexpr const char* kTestFormats[8] = {"Test1= %1", "Test2= %1", "Test3= %1 ", "Test4=%1",
                                         "Test5= %1", "Test6= %1", "Test7= %1",  "Test8= %1"};
} // namespace

Link::Link(Port& port, ParamImage& image, const MessageTable& messages, LinkHost& host)
    : port_(port), image_(image), messages_(messages), host_(host) {
    // The connection label is visible in the window as designed, until the first tick.
    display_.connectionVisible = true;
}

void Link::Tick() {
    PollPort();
    switch (LinkMode) {
    case ModeProgram:
    case ModeVerify:
    case ModeRead:
        TransferTick();
        break;
    default:
        MonitorStep();
        break;
    }
    StatusTiming();
    Watchdog();
    if (display_.connectionVisible)
        display_.versionVisible = false;
}

void Link::MonitorStep() {
    ++TickCount;
    if (TickCount >= kMonitorEveryTicks) {
        TickCount = 0;
        SendMonitorRequest();
    }
    // A failure stays readable: the unit's saving report (which may be stale, since no
    // monitor replies come during a transfer) does not paint over a red error text.
    const bool failureShown = display_.statusShade == Shade::Red && MessageTime > 0;
    if (BusyCountdown > 0) {
        if (failureShown)
            return;
        display_.statusShade = Shade::ButtonFace;
        display_.statusText = messages_[MsgSaving];
        MessageTime = kMessageTicks;
        display_.gaugeMax = kGaugePercent;
        const int progress =
            kGaugePercent * (kBusyFull - static_cast<int>(BusyCountdown)) / kBusyFull;
        display_.gaugeProgress = std::clamp(progress, 0, kGaugePercent);
    } else {
        display_.gaugeMax = kGaugeBlocks;
        display_.gaugeProgress = std::min(display_.gaugeProgress, kGaugeBlocks);
        if (ProgramOk) {
            display_.statusText = messages_[MsgProgramDevice] + QStringLiteral(" OK");
            display_.gaugeProgress = display_.gaugeMax;
        }
    }
}

void Link::StatusTiming() {
    if (MessageTime > 0) {
        --MessageTime;
        display_.statusVisible = true;
    } else {
        display_.statusVisible = false;
        display_.gaugeVisible = false;
        ProgramOk = false;
    }
}

void Link::Watchdog() {
    if (SilentTicks < kSilentLimit) {
        ++SilentTicks;
        display_.connectionVisible = false;
        return;
    }
    display_.connectionVisible = true;
    unitKept_ = false; // the unit that answers next may be another one
    ++ReconnectTicks;
    if (ReconnectTicks >= kReconnectTicks) {
        ReconnectTicks = 0;
        ClosePort();
        QuietReopen = true;
        ++AutoScanIndex;
        if (AutoScanIndex > kAutoScanLast)
            AutoScanIndex = 0;
        OpenPort();
    }
}

void Link::OpenPort() {
    unitKept_ = false;
    const int n = ComIndex != kComAuto ? ComIndex + 1 : AutoScanIndex + 1;
    // The label shows the port by its COM number on every platform.
    display_.comText = QStringLiteral("COM= ") + PortNames::ComPath(n).mid(4, 10);
    const QString path = names_.Path(n);
    const bool ok = port_.Open(path);
    display_.searchPort = ComIndex == kComAuto ? n : 0;
    display_.searchPath = ComIndex == kComAuto ? path : QString();
    if (!ok) {
        if (!QuietReopen && ComIndex != kComAuto)
            host_.ShowPortOpenError(messages_[MsgComOpenError], path, port_.LastOpenError());
        if (ComIndex == kComAuto)
            ReconnectTicks = kFailedAutoOpenTicks;
    }
    display_.comChecked = ComIndex;
}

void Link::ClosePort() {
    port_.Close();
}

void Link::SelectPort(int index) {
    ComIndex = static_cast<uint8_t>(index);
    ClosePort();
    QuietReopen = false;
    OpenPort();
}

void Link::PollPort() {
    if (port_.BytesWaiting() < kFrameSize)
        return;
    const QByteArray rx = port_.Read(kRxCap);
    // A port that vanished between the count and the read may deliver less than it said.
    if (rx.size() < kFrameSize)
        return;
    if (FrameByte(rx, 0) == kCmdMonitorReply)
        HandleMonitorReply(rx);
    else
        HandleBlockReply(rx);
}

void Link::SendMonitorRequest() {
    port_.Write(MakeFrame(kCmdMonitor));
}

void Link::HandleMonitorReply(const QByteArray& rx) {
    if (!FrameIsValid(rx))
        return;
    SilentTicks = 0;
    lastSample_ = DecodeMonitorReply(rx);
    LiveTpPercent = lastSample_.tpPercent;
    LiveRpm = lastSample_.rpm;
    LiveTpsMv = lastSample_.tpsMv;
    BusyCountdown = lastSample_.busyCountdown;
    ShowSample(lastSample_);
    for (const SampleObserver& observer : observers_)
        observer(lastSample_);
}

MonitorSample Link::DecodeMonitorReply(const QByteArray& rx) const {
    MonitorSample sample;
    sample.timeMs = QDateTime::currentMSecsSinceEpoch();
    sample.rpm = static_cast<uint16_t>(FrameWord(rx, monitor::kRpm));
    sample.tpPercent = FrameByte(rx, monitor::kTpPercent);
    sample.tpsMv = static_cast<uint16_t>(monitor::CountToMv(FrameWord(rx, monitor::kTpsCount)));
    sample.supplyMv = monitor::SupplyCountToMv(FrameWord(rx, monitor::kSupplyCount));
    const int stateAt[2] = {monitor::kServo1State, monitor::kServo2State};
    for (size_t s = 0; s < kServoCount; ++s) {
        const int servo = static_cast<int>(s);
        const int stride = monitor::kServoStride * servo;
        sample.servoDesiredMv[s] =
            static_cast<uint16_t>(FrameWord(rx, monitor::kServo1Desired + stride));
        sample.servoMeasuredMv[s] =
            static_cast<uint16_t>(FrameWord(rx, monitor::kServo1Measured + stride));
        sample.servoState[s] = FrameByte(rx, stateAt[s]);
        const MapPosition cell = LiveCell(image_, servo, sample.rpm, sample.tpPercent);
        sample.liveRow[s] = static_cast<uint8_t>(cell.row);
        sample.liveColumn[s] = static_cast<uint8_t>(cell.column);
    }
    sample.dataError = FrameByte(rx, monitor::kDataError) != 0;
    sample.programCount = static_cast<uint16_t>(FrameWord(rx, monitor::kProgramCount));
    sample.busyCountdown = static_cast<uint16_t>(FrameWord(rx, monitor::kBusy));
    sample.unitVersion = FrameByte(rx, monitor::kVersion);
    for (size_t i = 0; i < sample.test.size(); ++i)
        sample.test[i] =
            static_cast<uint16_t>(FrameWord(rx, monitor::kTest1 + 2 * static_cast<int>(i)));
    return sample;
}

void Link::ShowSample(const MonitorSample& sample) {
    display_.rpmText = QStringLiteral("RPM = %1 ").arg(sample.rpm);
    display_.rpmGauge = std::min(sample.rpm / kRpmPerGaugeStep, kGaugePercent);

    if (sample.tpPercent <= kTpMax) {
        display_.tpsText = QStringLiteral("TP= %1 %=%2 mV").arg(sample.tpPercent).arg(sample.tpsMv);
        display_.tpsShade = Shade::ButtonFace;
        display_.tpsGauge = sample.tpPercent;
    } else {
        display_.tpsText = QStringLiteral("TP=error=%1 mV").arg(sample.tpsMv);
        display_.tpsShade = Shade::Red;
        display_.tpsGauge = 0;
    }

    const int supplyMv = sample.supplyMv;
    display_.napetiText =
        QString::asprintf("U= %4.1f V", static_cast<double>(static_cast<float>(supplyMv) * 0.001f));
    if (supplyMv >= kSupplyRedHigh || supplyMv <= kSupplyRedLow)
        display_.napetiShade = Shade::Red;
    else if (supplyMv >= kSupplyYellowHigh || supplyMv <= kSupplyYellowLow)
        display_.napetiShade = Shade::Yellow;
    else
        display_.napetiShade = Shade::ButtonFace;

    const QString& desired = messages_[MsgServoDesired];
    const QString& measured = messages_[MsgServoMeasured];
    for (size_t s = 0; s < kServoCount; ++s) {
        const int servo = static_cast<int>(s);
        display_.servoPozText[s] = QStringLiteral("%1 %2 = %3 mV")
                                       .arg(desired)
                                       .arg(servo + 1)
                                       .arg(sample.servoDesiredMv[s]);
        display_.servoMerText[s] = QStringLiteral("%1 %2 = %3 mV")
                                       .arg(measured)
                                       .arg(servo + 1)
                                       .arg(sample.servoMeasuredMv[s]);
        const bool fault = sample.servoState[s] == 0 && image_.ServoEnable(servo) != 0;
        display_.servoShade[s] = fault ? Shade::Red : Shade::ButtonFace;
    }

    if (sample.unitVersion == kToolVersion) {
        display_.versionVisible = false;
    } else {
        display_.versionVisible = true;
        display_.versionText = VersionText(sample.unitVersion);
    }

    display_.eeDataErrVisible = sample.dataError;
    display_.programCountText =
        messages_[MsgProgramCount] + QLatin1Char(' ') + QString::number(sample.programCount);
    for (size_t i = 0; i < sample.test.size(); ++i)
        display_.testText[i] = QString::fromLatin1(kTestFormats[i]).arg(sample.test[i]);
}

QString Link::VersionText(int unitVersion) const {
    return messages_[MsgUnmatchedVersion] +
           QStringLiteral("  PC-%1, IGN-%2").arg(kToolVersion).arg(unitVersion);
}

void Link::ShowPlaceholders() {
    display_.programCountText = messages_[MsgProgramCount] + QStringLiteral("---");
    for (int s = 0; s < kServoCount; ++s) {
        display_.servoPozText[static_cast<size_t>(s)] =
            messages_[MsgServoDesired] + QStringLiteral(" %1 = --- mV").arg(s + 1);
        display_.servoMerText[static_cast<size_t>(s)] =
            messages_[MsgServoMeasured] + QStringLiteral(" %1 = --- mV").arg(s + 1);
    }
}

void Link::SetStatus(const QString& text, Shade shade) {
    display_.statusText = text;
    display_.statusShade = shade;
    MessageTime = kMessageTicks;
    display_.statusVisible = true;
}

void Link::BeginTransfer(uint8_t mode, uint8_t command, MsgId text) {
    sentByReply_ = false;
    asideActive_ = false;
    guardRead_ = false;
    LinkMode = mode;
    BlockCommand = command;
    RetryCount = 0;
    SetStatus(messages_[text], Shade::ButtonFace);
    display_.gaugeProgress = 0;
    display_.gaugeVisible = true;
    ProgramOk = false;
}

void Link::StartProgramming() {
    if (FirstWritePending()) {
        StartReadAside();
        guardRead_ = true;
        return;
    }
    BeginTransfer(ModeProgram, 0x00, MsgProgramDevice);
}

void Link::FinishReadBeforeWrite(bool readOk) {
    guardRead_ = false;
    QString why;
    if (readOk) {
        if (guard_.keep(aside_, &why)) {
            unitKept_ = true;
            StartProgramming();
            return;
        }
        SetStatus(why, Shade::Red);
    } else {
        why = display_.statusText;
    }
    if (guard_.programWithout && guard_.programWithout(why)) {
        unitKept_ = true;
        BeginTransfer(ModeProgram, 0x00, MsgProgramDevice);
    }
}

void Link::StartVerify() {
    BeginTransfer(ModeVerify, kCmdReadFlag | 1, MsgVerify);
}

void Link::StartRead() {
    BeginTransfer(ModeRead, kCmdReadFlag, MsgRead);
}

void Link::StartReadAside() {
    BeginTransfer(ModeRead, kCmdReadFlag, MsgRead);
    asideActive_ = true;
}

void Link::Report(TransferEvent::Kind kind, int block) {
    const TransferEvent event{kind, LinkMode, block, asideActive_, guardRead_};
    for (const TransferObserver& observer : transferObservers_)
        observer(event);
}

void Link::SendBlockFrame() {
    TickCount = 0;
    const int b = BlockCommand & kBlockMask;
    if (LinkMode == ModeRead || b >= kBlockCount) {
        port_.Write(MakeFrame(BlockCommand));
        return;
    }
    const ParamImage::Block block = Source().GetBlock(b);
    port_.Write(MakeFrame(BlockCommand, block.data()));
}

void Link::TransferTick() {
    if (LinkMode == ModeRead)
        ProgramOk = false;
    if (sentByReply_) {
        sentByReply_ = false;
        return;
    }
    ++TickCount;
    if (TickCount < kResendTicks)
        return;
    TickCount = 0;
    ++RetryCount;
    if (RetryCount > kMaxSends) {
        const MsgId error = LinkMode == ModeProgram  ? MsgProgramError
                            : LinkMode == ModeVerify ? MsgVerifyError
                                                     : MsgReadError;
        SetStatus(messages_[error], Shade::Red);
        if (LinkMode == ModeVerify)
            ProgramOk = false;
        Report(TransferEvent::Kind::Failed, BlockCommand & kBlockMask);
        LinkMode = ModeMonitor;
        if (guardRead_)
            FinishReadBeforeWrite(false);
        return;
    }
    SendBlockFrame();
}

void Link::AcceptBlock() {
    Report(TransferEvent::Kind::Block, BlockCommand & kBlockMask);
    display_.gaugeProgress = std::min(display_.gaugeProgress + 1, display_.gaugeMax);
    ++BlockCommand;
    RetryCount = 1;
    SendFromReply();
}

void Link::SendFromReply() {
    SendBlockFrame();
    sentByReply_ = true;
}

void Link::TakeVersionBlock(const uint8_t* data) {
    image_.SetBlock(0, data);
    unitTexts_ = BuildUnitTexts(image_);
}

void Link::BeginAutoVerify() {
    LinkMode = ModeVerify;
    BlockCommand = kCmdReadFlag | 1;
    RetryCount = 1;
    SendFromReply();
    SetStatus(messages_[MsgVerify], Shade::ButtonFace);
    display_.gaugeProgress = 0;
}

void Link::VersionMismatch(bool inRead) {
    Report(TransferEvent::Kind::Version, 0);
    LinkMode = ModeMonitor;
    guardRead_ = false; // another version is never programmed
    if (inRead) {
        host_.ApplyLimits();
        host_.ShowImage();
    }
    host_.ShowMessage(VersionText(Source().UnitVersion()));
    MessageTime = 0;
}

void Link::HandleBlockReply(const QByteArray& rx) {
    if (!FrameIsValid(rx))
        return;
    const int b = BlockCommand & kBlockMask;
    if (FrameByte(rx, 0) != (BlockCommand ^ kReplyFlag) || LinkMode == ModeMonitor ||
        b >= kBlockCount)
        return;
    SilentTicks = 0;
    const uint8_t* data = FrameData(rx);
    constexpr int kLastBlock = kBlockCount - 1;

    switch (LinkMode) {
    case ModeRead:
        if (b == 0) {
            if (asideActive_)
                aside_.SetBlock(0, data);
            else
                TakeVersionBlock(data);
            if (Source().UnitVersion() != kToolVersion) {
                VersionMismatch(!asideActive_);
                return;
            }
        } else {
            readAside_.SetBlock(b, data);
        }
        if (b < kLastBlock) {
            AcceptBlock();
        } else if (asideActive_) {
            for (int k = 1; k < kBlockCount; ++k)
                aside_.SetBlock(k, readAside_.GetBlock(k).data());
            Report(TransferEvent::Kind::Block, b);
            BeginAutoVerify();
        } else {
            for (int k = 1; k < kBlockCount; ++k)
                image_.SetBlock(k, readAside_.GetBlock(k).data());
            host_.ApplyLimits();
            host_.ShowImage();
            Report(TransferEvent::Kind::Block, b);
            BeginAutoVerify();
        }
        break;
    case ModeVerify:
        if (!Source().BlockEquals(b, data))
            return;
        if (b < kLastBlock) {
            AcceptBlock();
        } else {
            display_.gaugeProgress = display_.gaugeMax;
            SetStatus(messages_[MsgVerify] + QStringLiteral(" OK"), Shade::ButtonFace);
            Report(TransferEvent::Kind::Block, b);
            Report(TransferEvent::Kind::Done, b);
            LinkMode = ModeMonitor;
            if (guardRead_)
                FinishReadBeforeWrite(true);
        }
        break;
    case ModeProgram:
        if (b == 0) {
            TakeVersionBlock(data);
            host_.ApplyLimits();
            host_.ShowImage();
            if (image_.UnitVersion() != kToolVersion) {
                VersionMismatch(false);
                return;
            }
        } else if (!image_.BlockEquals(b, data)) {
            return;
        }
        if (b < kLastBlock) {
            AcceptBlock();
        } else {
            ProgramOk = true;
            Report(TransferEvent::Kind::Block, b);
            BeginAutoVerify();
        }
        break;
    default:
        break;
    }
}

} // namespace zyrk
