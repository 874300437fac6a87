#include "ChartWindow.h"

#include "ChartPlot.h"
#include "LogTexts.h"
#include "Recorder.h"

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QRubberBand>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace zyrk {

namespace {

constexpr double kSpanSeconds[] = {60.0, 300.0};
constexpr double kNoAnswerSeconds = static_cast<double>(kNoAnswerMs) / 1000.0;
constexpr double kMinWholeSeconds = 10.0;
constexpr float kRpmStep = 1000.0f;
constexpr float kRpmFloor = 2000.0f;
constexpr double kPercentMax = 100.0;
constexpr double kVoltMax = 20.0;
constexpr double kMvMax = 5000.0;
constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 640;
// One pixel: the painter draws antialiased lines of that width several times faster than
// thicker ones, and a redraw of the five-minute view is thousands of them.
constexpr qreal kPenWidth = 1.0;
constexpr int kValueTicks = 5;
// The time axis of the last-minute and five-minute views: the span and a third more, moved
// a third of the span at a time.
constexpr double kSpanStep = 1.0 / 3.0;
// The time axis is labelled at round times, about this many along it.
constexpr double kTimeLabels = 8.0;
constexpr double kLabelSteps[] = {1.0, 2.0, 2.5, 5.0, 10.0};
// The whole run's axis grows by steps to the next of these times a power of ten, with room
// for another quarter of the run.
constexpr double kNiceSteps[] = {1.0, 1.5, 2.0, 3.0, 5.0, 7.5, 10.0};
constexpr double kWholeRoom = 1.25;
constexpr double kWheelZoom = 1.25;   // per notch of the wheel
constexpr double kWheelNotch = 120.0; // angle delta of one notch
constexpr double kMinZoomSeconds = 0.5;

struct TraceStyle {
    QColor colour;
    Qt::PenStyle style;
};

// Desired light, measured dark, in the servo's colour: the eye pairs them at once. Solid
// lines only: dashes cost the painter far more on long curves.
const TraceStyle kStyles[kTraceCount] = {
    {QColor(0xC0, 0x39, 0x2B), Qt::SolidLine}, {QColor(0x21, 0x6F, 0xB5), Qt::SolidLine},
    {QColor(0x70, 0x70, 0x70), Qt::SolidLine}, {QColor(0x7F, 0xD0, 0x9F), Qt::SolidLine},
    {QColor(0x1E, 0x8B, 0x4C), Qt::SolidLine}, {QColor(0xF5, 0xB0, 0x70), Qt::SolidLine},
    {QColor(0xD3, 0x64, 0x00), Qt::SolidLine},
};

int Decimals(int trace) {
    return trace == TraceSupply ? 2 : 0;
}

double NiceAbove(double seconds) {
    const double power = std::pow(10.0, std::floor(std::log10(seconds)));
    for (double step : kNiceSteps) {
        if (step * power >= seconds)
            return step * power;
    }
    return 10.0 * power;
}

// The time between labels: a round number giving about kTimeLabels labels.
double LabelInterval(double lo, double hi) {
    const double rough = (hi - lo) / kTimeLabels;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double step : kLabelSteps) {
        if (step * power >= rough)
            return step * power;
    }
    return 10.0 * power;
}

// Enough decimals that neighbouring labels never read the same.
QString TimeLabelFormat(double interval) {
    const int decimals = interval >= 1.0 ? 0 : interval >= 0.1 ? 1 : 2;
    return QStringLiteral("%.%1f").arg(decimals);
}

} // namespace

// The chart view: the mouse reads out values as it moves, and the wheel zooms the time axis
// around the time under it.
class ChartView : public QChartView {
  public:
    ChartView(QChart* chart, ChartWindow& window) : QChartView(chart), window_(window) {
        setRubberBand(QChartView::HorizontalRubberBand);
        setMouseTracking(true);
    }

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        QChartView::mouseMoveEvent(event);
        const QRect plot = window_.plot_->geometry();
        const QPoint at = event->position().toPoint();
        if (plot.contains(at))
            window_.SetCursor(window_.plot_->SecondsAt(at.x() - plot.left()));
    }

    // A right click goes back to the whole span at once, as "Zoom out" does, rather than
    // halving the zoom step by step.
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::RightButton) {
            window_.ZoomOut();
            event->accept();
            return;
        }
        QChartView::mouseReleaseEvent(event);
    }

    void wheelEvent(QWheelEvent* event) override {
        const QRect plot = window_.plot_->geometry();
        const QPoint at = event->position().toPoint();
        const int steps = event->angleDelta().y();
        if (!plot.contains(at) || steps == 0) {
            QChartView::wheelEvent(event);
            return;
        }
        window_.ZoomAround(window_.plot_->SecondsAt(at.x() - plot.left()),
                           std::pow(kWheelZoom, -steps / kWheelNotch));
        event->accept();
    }

  private:
    ChartWindow& window_;
};

ChartWindow::ChartWindow(const ChartFeed& live, QWidget* parent)
    : QWidget(parent, Qt::Window), live_(live) {
    resize(kWindowWidth, kWindowHeight);

    chart_ = new QChart;
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    // A narrow window cuts the legend's names short; the whole name shows under the mouse.
    chart_->legend()->setShowToolTips(true);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    axisTime_ = new QValueAxis;
    axisTime_->setLabelFormat(QStringLiteral("%.0f"));
    axisTime_->setTickType(QValueAxis::TicksDynamic);
    axisTime_->setTickAnchor(0);
    axisRpm_ = new QValueAxis;
    axisRpm_->setLabelFormat(QStringLiteral("%.0f"));
    axisPercent_ = new QValueAxis;
    axisPercent_->setRange(0, kPercentMax);
    axisPercent_->setLabelFormat(QStringLiteral("%.0f"));
    axisVolt_ = new QValueAxis;
    axisVolt_->setRange(0, kVoltMax);
    axisVolt_->setLabelFormat(QStringLiteral("%.0f"));
    axisMv_ = new QValueAxis;
    axisMv_->setRange(0, kMvMax);
    axisMv_->setLabelFormat(QStringLiteral("%.0f"));
    chart_->addAxis(axisTime_, Qt::AlignBottom);
    chart_->addAxis(axisRpm_, Qt::AlignLeft);
    chart_->addAxis(axisPercent_, Qt::AlignLeft);
    chart_->addAxis(axisMv_, Qt::AlignRight);
    chart_->addAxis(axisVolt_, Qt::AlignRight);
    for (QValueAxis* axis : {axisRpm_, axisPercent_, axisVolt_, axisMv_})
        axis->setTickCount(kValueTicks);
    BuildTraces();

    view_ = new ChartView(chart_, *this);
    plot_ = new ChartPlot(view_->viewport());
    std::array<QPen, kTraceCount> pens;
    for (int t = 0; t < kTraceCount; ++t)
        pens[static_cast<size_t>(t)] = series_[static_cast<size_t>(t)]->pen();
    plot_->SetPens(pens);
    // The chart's theme paints its background with a gradient; the plot takes its first colour.
    const QBrush background = chart_->backgroundBrush();
    plot_->SetBackground(background.gradient() ? background.gradient()->stops().constFirst().second
                                               : background.color(),
                         axisTime_->gridLinePen());
    // The zoom's rubber band shows over the curves.
    if (auto* band = view_->findChild<QRubberBand*>())
        band->raise();
    // The view maps the chart to its viewport only after the chart has laid itself out, so
    // the plot finds its place once the events of a resize are through.
    connect(chart_, &QChart::plotAreaChanged, this, &ChartWindow::PlacePlot, Qt::QueuedConnection);
    auto* buttons = new QHBoxLayout;
    spans_ = new QButtonGroup(this);
    for (int s = Last60s; s <= WholeRun; ++s) {
        auto* b = new QPushButton(this);
        b->setCheckable(true);
        spans_->addButton(b, s);
        buttons->addWidget(b);
    }
    spans_->button(span_)->setChecked(true);
    connect(spans_, &QButtonGroup::idClicked, this, [this](int id) { SetSpan(Span(id)); });
    pauseButton_ = new QPushButton(this);
    pauseButton_->setCheckable(true);
    connect(pauseButton_, &QPushButton::toggled, this, &ChartWindow::SetPaused);
    zoomOutButton_ = new QPushButton(this);
    connect(zoomOutButton_, &QPushButton::clicked, this, &ChartWindow::ZoomOut);
    liveButton_ = new QPushButton(this);
    liveButton_->hide();
    connect(liveButton_, &QPushButton::clicked, this, &ChartWindow::ShowLive);
    openButton_ = new QPushButton(this);
    connect(openButton_, &QPushButton::clicked, this, &ChartWindow::OpenLogRequested);
    buttons->addSpacing(12);
    for (QPushButton* b : {pauseButton_, zoomOutButton_, liveButton_, openButton_})
        buttons->addWidget(b);
    buttons->addStretch();
    readout_ = new QLabel(this);
    readout_->setWordWrap(true);
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    readout_->setMinimumHeight(readout_->fontMetrics().lineSpacing() * 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(view_, 1);
    layout->addWidget(readout_);

    // A change of the time axis that this window did not make is the user zooming: the
    // axis then stays where the user put it until "Zoom out".
    connect(axisTime_, &QValueAxis::rangeChanged, this, [this] {
        if (settingRange_)
            return;
        zoomed_ = true;
        Redraw();
    });
    timer_.setInterval(kRedrawMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (isVisible())
            Refresh();
    });
    timer_.start();
    SetLanguage(language_);
    Rebuild();
}

ChartWindow::~ChartWindow() = default;

const ChartFeed& ChartWindow::Source() const {
    return file_ ? *file_ : live_;
}

void ChartWindow::BuildTraces() {
    for (int t = 0; t < kTraceCount; ++t) {
        auto* series = new QLineSeries;
        QPen pen(kStyles[t].colour, kPenWidth, kStyles[t].style);
        pen.setCosmetic(true);
        series->setPen(pen);
        chart_->addSeries(series);
        series->attachAxis(axisTime_);
        QValueAxis* y = axisMv_;
        if (t == TraceRpm)
            y = axisRpm_;
        else if (t == TraceThrottle)
            y = axisPercent_;
        else if (t == TraceSupply)
            y = axisVolt_;
        series->attachAxis(y);
        series_[static_cast<size_t>(t)] = series;
    }
}

void ChartWindow::SetLanguage(int language) {
    language_ = language;
    spans_->button(Last60s)->setText(logtext::Span60s.In(language));
    spans_->button(Last5min)->setText(logtext::Span5min.In(language));
    spans_->button(WholeRun)->setText(logtext::SpanWhole.In(language));
    pauseButton_->setText(logtext::Pause.In(language));
    zoomOutButton_->setText(logtext::ZoomOut.In(language));
    liveButton_->setText(logtext::Live.In(language));
    openButton_->setText(logtext::OpenLog.In(language));
    axisTime_->setTitleText(logtext::AxisTime.In(language));
    axisRpm_->setTitleText(logtext::AxisRpm.In(language));
    axisPercent_->setTitleText(logtext::AxisPercent.In(language));
    axisVolt_->setTitleText(logtext::AxisVolt.In(language));
    axisMv_->setTitleText(logtext::AxisMv.In(language));
    for (int t = 0; t < kTraceCount; ++t)
        series_[static_cast<size_t>(t)]->setName(logtext::TraceNames[t].In(language));
    UpdateCaption();
    readout_->setText(cursorSet_ ? ReadoutAt(cursorSeconds_) : logtext::ChartHelp.In(language));
}

void ChartWindow::UpdateCaption() {
    QString caption = logtext::ChartCaption.In(language_);
    if (file_)
        caption += QStringLiteral(" – ") + fileName_;
    setWindowTitle(caption);
}

void ChartWindow::ShowLog(ChartFeed feed, const QString& name) {
    file_ = std::make_unique<ChartFeed>(std::move(feed));
    fileName_ = name;
    liveButton_->show();
    cursorSet_ = false;
    plot_->SetCursor(false, 0);
    UpdateCaption();
    span_ = WholeRun;
    spans_->button(span_)->setChecked(true);
    zoomed_ = false;
    Rebuild();
}

void ChartWindow::ShowLive() {
    file_.reset();
    fileName_.clear();
    liveButton_->hide();
    cursorSet_ = false;
    plot_->SetCursor(false, 0);
    UpdateCaption();
    zoomed_ = false;
    Rebuild();
}

void ChartWindow::SetSpan(Span span) {
    span_ = span;
    spans_->button(span)->setChecked(true);
    zoomed_ = false;
    Rebuild();
}

void ChartWindow::SetPaused(bool paused) {
    paused_ = paused;
    if (pauseButton_->isChecked() != paused)
        pauseButton_->setChecked(paused);
    if (!paused)
        Refresh();
}

void ChartWindow::ZoomOut() {
    zoomed_ = false;
    ApplyRange();
    Redraw();
}

void ChartWindow::ZoomAround(double seconds, double factor) {
    const double lo = axisTime_->min();
    const double hi = axisTime_->max();
    if (factor < 1.0 && (hi - lo) * factor < kMinZoomSeconds)
        factor = kMinZoomSeconds / (hi - lo);
    const double newLo = seconds - (seconds - lo) * factor;
    const double newHi = seconds + (hi - seconds) * factor;
    axisTime_->setTickInterval(LabelInterval(newLo, newHi));
    axisTime_->setRange(newLo, newHi);
}

// --- Drawing ----------------------------------------------------------------------------

void ChartWindow::Rebuild() {
    rpmMax_ = 0;
    const ChartFeed& feed = Source();
    drawnGeneration_ = feed.OverviewGeneration();
    drawnSeq_ = feed.NextSeq();
    drawnOverview_ = feed.Overview().size();
    if (span_ == WholeRun && !file_) {
        NoteRpm(feed.Overview().begin(), feed.Overview().end());
    } else {
        const auto& recent = feed.Recent();
        const double from = span_ == WholeRun ? 0 : feed.LastSeconds() - kSpanSeconds[span_];
        auto first = std::lower_bound(
            recent.begin(), recent.end(), from,
            [](const ChartEntry& e, double seconds) { return e.seconds < seconds; });
        NoteRpm(first, recent.end());
    }
    ApplyRange();
    Redraw();
}

void ChartWindow::Refresh() {
    if (paused_)
        return;
    const ChartFeed& feed = Source();
    if (feed.OverviewGeneration() != drawnGeneration_) {
        Rebuild(); // thinned out or started afresh: what is drawn no longer matches
        return;
    }
    // The feed counts its marks (markers, transfers, recording starts): a new count is a
    // new mark to draw.
    if (feed.MarkSeq() != markerShown_) {
        markerShown_ = feed.MarkSeq();
        plot_->update();
    }
    if (span_ == WholeRun && !file_) {
        if (feed.Overview().size() == drawnOverview_)
            return;
        const auto from = feed.Overview().begin() + static_cast<std::ptrdiff_t>(drawnOverview_);
        drawnOverview_ = feed.Overview().size();
        AddNew(from, feed.Overview().end());
        return;
    }
    if (feed.NextSeq() == drawnSeq_)
        return;
    if (drawnSeq_ < feed.RecentFirstSeq()) {
        Rebuild(); // the window was away longer than the feed remembers
        return;
    }
    const auto from =
        feed.Recent().begin() + static_cast<std::ptrdiff_t>(drawnSeq_ - feed.RecentFirstSeq());
    drawnSeq_ = feed.NextSeq();
    AddNew(from, feed.Recent().end());
}

// New entries either step the axes on, and everything is drawn afresh, or are only added.
template <typename It> void ChartWindow::AddNew(It from, It to) {
    NoteRpm(from, to);
    if (ApplyRange())
        Redraw();
    else
        plot_->Draw(from, to);
}

template <typename It> void ChartWindow::NoteRpm(It from, It to) {
    for (It it = from; it != to; ++it) {
        if (it->kind == ChartEntry::Point)
            rpmMax_ = std::max(rpmMax_, it->values[TraceRpm]);
    }
}

// The last minute and the last five minutes move their axis a third of the span at a time,
// so between steps new points only add to the picture; the whole run's axis grows in steps.
bool ChartWindow::ApplyRange() {
    bool moved = false;
    const double last = Source().LastSeconds();
    const float rpmTop = std::max(kRpmFloor, std::ceil(rpmMax_ / kRpmStep) * kRpmStep);
    if (axisRpm_->max() != rpmTop || axisRpm_->min() != 0) {
        axisRpm_->setRange(0, rpmTop);
        moved = true;
    }
    if (zoomed_)
        return moved;
    double lo = 0;
    double hi = axisTime_->max();
    if (span_ != WholeRun) {
        const double span = kSpanSeconds[span_];
        const double step = span * kSpanStep;
        const double width = span + step;
        lo = axisTime_->min();
        const bool fits =
            std::abs(hi - lo - width) < 1e-9 && lo <= std::max(0.0, last - span) && last <= hi;
        if (!fits) {
            lo = std::max(0.0, std::floor((last - span) / step) * step);
            hi = lo + width;
        }
    } else if (axisTime_->min() != 0 || hi < last || hi < kMinWholeSeconds ||
               hi > NiceAbove(std::max(last * kWholeRoom, kMinWholeSeconds))) {
        hi = NiceAbove(std::max(last * kWholeRoom, kMinWholeSeconds));
    }
    if (lo == axisTime_->min() && hi == axisTime_->max())
        return moved;
    settingRange_ = true;
    // The labels' interval first: at the old one a much wider axis would be laid out with
    // thousands of labels.
    axisTime_->setTickInterval(LabelInterval(lo, hi));
    axisTime_->setRange(lo, hi);
    settingRange_ = false;
    return true;
}

// Draws everything within the time axis afresh.
void ChartWindow::Redraw() {
    const double lo = axisTime_->min();
    const double hi = axisTime_->max();
    const double interval = LabelInterval(lo, hi);
    axisTime_->setTickInterval(interval);
    axisTime_->setLabelFormat(TimeLabelFormat(interval));
    std::array<ChartPlot::Scale, kTraceCount> values;
    for (int t = 0; t < kTraceCount; ++t) {
        const auto* y =
            static_cast<QValueAxis*>(series_[static_cast<size_t>(t)]->attachedAxes().last());
        values[static_cast<size_t>(t)] = {y->min(), y->max()};
    }
    plot_->SetScales({lo, hi}, interval, values, kValueTicks);
    plot_->SetMarkers(&Source().Markers());

    // The entries around the axis, one beyond each end so the curves reach the edges.
    auto draw = [&](const auto& entries) {
        auto less = [](const ChartEntry& e, double s) { return e.seconds < s; };
        auto first = std::lower_bound(entries.begin(), entries.end(), lo, less);
        auto last = std::lower_bound(first, entries.end(), hi, less);
        if (first != entries.begin())
            --first;
        if (last != entries.end())
            ++last;
        plot_->Draw(first, last);
    };
    const ChartFeed& feed = Source();
    const bool overview = span_ == WholeRun && !file_ &&
                          (feed.Recent().empty() || lo < feed.Recent().front().seconds);
    if (overview)
        draw(feed.Overview());
    else
        draw(feed.Recent());
}

void ChartWindow::PlacePlot() {
    const QRectF area = view_->mapFromScene(chart_->mapToScene(chart_->plotArea())).boundingRect();
    const QRect inside(
        QPoint(static_cast<int>(std::ceil(area.left())), static_cast<int>(std::ceil(area.top()))),
        QPoint(static_cast<int>(std::floor(area.right())) - 1,
               static_cast<int>(std::floor(area.bottom())) - 1));
    if (inside == plot_->geometry() && plot_->isVisible())
        return;
    plot_->setGeometry(inside);
    plot_->show();
    Redraw();
}

// --- Cursor -----------------------------------------------------------------------------

const ChartEntry* ChartWindow::NearestPoint(double seconds) const {
    const ChartFeed& feed = Source();
    const auto& recent = feed.Recent();
    auto search = [seconds](const auto& entries) -> const ChartEntry* {
        auto it = std::lower_bound(entries.begin(), entries.end(), seconds,
                                   [](const ChartEntry& e, double s) { return e.seconds < s; });
        const ChartEntry* after = it != entries.end() ? &*it : nullptr;
        const ChartEntry* before = it != entries.begin() ? &*(it - 1) : nullptr;
        const ChartEntry* best = after;
        if (!best || (before && seconds - before->seconds <= after->seconds - seconds))
            best = before;
        return best;
    };
    const ChartEntry* e = nullptr;
    if (!recent.empty() && seconds >= recent.front().seconds)
        e = search(recent);
    else
        e = search(feed.Overview());
    if (!e || e->kind != ChartEntry::Point || std::abs(e->seconds - seconds) > kNoAnswerSeconds)
        return nullptr;
    return e;
}

void ChartWindow::SetCursor(double seconds) {
    cursorSet_ = true;
    cursorSeconds_ = seconds;
    readout_->setText(ReadoutAt(seconds));
    plot_->SetCursor(true, seconds);
}

QString ChartWindow::Readout() const {
    return readout_->text();
}

QString ChartWindow::ReadoutAt(double seconds) const {
    const ChartEntry* e = NearestPoint(seconds);
    QString text = QStringLiteral("t = %1 s").arg(seconds, 0, 'f', 1);
    if (!e)
        return text + QStringLiteral(": ") + logtext::NoAnswer.In(language_);
    text = QDateTime::fromMSecsSinceEpoch(e->timeMs).toString(QStringLiteral("HH:mm:ss.zzz")) +
           QStringLiteral("  t = %1 s").arg(e->seconds, 0, 'f', 3);
    for (int t = 0; t < kTraceCount; ++t) {
        text += QStringLiteral("   %1 %2")
                    .arg(logtext::TraceNames[t].In(language_))
                    .arg(static_cast<double>(e->values[t]), 0, 'f', Decimals(t));
    }
    return text;
}

// --- For tests and the bench ----------------------------------------------------------------

// Every curve is drawn from the same entries, so they share the figures.
int ChartWindow::Segments(int /*trace*/) const {
    return plot_->Pieces();
}

int ChartWindow::PointsShown(int /*trace*/) const {
    return plot_->Points();
}

double ChartWindow::FirstShown(int /*trace*/) const {
    return plot_->FirstSeconds();
}

std::pair<double, double> ChartWindow::TimeRange() const {
    return {axisTime_->min(), axisTime_->max()};
}

} // namespace zyrk
