// The link over many ticks, on a port that an honest simulated unit and fuzz bytes share.
//
// Input: one action a tick, its kind in the low four bits of a byte, some followed by bytes
// of their own:
//   0..5  the unit answers the frames the tool wrote
//   6     nothing arrives (the frames are lost)
//   7     the unit answers a tick late
//   8 n   n fuzz bytes arrive (taken from the input)
//   9 p x the unit answers with byte p of its reply XORed with x (x = 0 means 1)
//  10     the unit's answer arrives twice
//  11 k   the unit's answer arrives split: k bytes now, the rest at the next tick
//  12 c   the user gives a command: Read, Verify or Program (c modulo 3)
//  13     the adapter is pulled: the port closes and cannot be reopened
//  14     the adapter is put back
//  15 f   the unit misbehaves (f selects which way, or back to honest)
// When the input ends, 25 silent ticks follow so that a transfer under way runs out.
//
// Rules, checked after every tick against what the port delivered that tick (a reply that
// confirms is one with a good check byte, the reply command of the block under way, and for
// Program and Verify the block as the image holds it; Program's block 0 is the unit's own):
// - the transfer moves on only at a confirming reply, to the block that follows, and a
//   confirming reply always moves it on; otherwise it ends only with the red error text;
// - "Verify: OK" appears only at a confirmed block 7 of a verify, and "Program device: OK"
//   only after a program confirmed up to block 7 and a verify confirmed after it;
// - image blocks 1..7 change only when a Read's block 7 is confirmed, and then hold the
//   blocks that Read confirmed (with the engine-speed axes brought into shape); block 0
//   changes only at a confirmed block 0 of a Read or Program, to what arrived;
// - at most one frame goes out a tick, and no block goes out more than five times in a row.

#include "Frame.h"
#include "FuzzCheck.h"
#include "Limits.h"
#include "Link.h"
#include "Messages.h"
#include "ParamImage.h"
#include "Port.h"
#include "SimUnit.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <cstdint>
#include <optional>

using namespace zyrk;

namespace {

constexpr int kTailTicks = 25;
constexpr int kMaxTicks = 5000;
constexpr uint8_t kNoCommand = 0xFF;

// A port whose far end the fuzz target plays; it records what the link does with it.
class FuzzPort : public Port {
  public:
    bool Open(const QString&) override {
        open_ = plugged;
        rx.clear();
        return open_;
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    qint64 BytesWaiting() override { return open_ ? rx.size() : 0; }
    QByteArray Read(qint64 max) override {
        const QByteArray out = open_ ? rx.left(max) : QByteArray();
        rx.remove(0, out.size());
        reads << out;
        return out;
    }
    void Write(const QByteArray& frame) override {
        ++writeCalls;
        sent << frame;
        if (open_)
            requests << frame;
    }
    // Pulled out: the device is gone until it is put back.
    void Pull() {
        plugged = false;
        open_ = false;
    }

    bool plugged = true;
    QByteArray rx;
    QList<QByteArray> reads;    // what each Read returned this tick
    QList<QByteArray> sent;     // every Write this tick
    QList<QByteArray> requests; // frames that reached the line and await the unit
    int writeCalls = 0;

  private:
    bool open_ = false;
};

class Host : public LinkHost {
  public:
    explicit Host(ParamImage& image) : image_(image) {}
    void ApplyLimits() override { ApplyAxisLimits(image_); }
    void ShowImage() override {}
    void ShowMessage(const QString&) override {}

  private:
    ParamImage& image_;
};

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
    QByteArray Take(size_t n) {
        n = std::min(n, size_ - at_);
        const QByteArray out(reinterpret_cast<const char*>(data_ + at_), static_cast<qsizetype>(n));
        at_ += n;
        return out;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

struct State {
    uint8_t mode = ModeMonitor;
    uint8_t command = 0;
    bool operator==(const State&) const = default;
};

bool GoodCheck(const QByteArray& rx) {
    if (rx.size() < kFrameSize)
        return false;
    uint8_t x = 0xFF;
    for (int i = 0; i < kFrameSize; ++i)
        x ^= static_cast<uint8_t>(rx[i]);
    return x == 0;
}

const uint8_t* DataOf(const QByteArray& rx) {
    return reinterpret_cast<const uint8_t*>(rx.constData()) + 1;
}

// Whether rx confirms the block under way in state s, the image being as it was.
bool Confirms(const State& s, const QByteArray& rx, const ParamImage& image) {
    const int b = s.command & kBlockMask;
    if (s.mode == ModeMonitor || b >= kBlockCount || !GoodCheck(rx))
        return false;
    if (static_cast<uint8_t>(rx[0]) != (s.command ^ kReplyFlag))
        return false;
    if (s.mode == ModeRead || (s.mode == ModeProgram && b == 0))
        return true;
    return image.BlockEquals(b, DataOf(rx));
}

class Rig {
  public:
    Rig() {
        messages.Fill(LangEnglish);
        verifyOk = messages[MsgVerify] + QStringLiteral(" OK");
        programOk = messages[MsgProgramDevice] + QStringLiteral(" OK");
        // The tool's image is always in shape (every change applies the rules), and unlike the
        // unit's in every settings block, so a Verify before a Program must fail.
        image = unit.store;
        for (int i = kBlockSize; i < kImageSize; ++i)
            image.Set(i, static_cast<uint8_t>(image.At(i) + 1 + i % 7));
        ApplyAxisLimits(image);
        link.ComIndex = 0;
        link.SilentTicks = kSilentLimit;
        link.OpenPort();
    }

    void Command(uint8_t which) {
        switch (which % 3) {
        case 0:
            link.StartRead();
            break;
        case 1:
            link.StartVerify();
            break;
        default:
            link.StartProgramming();
            break;
        }
        // A command restarts the transfer: nothing of the last one counts any more.
        run_ = 0;
        lastSent_ = kNoCommand;
        readBlocks_ = {};
        programToBlock7_ = false;
        programConfirmed_ = false;
    }

    // The unit's replies to the frames that reached the line.
    QByteArray Answers() {
        QByteArray out;
        for (const QByteArray& frame : port.requests)
            out += unit.Answer(frame);
        port.requests.clear();
        return out;
    }

    void Tick() {
        const State pre{link.LinkMode, link.BlockCommand};
        const ParamImage imageBefore = image;
        const QString textBefore = link.Display().statusText;
        port.reads.clear();
        port.sent.clear();
        port.writeCalls = 0;

        link.Tick();

        const State post{link.LinkMode, link.BlockCommand};
        FUZZ_CHECK(port.writeCalls <= 1, "at most one frame goes out a tick");
        for (const QByteArray& frame : port.sent)
            CountSend(static_cast<uint8_t>(frame[0]));

        std::optional<QByteArray> confirming;
        for (const QByteArray& rx : port.reads) {
            if (Confirms(pre, rx, imageBefore))
                confirming = rx;
        }
        CheckStep(pre, post, confirming);
        CheckImage(pre, imageBefore, confirming);
        CheckOk(pre, textBefore, confirming);
    }

    SimUnit unit;
    FuzzPort port;
    ParamImage image;
    MessageTable messages;
    Host host{image};
    Link link{port, image, messages, host};
    QString verifyOk;
    QString programOk;

  private:
    void CountSend(uint8_t command) {
        if (command == kCmdMonitor) {
            run_ = 0;
            lastSent_ = kNoCommand;
            return;
        }
        run_ = command == lastSent_ ? run_ + 1 : 1;
        lastSent_ = command;
        FUZZ_CHECK(run_ <= kMaxSends, "a block goes out at most five times");
    }

    void CheckStep(const State& pre, const State& post, const std::optional<QByteArray>& rx) {
        if (pre.mode == ModeMonitor) {
            FUZZ_CHECK(post.mode == ModeMonitor, "only a command starts a transfer");
            return;
        }
        const int b = pre.command & kBlockMask;
        if (!rx) {
            if (post == pre)
                return;
            const MsgId error = pre.mode == ModeProgram  ? MsgProgramError
                                : pre.mode == ModeVerify ? MsgVerifyError
                                                         : MsgReadError;
            FUZZ_CHECK(post.mode == ModeMonitor && link.Display().statusShade == Shade::Red &&
                           link.Display().statusText == messages[error],
                       "without a confirming reply a transfer only stays or fails in red");
            return;
        }
        FUZZ_CHECK(post != pre, "a confirming reply moves the transfer on");
        const bool versionOk = static_cast<uint8_t>((*rx)[1 + off::UnitVersion]) == kToolVersion;
        State next{pre.mode, static_cast<uint8_t>(pre.command + 1)};
        if (b == 0 && pre.mode != ModeVerify && !versionOk)
            next = State{ModeMonitor, pre.command};
        else if (b == kBlockCount - 1)
            next = pre.mode == ModeVerify ? State{ModeMonitor, pre.command}
                                          : State{ModeVerify, kCmdReadFlag | 1};
        FUZZ_CHECK(post == next, "a confirmed block leads to the next one");
        if (pre.mode == ModeRead && b > 0)
            readBlocks_[static_cast<size_t>(b)] = rx->mid(1, kBlockSize);
        if (pre.mode == ModeProgram && b == kBlockCount - 1)
            programToBlock7_ = true;
        if (pre.mode == ModeVerify && b == kBlockCount - 1)
            programConfirmed_ = programToBlock7_;
    }

    void CheckImage(const State& pre, const ParamImage& before,
                    const std::optional<QByteArray>& rx) {
        const int b = pre.command & kBlockMask;
        const bool block0Step = rx && b == 0 && pre.mode != ModeVerify;
        if (image.GetBlock(0) != before.GetBlock(0))
            FUZZ_CHECK(block0Step, "block 0 changes only at a Read's or Program's block 0");
        if (block0Step)
            FUZZ_CHECK(image.BlockEquals(0, DataOf(*rx)), "block 0 takes the unit's version block");

        const bool readDone = rx && pre.mode == ModeRead && b == kBlockCount - 1;
        if (!readDone) {
            for (int k = 1; k < kBlockCount; ++k)
                FUZZ_CHECK(image.GetBlock(k) == before.GetBlock(k),
                           "blocks 1..7 change only when a Read's block 7 arrives");
            return;
        }
        ParamImage expected = image;
        for (int k = 1; k < kBlockCount; ++k) {
            const QByteArray& got = readBlocks_[static_cast<size_t>(k)];
            FUZZ_CHECK(got.size() == kBlockSize, "a Read takes only blocks it confirmed");
            expected.SetBlock(k, reinterpret_cast<const uint8_t*>(got.constData()));
        }
        ApplyAxisLimits(expected);
        FUZZ_CHECK(image == expected, "a finished Read holds the blocks it read");
    }

    void CheckOk(const State& pre, const QString& textBefore, const std::optional<QByteArray>& rx) {
        const QString& text = link.Display().statusText;
        if (text == textBefore)
            return;
        const bool verifyDone =
            rx && pre.mode == ModeVerify && (pre.command & kBlockMask) == kBlockCount - 1;
        if (text == verifyOk)
            FUZZ_CHECK(verifyDone, "\"Verify: OK\" only at a confirmed block 7 of a verify");
        if (text == programOk)
            FUZZ_CHECK(programConfirmed_,
                       "\"Program device: OK\" only after a confirmed program and verify");
    }

    int run_ = 0;
    uint8_t lastSent_ = kNoCommand;
    std::array<QByteArray, kBlockCount> readBlocks_{};
    bool programToBlock7_ = false;
    bool programConfirmed_ = false;
};

void Misbehave(SimUnit& unit, uint8_t f) {
    switch (f % 5) {
    case 0:
        unit.faults = SimUnit::Faults();
        break;
    case 1:
        unit.faults.version = (f & 0x10) != 0 ? kToolVersion - 1 : kToolVersion;
        break;
    case 2: {
        const int block = (f >> 3) % kBlockCount;
        unit.faults.changedBlock = block == 0 ? -1 : block;
        break;
    }
    case 3:
        unit.faults.previousBlock = !unit.faults.previousBlock;
        break;
    default:
        unit.faults.spoilCheck = !unit.faults.spoilCheck;
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Rig rig;
    Input input(data, size);
    QByteArray late; // bytes that arrive at the next tick
    int ticks = 0;
    int tail = 0;
    while (ticks < kMaxTicks && tail < kTailTicks) {
        rig.port.rx += late;
        late.clear();
        if (input.Done()) {
            rig.port.requests.clear();
            ++tail;
        } else {
            const uint8_t action = input.Next() & 0x0F;
            if (action <= 5) {
                rig.port.rx += rig.Answers();
            } else if (action == 6) {
                rig.port.requests.clear();
            } else if (action == 7) {
                late = rig.Answers();
            } else if (action == 8) {
                rig.port.rx += input.Take(input.Next());
            } else if (action == 9) {
                QByteArray reply = rig.Answers();
                const uint8_t at = input.Next();
                const uint8_t x = input.Next();
                if (!reply.isEmpty())
                    reply[at % reply.size()] =
                        static_cast<char>(reply[at % reply.size()] ^ (x | 1));
                rig.port.rx += reply;
            } else if (action == 10) {
                const QByteArray reply = rig.Answers();
                rig.port.rx += reply + reply;
            } else if (action == 11) {
                const QByteArray reply = rig.Answers();
                const qsizetype k = input.Next() % (reply.size() + 1);
                rig.port.rx += reply.left(k);
                late = reply.mid(k);
            } else if (action == 12) {
                rig.Command(input.Next());
            } else if (action == 13) {
                rig.port.Pull();
            } else if (action == 14) {
                rig.port.plugged = true;
            } else {
                Misbehave(rig.unit, input.Next());
            }
        }
        rig.Tick();
        ++ticks;
    }
    return 0;
}
