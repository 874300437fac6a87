#include "SimPort.h"

namespace zyrk {

bool SimPort::Open(const QString& path) {
    opened << path;
    open_ = existing.isEmpty() || existing.contains(path);
    if (open_)
        rx_.clear();
    return open_;
}

void SimPort::Close() {
    open_ = false;
}

QByteArray SimPort::Read(qint64 max) {
    const QByteArray out = rx_.left(max);
    rx_.remove(0, out.size());
    return out;
}

void SimPort::Write(const QByteArray& frame) {
    if (!open_)
        return;
    written << frame;
    rx_ += unit_.Answer(frame);
}

} // namespace zyrk
