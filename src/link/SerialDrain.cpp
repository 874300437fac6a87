#include "SerialDrain.h"

#include <QElapsedTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace zyrk {

#ifdef Q_OS_WIN

bool DrainTransmit(NativePortHandle handle, int) {
    // The bytes are with the driver already (the caller waited for that, bounded), so the
    // flush waits for one frame at most.
    return FlushFileBuffers(handle) != 0;
}

#else

bool DrainTransmit(NativePortHandle handle, int budgetMs) {
    constexpr useconds_t kPollUs = 500;
    // tcdrain itself has no time-out: a stuck or pulled adapter could hold it for ever. So
    // first watch the driver's queue empty within the budget, and drain only then, when all
    // that is left is what the hardware holds.
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        int queued = 0;
        if (ioctl(handle, TIOCOUTQ, &queued) != 0)
            return false;
        if (queued <= 0)
            break;
        if (timer.elapsed() >= budgetMs)
            return false;
        usleep(kPollUs);
    }
    return tcdrain(handle) == 0;
}

#endif

} // namespace zyrk
