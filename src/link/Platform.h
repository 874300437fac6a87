#pragma once

namespace zyrk {

// The few things that differ on Windows (port names, the settings folder, the test-mode
// marker, the drain after a frame) each take the platform as a parameter that defaults to the
// one we are built for. So the Windows forms are plain functions that the tests run on any
// machine, and this is the one place that asks the compiler which platform it is.
enum class Platform { Windows, Unix };

#ifdef Q_OS_WIN
inline constexpr Platform kHostPlatform = Platform::Windows;
#else
inline constexpr Platform kHostPlatform = Platform::Unix;
#endif

} // namespace zyrk
