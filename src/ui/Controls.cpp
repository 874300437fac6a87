#include "Controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimerEvent>
#include <qdrawutil.h>

#include <algorithm>
#include <cstdint>

namespace zyrk {

namespace {

constexpr int kGaugeWidthPx = 100;
constexpr int kGaugeHeightPx = 18;
constexpr int kGaugeFramePx = 1;
constexpr int kPercentFull = 100;
// Above this perceived brightness (0..255) a bar takes dark text.
constexpr int kLightBarGray = 140;
// Room between a button's bevel and its arrow.
constexpr int kArrowInsetXPx = 3;
constexpr int kArrowInsetYPx = 2;

// Blanks a user may type or paste between digit groups, whatever the locale uses.
bool IsBlank(QChar c) {
    return c == QChar(u' ') || c == QChar(u'\u00A0') || c == QChar(u'\u2009') ||
           c == QChar(u'\u202F');
}

// A press held over a modal dialog or a popup never sees its release: the dialog takes
// the mouse. Without this check the repeat would run on until the next click.
bool InputTakenAway(const QWidget* w) {
    if (QApplication::activePopupWidget() != nullptr)
        return true;
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr)
        return false;
    for (const QWidget* p = w; p != nullptr; p = p->parentWidget()) {
        if (p == modal)
            return false;
    }
    return true;
}

void PaintArrowButton(QPainter& painter, const QWidget* w, const QRect& rect, bool up,
                      bool sunken) {
    QStyleOption opt;
    opt.initFrom(w);
    opt.rect = rect;
    opt.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    opt.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
    w->style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &painter, w);

    QStyleOption arrow = opt;
    arrow.rect = rect.adjusted(kArrowInsetXPx, kArrowInsetYPx, -kArrowInsetXPx, -kArrowInsetYPx);
    if (sunken)
        arrow.rect.translate(1, 1);
    w->style()->drawPrimitive(up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                              &arrow, &painter, w);
}

// The upper half gets the smaller share of an odd height, as the classic controls do.
QRect UpperHalf(const QRect& r) {
    return QRect(r.left(), r.top(), r.width(), r.height() / 2);
}
QRect LowerHalf(const QRect& r) {
    const int upper = r.height() / 2;
    return QRect(r.left(), r.top() + upper, r.width(), r.height() - upper);
}

ArrowRepeat::Half HalfOf(const QRect& r, QPoint pos) {
    if (!r.contains(pos))
        return ArrowRepeat::None;
    return UpperHalf(r).contains(pos) ? ArrowRepeat::Up : ArrowRepeat::Down;
}

} // namespace

// ---------------------------------------------------------------------------------------
// ArrowRepeat

void ArrowRepeat::Press(Half half, QObject* owner) {
    pressed_ = half;
    intervalMs_ = kArrowFirstRepeatMs;
    timer_.start(intervalMs_, owner);
}

void ArrowRepeat::Stop() {
    timer_.stop();
    intervalMs_ = 0;
    pressed_ = None;
}

void ArrowRepeat::Fired(QObject* owner) {
    if (intervalMs_ != kArrowRepeatMs) {
        intervalMs_ = kArrowRepeatMs;
        timer_.start(intervalMs_, owner);
    }
}

// ---------------------------------------------------------------------------------------
// ArrowPair

ArrowPair::ArrowPair(QWidget* parent, QSize size) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(size);
}

ArrowRepeat::Half ArrowPair::HalfAt(QPoint pos) const {
    return HalfOf(rect(), pos);
}

void ArrowPair::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || repeat_.Pressed() != ArrowRepeat::None) {
        event->ignore();
        return;
    }
    const ArrowRepeat::Half half = HalfAt(event->position().toPoint());
    if (half == ArrowRepeat::None)
        return;
    repeat_.Press(half, this);
    pointerOnPressed_ = true;
    update();
    ArrowPressed(half == ArrowRepeat::Up);
}

void ArrowPair::mouseMoveEvent(QMouseEvent* event) {
    if (repeat_.Pressed() == ArrowRepeat::None)
        return;
    const bool on = HalfAt(event->position().toPoint()) == repeat_.Pressed();
    if (on != pointerOnPressed_) {
        pointerOnPressed_ = on;
        update();
    }
}

void ArrowPair::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || repeat_.Pressed() == ArrowRepeat::None)
        return;
    const ArrowRepeat::Half pressed = repeat_.Pressed();
    const bool over = HalfAt(event->position().toPoint()) == pressed;
    CancelPress();
    ArrowReleased(pressed == ArrowRepeat::Up, over);
}

void ArrowPair::RepeatTick() {
    if (repeat_.Pressed() == ArrowRepeat::None)
        return;
    if (InputTakenAway(this)) {
        CancelPress();
        return;
    }
    repeat_.Fired(this);
    // Dragged off the half: hold the repeat until the pointer comes back.
    if (pointerOnPressed_)
        ArrowRepeated(repeat_.Pressed() == ArrowRepeat::Up);
}

void ArrowPair::timerEvent(QTimerEvent* event) {
    if (repeat_.Owns(event->timerId()))
        RepeatTick();
    else
        QWidget::timerEvent(event);
}

void ArrowPair::CancelPress() {
    if (repeat_.Pressed() == ArrowRepeat::None)
        return;
    repeat_.Stop();
    pointerOnPressed_ = false;
    update();
}

void ArrowPair::hideEvent(QHideEvent* event) {
    CancelPress();
    QWidget::hideEvent(event);
}

void ArrowPair::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        CancelPress();
    QWidget::changeEvent(event);
}

void ArrowPair::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool held = pointerOnPressed_;
    PaintArrowButton(painter, this, UpperHalf(rect()), true,
                     held && repeat_.Pressed() == ArrowRepeat::Up);
    PaintArrowButton(painter, this, LowerHalf(rect()), false,
                     held && repeat_.Pressed() == ArrowRepeat::Down);
}

// ---------------------------------------------------------------------------------------
// UpDown

UpDown::UpDown(QWidget* parent) : ArrowPair(parent, QSize(kWidthPx, kHeightPx)) {}

UpDown::~UpDown() {
    if (associate_ != nullptr)
        associate_->removeEventFilter(this);
}

QSize UpDown::sizeHint() const {
    return QSize(kWidthPx, kHeightPx);
}

void UpDown::SetAssociate(QLineEdit* edit) {
    if (associate_ == edit)
        return;
    if (associate_ != nullptr)
        associate_->removeEventFilter(this);
    associate_ = edit;
    if (associate_ != nullptr) {
        associate_->installEventFilter(this);
        WriteText();
    }
}

QLineEdit* UpDown::Associate() const {
    return associate_.data();
}

void UpDown::SetRange(int min, int max) {
    min_ = std::min(min, max);
    max_ = std::max(min, max);
    const int clamped = std::clamp(position_, min_, max_);
    if (clamped != position_) {
        position_ = clamped;
        WriteText();
    }
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, min_, max_);
    WriteText();
}

int UpDown::Position() {
    if (associate_ == nullptr)
        return position_;
    int typed = 0;
    if (ParseValue(associate_->text(), &typed) && typed >= min_ && typed <= max_)
        position_ = typed;
    return position_;
}

void UpDown::Step(bool up) {
    // 64-bit so that a range reaching the ends of int cannot overflow the sum.
    const int64_t delta = up ? int64_t{increment_} : -int64_t{increment_};
    const int64_t next = std::clamp(int64_t{Position()} + delta, int64_t{min_}, int64_t{max_});
    position_ = static_cast<int>(next);
    WriteText();
    emit Clicked(up);
}

void UpDown::WriteText() {
    if (associate_ == nullptr)
        return;
    const QString text = FormatValue(position_);
    if (associate_->text() != text)
        associate_->setText(text);
}

QString UpDown::FormatValue(int value) {
    return QLocale().toString(value);
}

bool UpDown::ParseValue(const QString& text, int* value) {
    QString compact;
    compact.reserve(text.size());
    for (const QChar c : text) {
        if (!IsBlank(c))
            compact.append(c);
    }
    if (compact.isEmpty())
        return false;
    bool ok = false;
    // The locale's parser accepts its group separator only where the locale puts one, so a
    // slip like "2,5" is refused rather than read as 25.
    int parsed = QLocale().toInt(compact, &ok);
    if (!ok)
        parsed = compact.toInt(&ok, 10);
    if (ok)
        *value = parsed;
    return ok;
}

void UpDown::ArrowPressed(bool up) {
    Step(up);
}

void UpDown::ArrowRepeated(bool up) {
    Step(up);
}

// A mouse-up after any press is reported, over the button or not.
void UpDown::ArrowReleased(bool, bool) {
    emit MouseReleased();
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    // The event type is tested before the pointer: the edit still sends events while its
    // destructor runs, when it is no longer a QLineEdit and the guarded pointer must not be
    // read. Key presses never come from a dying widget.
    if (event->type() == QEvent::KeyPress && watched == associate_ && isEnabled()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::NoModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            Step(key->key() == Qt::Key_Up);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// Gauge

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
    // The whole face is painted here; nothing underneath needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize Gauge::sizeHint() const {
    return QSize(kGaugeWidthPx, kGaugeHeightPx);
}

void Gauge::SetMaximum(int maximum) {
    maximum = std::max(maximum, 0);
    const int progress = std::min(progress_, maximum);
    if (maximum == maximum_ && progress == progress_)
        return;
    maximum_ = maximum;
    progress_ = progress;
    update();
}

void Gauge::SetProgress(int progress) {
    progress = std::clamp(progress, 0, maximum_);
    if (progress == progress_)
        return;
    progress_ = progress;
    update();
}

void Gauge::SetShowText(bool show) {
    if (show == showText_)
        return;
    showText_ = show;
    update();
}

void Gauge::SetBarColor(const QColor& color) {
    if (color == barColor_)
        return;
    barColor_ = color;
    update();
}

int Gauge::Percent() const {
    if (maximum_ == 0)
        return 0;
    return static_cast<int>(int64_t{progress_} * kPercentFull / maximum_);
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, kGaugeFramePx);
    const QRect inner =
        rect().adjusted(kGaugeFramePx, kGaugeFramePx, -kGaugeFramePx, -kGaugeFramePx);
    painter.fillRect(inner, Qt::white);

    int barWidth = 0;
    if (maximum_ > 0)
        barWidth = static_cast<int>(int64_t{inner.width()} * progress_ / maximum_);
    const QRect bar(inner.left(), inner.top(), barWidth, inner.height());
    painter.fillRect(bar, barColor_);

    if (!showText_)
        return;
    // The figure is drawn twice, clipped to the empty part and to the bar, each time in a
    // colour that stands out from what lies under it, so it stays readable wherever the bar
    // ends and whatever its colour.
    const QString text = QString::number(Percent()) + QLatin1Char('%');
    painter.setPen(Qt::black);
    painter.setClipRect(inner.adjusted(barWidth, 0, 0, 0));
    painter.drawText(inner, Qt::AlignCenter, text);
    painter.setPen(qGray(barColor_.rgb()) > kLightBarGray ? Qt::black : Qt::white);
    painter.setClipRect(bar);
    painter.drawText(inner, Qt::AlignCenter, text);
}

// ---------------------------------------------------------------------------------------
// SpinButton

SpinButton::SpinButton(QWidget* parent) : ArrowPair(parent, QSize(kWidthPx, kHeightPx)) {}

QSize SpinButton::sizeHint() const {
    return QSize(kWidthPx, kHeightPx);
}

void SpinButton::Fire(bool up) {
    if (up)
        emit UpClick();
    else
        emit DownClick();
}

// Nothing fires on the press itself: a click counts only once released over its half.
void SpinButton::ArrowPressed(bool) {}

void SpinButton::ArrowRepeated(bool up) {
    Fire(up);
}

void SpinButton::ArrowReleased(bool up, bool overHalf) {
    if (overHalf)
        Fire(up);
}

} // namespace zyrk
