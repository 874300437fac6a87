#pragma once

#include "Platform.h"

#include <QString>
#include <array>

namespace zyrk {

constexpr int kPortCount = 21; // COM1 .. COM21

// Maps port number n (1..21) to a device path. On Windows port n is \\.\COMn; elsewhere a
// table that the settings may override, so a technician can point the tool at any adapter.
class PortNames {
  public:
    explicit PortNames(Platform platform = kHostPlatform);
    QString Path(int n) const;
    void SetPath(int n, const QString& path);
    static QString DefaultPath(int n, Platform platform = kHostPlatform);
    // The Windows form of port n, which the port label shows on every platform.
    static QString ComPath(int n);

  private:
    std::array<QString, kPortCount> paths_;
};

} // namespace zyrk
