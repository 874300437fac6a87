#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace zyrk {

// Where a window of the given frame size goes when asked to sit at topLeft: there, if that
// corner lies on one of the screens' available areas, with the frame's top-left corner moved
// into that area so that title bar and menu bar can be reached; a corner on no screen at all
// is recentred on home (the primary screen's available area).
QPoint KeepOnScreen(QPoint topLeft, QSize frame, const QList<QRect>& available, QRect home);

} // namespace zyrk
