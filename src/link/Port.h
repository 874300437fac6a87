#pragma once

#include <QByteArray>
#include <QString>

namespace zyrk {

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
};

} // namespace zyrk
