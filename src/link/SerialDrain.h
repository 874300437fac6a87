#pragma once

#include <QtGlobal>

namespace zyrk {

#ifdef Q_OS_WIN
using NativePortHandle = void*; // HANDLE
#else
using NativePortHandle = int; // file descriptor
#endif

// Waits until the bytes handed to the driver have left the line (tcdrain on POSIX,
// FlushFileBuffers on Windows), for at most budgetMs where the platform lets it be bounded.
// False when the wait failed or ran out. The one place that knows how each platform drains.
bool DrainTransmit(NativePortHandle handle, int budgetMs);

} // namespace zyrk
