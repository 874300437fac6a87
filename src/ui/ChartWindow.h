#pragma once

#include "ChartFeed.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

class QButtonGroup;
class QChart;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;

namespace zyrk {

class ChartPlot;
class ChartView;

// The live chart: engine speed, throttle, supply and both servos' desired and measured
// positions against time, from the live feed or from a log file opened again. A window of
// its own, never modal. It draws on its own timer, at most four times a second and only when
// something is new, so the tick that feeds it never waits for a drawing.
//
// Qt Charts draws the axes and the legend; the curves are drawn by a `ChartPlot` laid over
// the plot area, which adds the new points to its picture and repaints only that strip. The
// time axis therefore moves in steps, a third of the span at a time (the last 60 s show on
// an axis 80 s wide), and everything is drawn afresh only at such a step.
class ChartWindow : public QWidget {
    Q_OBJECT

  public:
    enum Span : int { Last60s, Last5min, WholeRun };
    static constexpr int kRedrawMs = 250;

    explicit ChartWindow(const ChartFeed& live, QWidget* parent = nullptr);
    ~ChartWindow() override;

    void SetLanguage(int language);
    // Shows a log file's rows (name for the caption); Live goes back to the live feed.
    void ShowLog(ChartFeed feed, const QString& name);
    void ShowLive();
    bool ViewingLog() const { return file_ != nullptr; }

    void SetSpan(Span span);
    Span CurrentSpan() const { return span_; }
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    void ZoomOut();
    bool Zoomed() const { return zoomed_; }
    // Zooms the time axis by factor (below 1 zooms in) around the time at seconds.
    void ZoomAround(double seconds, double factor);

    // Brings the curves up to date with the feed; the timer calls it while the window shows.
    void Refresh();

    // The cursor: a vertical line at a time and every value there, read out below the chart.
    void SetCursor(double seconds);
    QString Readout() const;
    QString ReadoutAt(double seconds) const;

    // What is drawn, for tests and the bench: unbroken pieces of each curve, the points in
    // them and the time of the first, all within the time axis.
    int Segments(int trace) const;
    int PointsShown(int trace) const;
    double FirstShown(int trace) const;
    std::pair<double, double> TimeRange() const;
    QChart* Chart() const { return chart_; }
    ChartPlot* Plot() const { return plot_; }
    const ChartFeed& Source() const;

  signals:
    void OpenLogRequested();

  private:
    friend class ChartView;
    void BuildTraces();
    void Rebuild();
    template <typename It> void NoteRpm(It from, It to);
    template <typename It> void AddNew(It from, It to);
    // Sets the axes for what is new; true when they moved and the picture must be redrawn.
    bool ApplyRange();
    void Redraw();
    void PlacePlot();
    void UpdateCaption();
    const ChartEntry* NearestPoint(double seconds) const;

    const ChartFeed& live_;
    std::unique_ptr<ChartFeed> file_;
    QString fileName_;
    int language_ = 0;
    Span span_ = Last60s;
    bool paused_ = false;
    bool zoomed_ = false;
    bool settingRange_ = false;

    QChart* chart_ = nullptr;
    ChartView* view_ = nullptr;
    QValueAxis* axisTime_ = nullptr;
    QValueAxis* axisRpm_ = nullptr;
    QValueAxis* axisPercent_ = nullptr;
    QValueAxis* axisVolt_ = nullptr;
    QValueAxis* axisMv_ = nullptr;
    // Empty series: they carry the legend and tie the curves' colours to the axes.
    std::array<QLineSeries*, kTraceCount> series_{};
    ChartPlot* plot_ = nullptr;
    QButtonGroup* spans_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QPushButton* zoomOutButton_ = nullptr;
    QPushButton* liveButton_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QLabel* readout_ = nullptr;
    QTimer timer_;

    // What of the feed is drawn: the next sequence number of the recent entries, or how many
    // overview entries, and the overview's generation they came from.
    uint64_t drawnSeq_ = 0;
    size_t drawnOverview_ = 0;
    int drawnGeneration_ = -1;
    uint64_t markerShown_ = 0; // the feed's mark count when the plot was last painted
    float rpmMax_ = 0;
    bool cursorSet_ = false;
    double cursorSeconds_ = 0;
};

} // namespace zyrk
