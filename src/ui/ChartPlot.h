#pragma once

#include "ChartFeed.h"

#include <QImage>
#include <QPen>
#include <QWidget>
#include <array>
#include <deque>

namespace zyrk {

// The inside of the chart's plot area: background, grid, curves, markers and the cursor,
// laid over the chart view, which draws the axes and the legend around it.
//
// The curves live in an image. New points are drawn onto it as they come and only the strip
// they touch is repainted, so a monitor reply costs a few line segments and a small copy to
// the screen; the image is drawn afresh only when the axes move (a page step of the time
// axis, a zoom, a new engine speed scale, a resize). Each curve is thinned to at most four
// points per pixel column (first, lowest, highest, last), so a whole log of any length draws
// in time proportional to the plot's width and still shows every peak.
class ChartPlot : public QWidget {
  public:
    struct Scale {
        double lo = 0;
        double hi = 1;
    };

    explicit ChartPlot(QWidget* parent);

    void SetPens(const std::array<QPen, kTraceCount>& pens);
    void SetBackground(const QColor& background, const QPen& grid);
    // Where the curves go: the time axis with a grid line at every multiple of timeGrid
    // seconds, and each curve's value axis. All value axes share the number of ticks, so one
    // set of grid lines serves them.
    void SetScales(Scale time, double timeGrid, const std::array<Scale, kTraceCount>& values,
                   int valueTicks);
    // Starts the picture afresh: background and grid, no curves.
    void Clear();
    // Draws the entries after what is drawn, continuing each curve; a gap breaks them all.
    // Repaints only the strip that changed.
    template <typename It> void Draw(It from, It to);

    void SetMarkers(const std::deque<ChartEntry>* markers) { markers_ = markers; }
    void SetCursor(bool shown, double seconds);

    Scale TimeScale() const { return time_; }
    double SecondsAt(double x) const;
    double XOf(double seconds) const;

    // What is drawn since the last Clear, inside the time axis: for tests and the bench.
    int Pieces() const { return pieces_; }
    int Points() const { return points_; }
    double FirstSeconds() const { return points_ > 0 ? firstSeconds_ : -1; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // A curve's points that fall into one pixel column, kept as first, lowest, highest, last.
    struct Column {
        bool open = false;
        int x = 0;
        QPointF first;
        QPointF last;
        double low = 0;
        double high = 0;
    };

    QPointF PointOf(const ChartEntry& entry, int trace) const;
    void Flush(std::array<QPolygonF, kTraceCount>& lines, QPainter& painter, QRectF& dirty);
    static void Close(Column& column, QPolygonF& line);

    std::array<QPen, kTraceCount> pens_;
    QColor background_ = Qt::white;
    QPen grid_;
    Scale time_;
    double timeGrid_ = 1;
    std::array<Scale, kTraceCount> values_;
    int valueTicks_ = 2;
    QImage image_;

    // Where each curve stopped, so the next points continue it.
    std::array<Column, kTraceCount> columns_;
    std::array<QPointF, kTraceCount> lastPoint_;
    bool continuing_ = false;
    bool inPiece_ = false;
    int pieces_ = 0;
    int points_ = 0;
    double firstSeconds_ = 0;

    const std::deque<ChartEntry>* markers_ = nullptr;
    bool cursorShown_ = false;
    double cursorSeconds_ = 0;
};

} // namespace zyrk
