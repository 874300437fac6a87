#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace zyrk {

// Auto-repeat of the arrow buttons: the first repeat comes this long after the press, the
// following ones at the shorter interval, for as long as the button stays pressed.
constexpr int kArrowFirstRepeatMs = 400;
constexpr int kArrowRepeatMs = 100;

// Press-and-hold bookkeeping shared by the two arrow-pair controls. Built on QBasicTimer so
// that the 170-odd up-downs of the window carry no extra QObject each.
class ArrowRepeat {
  public:
    enum Half : int { None = 0, Up = 1, Down = 2 };

    void Press(Half half, QObject* owner);
    void Stop();
    // Called from the owner's timerEvent; switches to the steady interval after the first one.
    void Fired(QObject* owner);

    Half Pressed() const { return pressed_; }
    bool Owns(int timerId) const { return timer_.timerId() == timerId; }
    bool IsRunning() const { return timer_.isActive(); }
    int IntervalMs() const { return timer_.isActive() ? intervalMs_ : 0; }

  private:
    QBasicTimer timer_;
    int intervalMs_ = 0;
    Half pressed_ = None;
};

// An up arrow button over a down arrow button with press-and-hold auto-repeat: while a half
// is held it repeats at kFirstRepeatMs after the press and then every kRepeatMs, paused
// while the pointer is dragged off that half. The controls built on it only say what a
// press, a repeat and the release do. No Q_OBJECT: it has no signals of its own, and the
// signals stay declared where they are emitted.
class ArrowPair : public QWidget {
  public:
    static constexpr int kFirstRepeatMs = kArrowFirstRepeatMs;
    static constexpr int kRepeatMs = kArrowRepeatMs;

    // What the repeat timer does when it fires; public so tests can drive it without
    // waiting. A no-op when no half is held.
    void RepeatTick();
    bool IsRepeating() const { return repeat_.IsRunning(); }
    int RepeatIntervalMs() const { return repeat_.IntervalMs(); }

  protected:
    ArrowPair(QWidget* parent, QSize size);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // A left press landed on a half and the repeat has started.
    virtual void ArrowPressed(bool up) = 0;
    // The repeat fired while the pointer was on the held half.
    virtual void ArrowRepeated(bool up) = 0;
    // The left button came up after a press, anywhere; overHalf tells whether it was over
    // the half that was pressed. The press is already over when this is called.
    virtual void ArrowReleased(bool up, bool overHalf) = 0;

    ArrowRepeat::Half HalfAt(QPoint pos) const;
    void CancelPress();

    ArrowRepeat repeat_;
    bool pointerOnPressed_ = false;
};

// An up-down button pair bound to an edit field: the edit shows the position as a whole
// number (digit groups from 1000 up), steps stop at both ends of the range. A press steps
// at once and on every repeat; the release is reported wherever it happens.
class UpDown : public ArrowPair {
    Q_OBJECT

  public:
    static constexpr int kWidthPx = 16;
    static constexpr int kHeightPx = 21;

    explicit UpDown(QWidget* parent = nullptr);
    ~UpDown() override;

    // Binds the edit field (nullptr unbinds). The edit gets the arrow keys and shows the
    // current position at once.
    void SetAssociate(QLineEdit* edit);
    QLineEdit* Associate() const;

    // A reversed pair is taken in order. The position is clamped into the new range and
    // the edit rewritten when that moved it.
    void SetRange(int min, int max);
    void SetIncrement(int step) { increment_ = step; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Increment() const { return increment_; }

    // Clamps into the range and writes the edit field. Emits nothing.
    void SetPosition(int position);
    // Takes the number typed into the edit field first when it is a whole number within
    // the range; otherwise keeps the previous position and leaves the text as it is.
    int Position();

    // One step as from the buttons: Position() +/- increment, clamped, written to the edit,
    // then Clicked(up) — also when the end of the range kept the position where it was.
    void Step(bool up);

    // The text the edit shows for a value: whole number, default locale's digit grouping.
    static QString FormatValue(int value);
    // Whole number from typed text: group separators of the default locale and blanks of
    // any kind are allowed where the locale puts them. False for anything else.
    static bool ParseValue(const QString& text, int* value);

    QSize sizeHint() const override;

  signals:
    void Clicked(bool up);
    void MouseReleased();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ArrowPressed(bool up) override;
    void ArrowRepeated(bool up) override;
    void ArrowReleased(bool up, bool overHalf) override;
    void WriteText();

    QPointer<QLineEdit> associate_;
    int min_ = 0;
    int max_ = 100;
    int increment_ = 1;
    int position_ = 0;
};

// Horizontal bar gauge counting from 0 to its maximum.
class Gauge : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kDefaultMaximum = 100;

    explicit Gauge(QWidget* parent = nullptr);

    // A negative maximum counts as 0; the progress is clamped to the new maximum.
    void SetMaximum(int maximum);
    // Clamped into 0..maximum.
    void SetProgress(int progress);
    void SetShowText(bool show);
    void SetBarColor(const QColor& color);

    int Maximum() const { return maximum_; }
    int Progress() const { return progress_; }
    bool ShowText() const { return showText_; }
    QColor BarColor() const { return barColor_; }
    // Progress in whole per cent, 0 while the maximum is 0.
    int Percent() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int maximum_ = kDefaultMaximum;
    int progress_ = 0;
    bool showText_ = false;
    QColor barColor_ = Qt::black;
};

// An up arrow button over a down arrow button. Each half clicks when released over it
// and, while held, at kFirstRepeatMs after the press and then every kRepeatMs.
class SpinButton : public ArrowPair {
    Q_OBJECT

  public:
    static constexpr int kWidthPx = 17;
    static constexpr int kHeightPx = 23;

    explicit SpinButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;

  signals:
    void UpClick();
    void DownClick();

  private:
    void ArrowPressed(bool up) override;
    void ArrowRepeated(bool up) override;
    void ArrowReleased(bool up, bool overHalf) override;
    void Fire(bool up);
};

} // namespace zyrk
