#include "ChartPlot.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace zyrk {

namespace {

// Points beyond the plot are drawn just outside it, so a curve leaves at the edge instead of
// sending the painter to far-away coordinates.
constexpr double kOutside = 4.0;
// A changed strip is repainted with this much room for the pen and its antialiasing.
constexpr int kDirtyMargin = 3;
constexpr int kCursorHalfWidth = 2;
// Room to the right of a marker line for its label, so a strip repaint there redraws it.
constexpr int kMarkerLabelPx = 48;
const QColor kMarkerColour(0x55, 0x33, 0x99);

} // namespace

ChartPlot::ChartPlot(QWidget* parent) : QWidget(parent) {
    // Every pixel comes from the image: nothing beneath needs painting first, and the mouse
    // goes through to the chart view (cursor, rubber band, wheel).
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ChartPlot::SetPens(const std::array<QPen, kTraceCount>& pens) {
    pens_ = pens;
}

void ChartPlot::SetBackground(const QColor& background, const QPen& grid) {
    background_ = background;
    grid_ = grid;
    grid_.setCosmetic(true);
}

void ChartPlot::SetScales(Scale time, double timeGrid, const std::array<Scale, kTraceCount>& values,
                          int valueTicks) {
    time_ = time;
    if (time_.hi <= time_.lo)
        time_.hi = time_.lo + 1;
    // No more grid lines than pixels, whatever the caller asks.
    timeGrid_ = std::max(timeGrid, (time_.hi - time_.lo) / std::max(width(), 1));
    values_ = values;
    for (Scale& s : values_) {
        if (s.hi <= s.lo)
            s.hi = s.lo + 1;
    }
    valueTicks_ = std::max(valueTicks, 2);
    Clear();
}

void ChartPlot::Clear() {
    continuing_ = false;
    inPiece_ = false;
    pieces_ = 0;
    points_ = 0;
    columns_ = {};
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    if (pixels.isEmpty()) {
        image_ = QImage();
        update();
        return;
    }
    if (image_.size() != pixels) {
        image_ = QImage(pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(dpr);
    }
    image_.fill(background_);
    QPainter painter(&image_);
    painter.setPen(grid_);
    const double w = width() - 1;
    const double h = height() - 1;
    for (double t = std::ceil(time_.lo / timeGrid_) * timeGrid_; t <= time_.hi; t += timeGrid_) {
        const double x = std::clamp(std::round(XOf(t)), 0.0, w);
        painter.drawLine(QPointF(x, 0), QPointF(x, h));
    }
    for (int i = 0; i < valueTicks_; ++i) {
        const double y = std::round(h * i / (valueTicks_ - 1));
        painter.drawLine(QPointF(0, y), QPointF(w, y));
    }
    painter.end();
    update();
}

double ChartPlot::XOf(double seconds) const {
    return (seconds - time_.lo) / (time_.hi - time_.lo) * width();
}

double ChartPlot::SecondsAt(double x) const {
    return time_.lo + x / std::max(width(), 1) * (time_.hi - time_.lo);
}

QPointF ChartPlot::PointOf(const ChartEntry& entry, int trace) const {
    const Scale& s = values_[static_cast<size_t>(trace)];
    const double value = entry.values[static_cast<size_t>(trace)];
    const double x = XOf(entry.seconds);
    const double y = height() - (value - s.lo) / (s.hi - s.lo) * height();
    return {std::clamp(x, -kOutside, width() + kOutside),
            std::clamp(y, -kOutside, height() + kOutside)};
}

void ChartPlot::Close(Column& column, QPolygonF& line) {
    if (!column.open)
        return;
    column.open = false;
    auto push = [&line](QPointF p) {
        if (line.isEmpty() || line.back() != p)
            line.append(p);
    };
    push(column.first);
    if (column.high - column.low >= 1.0) {
        // The column's whole span, ending at the extreme nearer its last point.
        const double mid = column.x + 0.5;
        const bool endLow =
            std::abs(column.last.y() - column.low) < std::abs(column.last.y() - column.high);
        push({mid, endLow ? column.high : column.low});
        push({mid, endLow ? column.low : column.high});
    }
    push(column.last);
}

void ChartPlot::Flush(std::array<QPolygonF, kTraceCount>& lines, QPainter& painter, QRectF& dirty) {
    for (int t = 0; t < kTraceCount; ++t) {
        QPolygonF& line = lines[static_cast<size_t>(t)];
        Close(columns_[static_cast<size_t>(t)], line);
        if (line.isEmpty())
            continue;
        painter.setPen(pens_[static_cast<size_t>(t)]);
        if (line.size() == 1)
            painter.drawPoint(line.front());
        else
            painter.drawPolyline(line);
        dirty |=
            line.boundingRect().adjusted(-kDirtyMargin, -kDirtyMargin, kDirtyMargin, kDirtyMargin);
        lastPoint_[static_cast<size_t>(t)] = line.back();
        continuing_ = true;
        line.clear();
    }
}

template <typename It> void ChartPlot::Draw(It from, It to) {
    if (from == to || image_.isNull())
        return;
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    std::array<QPolygonF, kTraceCount> lines;
    if (continuing_) {
        for (int t = 0; t < kTraceCount; ++t)
            lines[static_cast<size_t>(t)].append(lastPoint_[static_cast<size_t>(t)]);
    }
    QRectF dirty;
    for (It it = from; it != to; ++it) {
        const ChartEntry& e = *it;
        if (e.kind == ChartEntry::Gap) {
            Flush(lines, painter, dirty);
            continuing_ = false;
            inPiece_ = false;
            continue;
        }
        if (e.kind != ChartEntry::Point)
            continue;
        if (e.seconds >= time_.lo && e.seconds <= time_.hi) {
            if (!inPiece_) {
                inPiece_ = true;
                ++pieces_;
            }
            if (points_++ == 0)
                firstSeconds_ = e.seconds;
        }
        for (int t = 0; t < kTraceCount; ++t) {
            const QPointF p = PointOf(e, t);
            Column& c = columns_[static_cast<size_t>(t)];
            const int x = static_cast<int>(std::floor(p.x()));
            if (c.open && c.x == x) {
                c.last = p;
                c.low = std::min(c.low, p.y());
                c.high = std::max(c.high, p.y());
                continue;
            }
            Close(c, lines[static_cast<size_t>(t)]);
            c = Column{true, x, p, p, p.y(), p.y()};
        }
    }
    Flush(lines, painter, dirty);
    painter.end();
    const QRect strip = dirty.toAlignedRect() & rect();
    if (!strip.isEmpty())
        update(strip);
}

template void ChartPlot::Draw(std::deque<ChartEntry>::const_iterator,
                              std::deque<ChartEntry>::const_iterator);
template void ChartPlot::Draw(std::vector<ChartEntry>::const_iterator,
                              std::vector<ChartEntry>::const_iterator);

void ChartPlot::SetCursor(bool shown, double seconds) {
    auto strip = [this](double s) {
        const int x = static_cast<int>(std::lround(XOf(s)));
        return QRect(x - kCursorHalfWidth, 0, 2 * kCursorHalfWidth + 1, height());
    };
    if (cursorShown_)
        update(strip(cursorSeconds_));
    cursorShown_ = shown;
    cursorSeconds_ = seconds;
    if (shown)
        update(strip(seconds));
}

void ChartPlot::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect r = event->rect();
    if (image_.isNull()) {
        painter.fillRect(r, background_);
        return;
    }
    const qreal dpr = image_.devicePixelRatio();
    painter.drawImage(QRectF(r), image_,
                      QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
    if (markers_) {
        painter.setPen(QPen(kMarkerColour, 1, Qt::DashDotLine));
        for (const ChartEntry& m : *markers_) {
            if (m.seconds < time_.lo || m.seconds > time_.hi)
                continue;
            const double x = XOf(m.seconds);
            if (x < r.left() - kMarkerLabelPx || x > r.right() + kDirtyMargin)
                continue;
            painter.drawLine(QPointF(x, 0), QPointF(x, height()));
            painter.drawText(QPointF(x + 3, 12), MarkLabel(m));
        }
    }
    if (cursorShown_ && cursorSeconds_ >= time_.lo && cursorSeconds_ <= time_.hi) {
        painter.setPen(QPen(Qt::black, 1));
        const double x = std::round(XOf(cursorSeconds_));
        painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    }
}

} // namespace zyrk
