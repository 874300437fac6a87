#include "SerialPort.h"

#include "ErrorDetail.h"
#include "SerialDrain.h"

#include <QElapsedTimer>
#include <algorithm>

namespace zyrk {

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::Open(const QString& path) {
    Close();
    writeStopped_ = false;
    port_.setPortName(path);
    lastOpenError_ = {};
    if (!port_.open(QIODevice::ReadWrite)) {
        lastOpenError_ = DescribeOpenFailure(port_.error(), port_.errorString(), path);
        return false;
    }
    // Configuration failures are not fatal: the watchdog and the retries cover a port
    // that does not work.
    port_.setBaudRate(kBaud);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.clear(QSerialPort::AllDirections);
    port_.clearError();
    return true;
}

void SerialPort::Close() {
    if (port_.isOpen()) {
        port_.clear(QSerialPort::Input);
        port_.close();
    }
    port_.clearError();
}

bool SerialPort::IsOpen() const {
    return port_.isOpen();
}

qint64 SerialPort::BytesWaiting() {
    if (!port_.isOpen())
        return 0;
    // Pull in whatever the driver holds without waiting, so that the count is current even
    // when no event loop has run since the last tick (tests, benchmarks).
    port_.waitForReadyRead(0);
    port_.clearError();
    return port_.bytesAvailable();
}

QByteArray SerialPort::Read(qint64 max) {
    if (!port_.isOpen())
        return {};
    return port_.read(max);
}

void SerialPort::Write(const QByteArray& frame) {
    if (!port_.isOpen() || writeStopped_)
        return;
    QElapsedTimer timer;
    timer.start();
    const bool handed = port_.write(frame) == frame.size() && port_.waitForBytesWritten(kTxWaitMs);
    const QSerialPort::SerialPortError error = port_.error();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
        StopWriting();
        return;
    }
    if (!handed) {
        // Still not with the driver after the whole wait: drop it rather than let frames pile
        // up; the transfer sends again and the monitor asks again.
        port_.clear(QSerialPort::Output);
        port_.clearError();
        return;
    }
    DrainTransmit(port_.handle(), std::max<int>(0, kTxWaitMs - static_cast<int>(timer.elapsed())));
    port_.clearError();
}

void SerialPort::StopWriting() {
    writeStopped_ = true;
    port_.clear(QSerialPort::Output);
    port_.clearError();
}

} // namespace zyrk
