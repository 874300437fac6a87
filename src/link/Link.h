#pragma once

#include "Frame.h"
#include "LinkDisplay.h"
#include "LinkHost.h"
#include "LiveCell.h"
#include "Messages.h"
#include "MonitorSample.h"
#include "ParamImage.h"
#include "Port.h"
#include "PortNames.h"
#include "TransferEvent.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace zyrk {

enum LinkModeValue : uint8_t { ModeMonitor = 0, ModeProgram = 1, ModeVerify = 2, ModeRead = 3 };

constexpr int kTickMs = 55;
constexpr int kMonitorEveryTicks = 6;
constexpr int kResendTicks = 4;
constexpr int kMaxSends = 5;
constexpr int kMessageTicks = 200;
constexpr int kSilentLimit = 18;
constexpr int kReconnectTicks = 30;
constexpr int kFailedAutoOpenTicks = 200;
constexpr int kRxCap = 15000;
constexpr int kBusyFull = 800;
constexpr int kGaugeBlocks = 7;
constexpr int kGaugePercent = 100;
constexpr uint8_t kComAuto = 20;
constexpr uint8_t kAutoScanLast = 20;

// The device link: serial port, monitor exchange, block transfer and connection watchdog,
// driven by Tick() every 55 ms. Field names follow the names the unit's protocol uses.
class Link {
  public:
    Link(Port& port, ParamImage& image, const MessageTable& messages, LinkHost& host);

    // One 55 ms tick: poll and dispatch, mode step, status timing, watchdog.
    void Tick();

    void OpenPort();
    void ClosePort();
    void PollPort();
    void SelectPort(int index); // a pick from the Com menu

    // Transfer commands; the window commits its controls first where a command asks it to.
    void StartProgramming();
    void StartVerify();
    void StartRead();
    // Compare with the unit: the unit's eight blocks are read into a side image with the
    // frames, retries, version check and staged collection of a Read, and the side image is
    // then verified against the unit. The edited image, the editor (no ApplyLimits, no
    // ShowImage) and the unit's version texts are never touched. Any other command ends it.
    void StartReadAside();
    const ParamImage& AsideImage() const { return aside_; }
    bool ReadingAside() const { return asideActive_; }

    // Restore points. With a guard set, the first programming since the unit started
    // answering (after the connection label showed, or the port was chosen or reopened) first
    // reads the unit into the side image exactly as StartReadAside() does and hands it to
    // keep(); the programming starts only when keep() returned true. When the read fails or
    // keep() cannot store it, programWithout(why) decides: true programs without a restore
    // point, false writes nothing. A unit of another version is never programmed.
    struct FirstWriteGuard {
        std::function<bool(const ParamImage& unit, QString* why)> keep;
        std::function<bool(const QString& why)> programWithout;
    };
    void SetFirstWriteGuard(FirstWriteGuard guard) { guard_ = std::move(guard); }
    // Whether the next programming reads the unit first.
    bool FirstWritePending() const { return guard_.keep && !unitKept_; }
    bool ReadingBeforeWrite() const { return guardRead_; }

    // Every accepted block, the end of the closing verify, a failed block and a version
    // mismatch are handed to each observer, inside the tick (observers must be quick).
    using TransferObserver = std::function<void(const TransferEvent&)>;
    void AddTransferObserver(TransferObserver observer) {
        transferObservers_.push_back(std::move(observer));
    }

    // Placeholders of the servo labels while no unit answers (language change).
    void ShowPlaceholders();

    const LinkDisplay& Display() const { return display_; }
    LinkDisplay& Display() { return display_; }
    PortNames& Names() { return names_; }
    const UnitTexts& Texts() const { return unitTexts_; }

    // Every accepted monitor reply is handed to each observer, in the order they were added,
    // right after the reply has been decoded (inside the tick: observers must be quick).
    using SampleObserver = std::function<void(const MonitorSample&)>;
    void AddSampleObserver(SampleObserver observer) { observers_.push_back(std::move(observer)); }
    const MonitorSample& LastSample() const { return lastSample_; }

    // Link state, public as the plain fields it is; tests and the window read it.
    uint8_t LinkMode = ModeMonitor;
    uint8_t TickCount = 0;
    uint8_t RetryCount = 0;
    uint8_t BlockCommand = 0;
    uint8_t MessageTime = 0;
    uint16_t BusyCountdown = 0;
    bool ProgramOk = false;
    uint8_t SilentTicks = 0;
    uint8_t ReconnectTicks = 0;
    uint8_t AutoScanIndex = 0;
    uint8_t ComIndex = 0;
    bool QuietReopen = false;

    uint16_t LiveRpm = 0;
    uint16_t LiveTpsMv = 0;
    uint8_t LiveTpPercent = 0;

  private:
    void MonitorStep();
    void StatusTiming();
    void Watchdog();
    void SendMonitorRequest();
    void SendBlockFrame();
    void TransferTick();
    void HandleMonitorReply(const QByteArray& rx);
    MonitorSample DecodeMonitorReply(const QByteArray& rx) const;
    void ShowSample(const MonitorSample& sample);
    void HandleBlockReply(const QByteArray& rx);
    void AcceptBlock(); // advance after an accepted block below 7
    void SendFromReply();
    void TakeVersionBlock(const uint8_t* data);
    void BeginAutoVerify();
    void VersionMismatch(bool inRead);
    void SetStatus(const QString& text, Shade shade);
    void BeginTransfer(uint8_t mode, uint8_t command, MsgId text);
    QString VersionText(int unitVersion) const;
    // The image a transfer sends and compares: the side image while reading aside.
    const ParamImage& Source() const { return asideActive_ ? aside_ : image_; }
    void Report(TransferEvent::Kind kind, int block);
    void FinishReadBeforeWrite(bool readOk);

    Port& port_;
    ParamImage& image_;
    const MessageTable& messages_;
    LinkHost& host_;
    PortNames names_;
    LinkDisplay display_;
    UnitTexts unitTexts_;
    // A Read collects blocks 1..7 here and takes them into the image only when block 7 has
    // arrived, so a Read that fails half-way never leaves a mixture of two parameter sets.
    ParamImage readAside_;
    // Set when the reply handler sent the next block during this tick's poll, so that the
    // tick's own count starts with the next tick and resends stay four ticks apart.
    bool sentByReply_ = false;
    MonitorSample lastSample_;
    std::vector<SampleObserver> observers_;
    ParamImage aside_;
    bool asideActive_ = false;
    std::vector<TransferObserver> transferObservers_;
    FirstWriteGuard guard_;
    bool unitKept_ = false;  // what the unit held is kept (or the technician chose not to)
    bool guardRead_ = false; // the aside read under way is the one before the first write
};

} // namespace zyrk
