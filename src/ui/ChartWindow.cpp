#include "ChartWindow.h"

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
#include <QVBoxLayout>
#include <QValueAxis>
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
constexpr qreal kPenWidth = 1.5;

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

} // namespace

// The chart view with the cursor line and the markers drawn over the curves, and the mouse
// reading out values as it moves.
class ChartView : public QChartView {
  public:
    ChartView(QChart* chart, ChartWindow& window) : QChartView(chart), window_(window) {
        setRubberBand(QChartView::HorizontalRubberBand);
        setMouseTracking(true);
    }

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        QChartView::mouseMoveEvent(event);
        const QPointF at = mapToScene(event->position().toPoint());
        if (chart()->plotArea().contains(at) && !window_.traces_[0].empty())
            window_.SetCursor(chart()->mapToValue(at, window_.traces_[0].front()).x());
    }

    void drawForeground(QPainter* painter, const QRectF& rect) override {
        QChartView::drawForeground(painter, rect);
        const QRectF plot = chart()->plotArea();
        const double lo = window_.axisTime_->min();
        const double hi = window_.axisTime_->max();
        if (hi <= lo || window_.traces_[0].empty())
            return;
        QLineSeries* any = window_.traces_[0].front();
        auto xOf = [&](double seconds) { return chart()->mapToPosition({seconds, 0}, any).x(); };
        painter->save();
        painter->setPen(QPen(QColor(0x55, 0x33, 0x99), 1, Qt::DashDotLine));
        for (const ChartEntry& m : window_.Source().Markers()) {
            if (m.seconds < lo || m.seconds > hi)
                continue;
            const double x = xOf(m.seconds);
            painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            painter->drawText(QPointF(x + 3, plot.top() + 12), QStringLiteral("M%1").arg(m.marker));
        }
        if (window_.cursorSet_ && window_.cursorSeconds_ >= lo && window_.cursorSeconds_ <= hi) {
            painter->setPen(QPen(Qt::black, 1));
            const double x = xOf(window_.cursorSeconds_);
            painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
        painter->restore();
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
    chart_->setMargins(QMargins(4, 4, 4, 4));
    axisTime_ = new QValueAxis;
    axisTime_->setLabelFormat(QStringLiteral("%.0f"));
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
    BuildTraces();

    view_ = new ChartView(chart_, *this);
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
        if (!settingRange_)
            zoomed_ = true;
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
    for (int t = 0; t < kTraceCount; ++t)
        NewSegment(t);
}

QLineSeries* ChartWindow::NewSegment(int trace) {
    auto* series = new QLineSeries;
    QPen pen(kStyles[trace].colour, kPenWidth, kStyles[trace].style);
    pen.setCosmetic(true);
    series->setPen(pen);
    chart_->addSeries(series);
    series->attachAxis(axisTime_);
    QValueAxis* y = axisMv_;
    if (trace == TraceRpm)
        y = axisRpm_;
    else if (trace == TraceThrottle)
        y = axisPercent_;
    else if (trace == TraceSupply)
        y = axisVolt_;
    series->attachAxis(y);
    auto& segments = traces_[static_cast<size_t>(trace)];
    if (segments.empty()) {
        series->setName(logtext::TraceNames[trace].In(language_));
    } else {
        // Later pieces of a curve broken by a silence: one legend entry per curve.
        for (QLegendMarker* marker : chart_->legend()->markers(series))
            marker->setVisible(false);
    }
    segments.push_back(series);
    return series;
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
        traces_[static_cast<size_t>(t)].front()->setName(logtext::TraceNames[t].In(language));
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
}

// --- Drawing ----------------------------------------------------------------------------

void ChartWindow::Rebuild() {
    for (auto& segments : traces_) {
        for (size_t i = 1; i < segments.size(); ++i) {
            chart_->removeSeries(segments[i]);
            delete segments[i];
        }
        segments.resize(1);
        segments.front()->clear();
    }
    rpmMax_ = 0;
    breakPending_ = false;
    const ChartFeed& feed = Source();
    drawnGeneration_ = feed.OverviewGeneration();
    drawnSeq_ = feed.NextSeq();
    drawnOverview_ = feed.Overview().size();
    if (span_ == WholeRun && !file_) {
        Append(feed.Overview().begin(), feed.Overview().end());
    } else {
        const auto& recent = feed.Recent();
        const double from = span_ == WholeRun ? 0 : feed.LastSeconds() - kSpanSeconds[span_];
        auto first = std::lower_bound(
            recent.begin(), recent.end(), from,
            [](const ChartEntry& e, double seconds) { return e.seconds < seconds; });
        Append(first, recent.end());
    }
    ApplyRange();
}

void ChartWindow::Refresh() {
    if (paused_)
        return;
    const ChartFeed& feed = Source();
    if (feed.OverviewGeneration() != drawnGeneration_) {
        Rebuild(); // thinned out or started afresh: what is drawn no longer matches
        return;
    }
    if (span_ == WholeRun && !file_) {
        if (feed.Overview().size() == drawnOverview_)
            return;
        const auto from = feed.Overview().begin() + static_cast<std::ptrdiff_t>(drawnOverview_);
        Append(from, feed.Overview().end());
        drawnOverview_ = feed.Overview().size();
        ApplyRange();
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
    Append(from, feed.Recent().end());
    drawnSeq_ = feed.NextSeq();
    if (span_ != WholeRun)
        Trim(feed.LastSeconds() - kSpanSeconds[span_]);
    ApplyRange();
}

// Appends in one batch per curve piece, so the chart lays out each series once per redraw.
template <typename It> void ChartWindow::Append(It from, It to) {
    std::array<QList<QPointF>, kTraceCount> batch;
    auto flush = [&] {
        for (int t = 0; t < kTraceCount; ++t) {
            auto& points = batch[static_cast<size_t>(t)];
            if (!points.isEmpty())
                traces_[static_cast<size_t>(t)].back()->append(points);
            points.clear();
        }
    };
    for (It it = from; it != to; ++it) {
        const ChartEntry& e = *it;
        if (e.kind == ChartEntry::Gap) {
            breakPending_ = true;
            continue;
        }
        if (breakPending_) {
            breakPending_ = false;
            flush();
            if (traces_[0].back()->count() > 0) {
                for (int t = 0; t < kTraceCount; ++t)
                    NewSegment(t);
            }
        }
        for (int t = 0; t < kTraceCount; ++t)
            batch[static_cast<size_t>(t)].append(QPointF(e.seconds, e.values[t]));
        rpmMax_ = std::max(rpmMax_, e.values[TraceRpm]);
    }
    flush();
}

// Drops the points that have left the view. The first piece of each curve stays (empty,
// if need be) because it carries the legend entry.
void ChartWindow::Trim(double minSeconds) {
    for (auto& segments : traces_) {
        size_t i = 0;
        while (i < segments.size()) {
            QLineSeries* s = segments[i];
            int old = 0;
            while (old < s->count() && s->at(old).x() < minSeconds)
                ++old;
            const bool whole = old == s->count();
            if (old > 0 && !(whole && i > 0 && i + 1 < segments.size()))
                s->removePoints(0, old);
            if (!whole)
                break;
            if (i > 0 && i + 1 < segments.size()) {
                chart_->removeSeries(s);
                delete s;
                segments.erase(segments.begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
            ++i;
        }
    }
}

void ChartWindow::ApplyRange() {
    const double last = Source().LastSeconds();
    const float rpmTop = std::max(kRpmFloor, std::ceil(rpmMax_ / kRpmStep) * kRpmStep);
    if (axisRpm_->max() != rpmTop || axisRpm_->min() != 0)
        axisRpm_->setRange(0, rpmTop);
    if (zoomed_)
        return;
    double lo = 0;
    double hi = std::max(last, kMinWholeSeconds);
    if (span_ != WholeRun) {
        lo = std::max(0.0, last - kSpanSeconds[span_]);
        hi = lo + kSpanSeconds[span_];
    }
    settingRange_ = true;
    axisTime_->setRange(lo, hi);
    settingRange_ = false;
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
    view_->viewport()->update();
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

int ChartWindow::Segments(int trace) const {
    int n = 0;
    for (QLineSeries* s : traces_[static_cast<size_t>(trace)])
        n += s->count() > 0 ? 1 : 0;
    return n;
}

int ChartWindow::PointsShown(int trace) const {
    int n = 0;
    for (QLineSeries* s : traces_[static_cast<size_t>(trace)])
        n += s->count();
    return n;
}

double ChartWindow::FirstShown(int trace) const {
    for (QLineSeries* s : traces_[static_cast<size_t>(trace)]) {
        if (s->count() > 0)
            return s->at(0).x();
    }
    return -1;
}

std::pair<double, double> ChartWindow::TimeRange() const {
    return {axisTime_->min(), axisTime_->max()};
}

} // namespace zyrk
