#include "Placement.h"

#include <algorithm>

namespace zyrk {

namespace {
// The corner moved into area as far as the frame allows; a frame larger than the area keeps
// its top-left corner at the area's.
QPoint Inside(QPoint corner, QSize frame, QRect area) {
    const int x = std::max(area.left(), std::min(corner.x(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(corner.y(), area.bottom() + 1 - frame.height()));
    return {x, y};
}
} // namespace

QPoint KeepOnScreen(QPoint topLeft, QSize frame, const QList<QRect>& available, QRect home) {
    for (const QRect& area : available) {
        // A corner just above a screen (the centring on a short screen gives -32) belongs to
        // the screen below it.
        const QRect reach = area.adjusted(0, -frame.height(), 0, 0);
        if (reach.contains(topLeft))
            return Inside(topLeft, frame, area);
    }
    if (home.isEmpty())
        return topLeft;
    const QPoint centred(home.left() + (home.width() - frame.width()) / 2,
                         home.top() + (home.height() - frame.height()) / 2);
    return Inside(centred, frame, home);
}

} // namespace zyrk
