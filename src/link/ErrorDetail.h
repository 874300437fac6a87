#pragma once

#include "Platform.h"
#include "Port.h"

#include <QSerialPort>
#include <QString>

namespace zyrk {

// The texts that go with a failure: the message itself keeps its exact words, and these name
// the device or file and the reason, so the user knows what to do next.

// Sorts a failed open of a serial port. On Linux the serial-port class reports a device it
// may not open and one that another program holds (its lock, or the exclusive flag) alike, so
// a device we could open as far as its permissions go counts as busy. On Windows "access
// denied" on a port is what another program holding it gives.
PortError ClassifyOpenError(QSerialPort::SerialPortError error, bool deviceAccessible,
                            Platform platform = kHostPlatform);
// The failure of an open that just went wrong, with the permissions of path looked at now.
PortOpenFailure DescribeOpenFailure(QSerialPort::SerialPortError error, const QString& systemText,
                                    const QString& path);

// The detail under "Com opening error!": the device, what went wrong and, for a device the
// user may not open on Linux, the hint about the dialout group.
QString PortOpenDetail(const QString& path, const PortOpenFailure& failure, int language,
                       Platform platform = kHostPlatform);

// The detail under "Open file error!": the file and the reason, which is either the system's
// (systemText) or, for a file that opened but did not read as a parameter file, ours.
QString FileErrorDetail(const QString& path, const QString& systemText, bool damaged, int language);

// What the status bar says while the automatic search tries port n at path.
QString SearchingText(int n, const QString& path, int language);

} // namespace zyrk
