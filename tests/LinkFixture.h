#pragma once

#include "Limits.h"
#include "Link.h"
#include "SimPort.h"
#include "SimUnit.h"

#include <QStringList>

namespace zyrk {

// The owner side of a link as the window would be, recording what it was asked to do.
class FakeHost : public LinkHost {
  public:
    explicit FakeHost(ParamImage& image) : image_(image) {}
    void ApplyLimits() override {
        ++limits;
        ApplyAxisLimits(image_);
    }
    void ShowImage() override { ++shows; }
    void ShowMessage(const QString& text) override { messages << text; }

    int limits = 0;
    int shows = 0;
    QStringList messages;

  private:
    ParamImage& image_;
};

// A link wired to the in-process simulated unit, in English, with the unit on COM1.
struct LinkRig {
    SimUnit unit;
    SimPort port{unit};
    ParamImage image;
    MessageTable messages;
    FakeHost host{image};
    Link link{port, image, messages, host};

    LinkRig() {
        messages.Fill(LangEnglish);
        link.ComIndex = 0;
        link.SilentTicks = 18;
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i)
            link.Tick();
    }
    // Ticks until the link is back in monitor mode, at most `limit` ticks; returns the ticks
    // used, or -1.
    int RunTransfer(int limit = 200) {
        for (int t = 1; t <= limit; ++t) {
            link.Tick();
            if (link.LinkMode == ModeMonitor)
                return t;
        }
        return -1;
    }
    // Command bytes of every frame written so far.
    QList<int> Commands() const {
        QList<int> out;
        for (const QByteArray& f : port.written)
            out << static_cast<uint8_t>(f[0]);
        return out;
    }
};

// A monitor reply with the given fields; the rest zero, version 56, good check byte.
inline QByteArray MonitorFrame(int rpm = 0, int tpsCount = 0, int supplyCount = 260, int tp = 0,
                               int version = 56) {
    uint8_t d[kFrameData] = {};
    auto word = [&d](int at, int v) {
        d[at - 1] = static_cast<uint8_t>(v & 0xFF);
        d[at] = static_cast<uint8_t>(v >> 8);
    };
    word(1, rpm);
    word(3, tpsCount);
    word(5, supplyCount);
    d[41 - 1] = static_cast<uint8_t>(tp);
    d[50 - 1] = static_cast<uint8_t>(version);
    return MakeFrame(kCmdMonitorReply, d);
}

} // namespace zyrk
