#include "PortNames.h"

namespace zyrk {

PortNames::PortNames(Platform platform) {
    for (int n = 1; n <= kPortCount; ++n)
        paths_[static_cast<size_t>(n - 1)] = DefaultPath(n, platform);
}

QString PortNames::ComPath(int n) {
    return QStringLiteral("\\\\.\\COM%1").arg(n);
}

QString PortNames::DefaultPath(int n, Platform platform) {
    if (platform == Platform::Windows)
        return ComPath(n);
    constexpr int kUsbPorts = 8;
    constexpr int kAcmPorts = 8;
    if (n <= kUsbPorts)
        return QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
    if (n <= kUsbPorts + kAcmPorts)
        return QStringLiteral("/dev/ttyACM%1").arg(n - 1 - kUsbPorts);
    return QStringLiteral("/dev/ttyS%1").arg(n - 1 - kUsbPorts - kAcmPorts);
}

QString PortNames::Path(int n) const {
    if (n < 1 || n > kPortCount)
        return ComPath(n);
    return paths_[static_cast<size_t>(n - 1)];
}

void PortNames::SetPath(int n, const QString& path) {
    if (n >= 1 && n <= kPortCount && !path.isEmpty())
        paths_[static_cast<size_t>(n - 1)] = path;
}

} // namespace zyrk
