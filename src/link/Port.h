#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace zyrk {

// Why the last Open failed, so that the message can say what to do about it.
enum class PortError : uint8_t { None, NotFound, PermissionDenied, Busy, Other };
struct PortOpenFailure {
    PortError kind = PortError::None;
    QString systemText; // the system's own words, as they came
};

// A transport that knows nothing of the protocol. Reads never wait: they only take what is
// already queued. Write sends one frame and then waits, bounded, until it has left.
class Port {
  public:
    virtual ~Port() = default;
    virtual bool Open(const QString& path) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual qint64 BytesWaiting() = 0;
    virtual QByteArray Read(qint64 max) = 0;
    virtual void Write(const QByteArray& frame) = 0;
    // After an Open that failed: why. Ports that cannot tell say nothing.
    virtual PortOpenFailure LastOpenError() const { return {}; }
};

} // namespace zyrk
