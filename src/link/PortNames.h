#pragma once

#include <QString>
#include <array>

namespace zyrk {

constexpr int kPortCount = 21; // COM1 .. COM21

// Maps port number n (1..21) to a device path. On Windows port n is \\.\COMn; elsewhere a
// table that the settings may override, so a technician can point the tool at any adapter.
class PortNames {
  public:
    PortNames();
    QString Path(int n) const;
    void SetPath(int n, const QString& path);
    static QString DefaultPath(int n);
    // The Windows form of port n, which the port label shows on every platform.
    static QString ComPath(int n);

  private:
    std::array<QString, kPortCount> paths_;
};

} // namespace zyrk
