#pragma once

#include "Port.h"

#include <QSerialPort>

namespace zyrk {

// The real line to the unit: 57600 baud, 8N1, no flow control.
class SerialPort : public Port {
  public:
    static constexpr int kBaud = 57600;
    // Bound on the wait for a frame to leave: a frame takes about 9 ms, and an adapter pulled
    // out mid-frame must not hold the window.
    static constexpr int kTxWaitMs = 100;
    static constexpr qint64 kInputQueue = 10000;

    SerialPort();
    ~SerialPort() override;
    bool Open(const QString& path) override;
    void Close() override;
    bool IsOpen() const override;
    qint64 BytesWaiting() override;
    QByteArray Read(qint64 max) override;
    void Write(const QByteArray& frame) override;
    PortOpenFailure LastOpenError() const override { return lastOpenError_; }

    // After a failed write (the adapter pulled out, say) nothing more is written until the
    // port is opened again: the unsent frames are dropped instead of being retried at the
    // full speed of the event loop.
    bool WriteStopped() const { return writeStopped_; }
    // Bytes that Qt still holds for sending.
    qint64 Queued() const { return port_.bytesToWrite(); }

  private:
    void StopWriting();

    QSerialPort port_;
    bool writeStopped_ = false;
    PortOpenFailure lastOpenError_;
};

} // namespace zyrk
