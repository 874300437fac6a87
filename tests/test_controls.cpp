#include "Controls.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <climits>
#include <memory>

using namespace zyrk;

namespace {

constexpr int kMapMaxMv = 5000;
constexpr int kMapStepMv = 20;
constexpr int kAxisMaxRpm = 25000;
constexpr int kAxisStepRpm = 100;
// Long enough for several repeats on a loaded machine, short enough not to stall the run.
constexpr int kHoldTimeoutMs = 5000;
// A stopped repeat timer would have fired a few times in this span.
constexpr int kQuietSpanMs = 3 * kArrowFirstRepeatMs;
// Time for posted repaints to be delivered.
constexpr int kSettleMs = 50;

const QPoint kUpDownUpper(UpDown::kWidthPx / 2, 3);
const QPoint kUpDownLower(UpDown::kWidthPx / 2, UpDown::kHeightPx - 3);
const QPoint kSpinUpper(SpinButton::kWidthPx / 2, 3);
const QPoint kSpinLower(SpinButton::kWidthPx / 2, SpinButton::kHeightPx - 3);
const QPoint kOutside(-20, -20);

// Records the keys that reach it, i.e. the ones its child edit did not swallow.
class KeySink : public QWidget {
  public:
    QList<int> keys;

  protected:
    void keyPressEvent(QKeyEvent* event) override { keys.append(event->key()); }
};

// An edit field with its up-down, shown, as the window builds them.
struct Field {
    KeySink host;
    QLineEdit* edit = new QLineEdit(&host);
    UpDown* upDown = new UpDown(&host);

    Field(int min, int max, int step, int position) {
        edit->setGeometry(0, 0, 40, UpDown::kHeightPx);
        upDown->move(40, 0);
        upDown->SetRange(min, max);
        upDown->SetIncrement(step);
        upDown->SetAssociate(edit);
        upDown->SetPosition(position);
        host.resize(60, 30);
        host.show();
    }
};

} // namespace

class TestControls : public QObject {
    Q_OBJECT

  private slots:
    void init();

    void upDownReadsTypedText_data();
    void upDownReadsTypedText();
    void upDownSteps_data();
    void upDownSteps();
    void upDownRangeClamps_data();
    void upDownRangeClamps();
    void upDownShowsGrouping_data();
    void upDownShowsGrouping();
    void upDownArrowKeys_data();
    void upDownArrowKeys();
    void upDownMouse();
    void upDownHoldRepeats();
    void upDownForgetsEditOnDestroy();

    void gaugeClamps_data();
    void gaugeClamps();
    void gaugeLowerMaximumClampsProgress();
    void gaugePaintsBar();
    void gaugeRepaintsOnlyOnChange();

    void spinButtonRelease_data();
    void spinButtonRelease();
    void spinButtonHoldRepeats();
    void spinButtonRepeatsInRealTime();
    void pressEndsWhenInputTakenAway_data();
    void pressEndsWhenInputTakenAway();
};

void TestControls::init() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// --- UpDown ------------------------------------------------------------------------------

void TestControls::upDownReadsTypedText_data() {
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("previous");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");

    QTest::newRow("whole number") << 0 << kMapMaxMv << 100 << "2340" << 2340;
    QTest::newRow("letter") << 0 << kMapMaxMv << 100 << "23a4" << 100;
    QTest::newRow("above max") << 0 << kMapMaxMv << 100 << "5020" << 100;
    QTest::newRow("below min") << 100 << 2500 << 200 << "50" << 200;
    QTest::newRow("at max") << 0 << kMapMaxMv << 100 << "5,000" << kMapMaxMv;
    QTest::newRow("group separator") << 2500 << 4900 << 2600 << "4,470" << 4470;
    QTest::newRow("misplaced separator") << 0 << kMapMaxMv << 100 << "2,5" << 100;
    QTest::newRow("blanks") << 2500 << 4900 << 2600 << " 4 470 " << 4470;
    QTest::newRow("non-breaking space") << 2500 << 4900 << 2600 << "4\u00A0470" << 4470;
    QTest::newRow("negative in range") << -100 << 100 << 0 << "-50" << -50;
    QTest::newRow("negative below zero") << 0 << kMapMaxMv << 100 << "-20" << 100;
    QTest::newRow("decimal") << 0 << kMapMaxMv << 100 << "2340.5" << 100;
    QTest::newRow("empty") << 0 << kMapMaxMv << 100 << "" << 100;
    QTest::newRow("beyond int") << INT_MIN << INT_MAX << 7 << "99999999999" << 7;
}

void TestControls::upDownReadsTypedText() {
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, previous);
    QFETCH(QString, typed);
    QFETCH(int, expected);

    Field f(min, max, 1, previous);
    QSignalSpy clicks(f.upDown, &UpDown::Clicked);
    f.edit->setText(typed);

    QCOMPARE(f.upDown->Position(), expected);
    // Reading never rewrites the text; the next show does.
    QCOMPARE(f.edit->text(), typed);
    QCOMPARE(clicks.count(), 0);
}

void TestControls::upDownSteps_data() {
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("text");

    QTest::newRow("axis at max stays")
        << kAxisMaxRpm << kAxisStepRpm << kAxisMaxRpm << "" << true << kAxisMaxRpm << "25,000";
    QTest::newRow("map one step below max")
        << kMapMaxMv << kMapStepMv << 4980 << "" << true << kMapMaxMv << "5,000";
    QTest::newRow("off-grid stops at max")
        << kMapMaxMv << kMapStepMv << 4990 << "" << true << kMapMaxMv << "5,000";
    QTest::newRow("down at min stays") << kMapMaxMv << kMapStepMv << 0 << "" << false << 0 << "0";
    QTest::newRow("down across grouping")
        << kMapMaxMv << kMapStepMv << 1000 << "" << false << 980 << "980";
    QTest::newRow("typed value first")
        << kMapMaxMv << kMapStepMv << 100 << "1000" << true << 1020 << "1,020";
    QTest::newRow("unusable text steps from position")
        << kMapMaxMv << kMapStepMv << 100 << "abc" << true << 120 << "120";
    QTest::newRow("no overflow at int max")
        << INT_MAX << kAxisStepRpm << INT_MAX - 1 << "" << true << INT_MAX << "2,147,483,647";
}

void TestControls::upDownSteps() {
    QFETCH(int, max);
    QFETCH(int, step);
    QFETCH(int, start);
    QFETCH(QString, typed);
    QFETCH(bool, up);
    QFETCH(int, expected);
    QFETCH(QString, text);

    Field f(0, max, step, start);
    if (!typed.isEmpty())
        f.edit->setText(typed);
    QSignalSpy clicks(f.upDown, &UpDown::Clicked);

    f.upDown->Step(up);
    QCOMPARE(f.upDown->Position(), expected);
    QCOMPARE(f.edit->text(), text);
    // A step held at the end of the range still reports its click.
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toBool(), up);

    f.upDown->Step(up);
    QVERIFY(f.upDown->Position() >= 0 && f.upDown->Position() <= max);
    QCOMPARE(clicks.count(), 2);
}

void TestControls::upDownRangeClamps_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("newMin");
    QTest::addColumn<int>("newMax");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("text");

    QTest::newRow("above new max") << 150 << "" << 0 << 100 << 100 << "100";
    QTest::newRow("below new min") << 150 << "" << 200 << 5000 << 200 << "200";
    QTest::newRow("inside keeps typing") << 50 << "70" << 0 << 100 << 70 << "70";
    QTest::newRow("reversed pair") << 150 << "" << 100 << 0 << 100 << "100";
}

void TestControls::upDownRangeClamps() {
    QFETCH(int, position);
    QFETCH(QString, typed);
    QFETCH(int, newMin);
    QFETCH(int, newMax);
    QFETCH(int, expected);
    QFETCH(QString, text);

    Field f(0, kMapMaxMv, kMapStepMv, position);
    if (!typed.isEmpty())
        f.edit->setText(typed);
    QSignalSpy clicks(f.upDown, &UpDown::Clicked);

    f.upDown->SetRange(newMin, newMax);
    QCOMPARE(f.upDown->Min(), std::min(newMin, newMax));
    QCOMPARE(f.upDown->Max(), std::max(newMin, newMax));
    QCOMPARE(f.edit->text(), text);
    QCOMPARE(f.upDown->Position(), expected);
    QCOMPARE(clicks.count(), 0);
}

void TestControls::upDownShowsGrouping_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("480") << us << 480 << "480";
    QTest::newRow("999") << us << 999 << "999";
    QTest::newRow("1000") << us << 1000 << "1,000";
    QTest::newRow("4470") << us << 4470 << "4,470";
    QTest::newRow("25000") << us << 25000 << "25,000";
    QTest::newRow("clamped to max") << us << 30000 << "25,000";
    QTest::newRow("German 4470") << de << 4470 << "4.470";
    QTest::newRow("German 480") << de << 480 << "480";
}

void TestControls::upDownShowsGrouping() {
    QFETCH(QLocale, locale);
    QFETCH(int, value);
    QFETCH(QString, text);
    QLocale::setDefault(locale);

    Field f(0, kAxisMaxRpm, kAxisStepRpm, 0);
    QSignalSpy clicks(f.upDown, &UpDown::Clicked);
    f.upDown->SetPosition(value);
    QCOMPARE(f.edit->text(), text);
    QCOMPARE(clicks.count(), 0);

    // What the up-down writes it must read back, or a shown value would be lost on commit.
    f.upDown->SetPosition(0);
    f.edit->setText(text);
    QCOMPARE(f.upDown->Position(), std::min(value, kAxisMaxRpm));
}

void TestControls::upDownArrowKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("clicks");

    QTest::newRow("up") << int(Qt::Key_Up) << Qt::KeyboardModifiers() << true << 2610 << 1;
    QTest::newRow("down") << int(Qt::Key_Down) << Qt::KeyboardModifiers() << true << 2590 << 1;
    QTest::newRow("keypad up") << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                               << true << 2610 << 1;
    QTest::newRow("shift up is not a step")
        << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::ShiftModifier) << true << 2600 << 0;
    QTest::newRow("disabled up-down")
        << int(Qt::Key_Up) << Qt::KeyboardModifiers() << false << 2600 << 0;
}

void TestControls::upDownArrowKeys() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, enabled);
    QFETCH(int, expected);
    QFETCH(int, clicks);

    Field f(2500, 4900, 10, 2600);
    f.upDown->setEnabled(enabled);
    QSignalSpy spy(f.upDown, &UpDown::Clicked);

    QTest::keyClick(f.edit, Qt::Key(key), modifiers);
    QCOMPARE(spy.count(), clicks);
    QCOMPARE(f.upDown->Position(), expected);
    QCOMPARE(f.edit->text(), QLocale().toString(expected));
    // A key that stepped must not travel on to the window as well.
    if (clicks > 0)
        QVERIFY(!f.host.keys.contains(key));
}

void TestControls::upDownMouse() {
    Field f(0, kMapMaxMv, kMapStepMv, 1000);
    QSignalSpy clicks(f.upDown, &UpDown::Clicked);
    QSignalSpy released(f.upDown, &UpDown::MouseReleased);

    QTest::mousePress(f.upDown, Qt::LeftButton, {}, kUpDownUpper);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toBool(), true);
    QCOMPARE(f.edit->text(), QString("1,020"));
    QCOMPARE(released.count(), 0);
    QVERIFY(f.upDown->IsRepeating());
    QCOMPARE(f.upDown->RepeatIntervalMs(), UpDown::kFirstRepeatMs);

    f.upDown->RepeatTick();
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(f.upDown->Position(), 1040);
    QCOMPARE(f.upDown->RepeatIntervalMs(), UpDown::kRepeatMs);

    // Dragged off the half, the repeat pauses; back on, it goes on.
    QTest::mouseMove(f.upDown, kUpDownLower);
    f.upDown->RepeatTick();
    QCOMPARE(clicks.count(), 2);
    QTest::mouseMove(f.upDown, kUpDownUpper);
    f.upDown->RepeatTick();
    QCOMPARE(clicks.count(), 3);

    // Released anywhere, the mouse-up is reported and the repeat ends.
    QTest::mouseRelease(f.upDown, Qt::LeftButton, {}, kOutside);
    QCOMPARE(released.count(), 1);
    QVERIFY(!f.upDown->IsRepeating());
    f.upDown->RepeatTick();
    QCOMPARE(clicks.count(), 3);

    QTest::mouseClick(f.upDown, Qt::LeftButton, {}, kUpDownLower);
    QCOMPARE(clicks.count(), 4);
    QCOMPARE(clicks.at(3).at(0).toBool(), false);
    QCOMPARE(f.upDown->Position(), 1040);
    QCOMPARE(released.count(), 2);
}

void TestControls::upDownHoldRepeats() {
    Field f(0, kMapMaxMv, kMapStepMv, 0);
    QSignalSpy clicks(f.upDown, &UpDown::Clicked);

    QTest::mousePress(f.upDown, Qt::LeftButton, {}, kUpDownUpper);
    QTRY_VERIFY_WITH_TIMEOUT(clicks.count() >= 3, kHoldTimeoutMs);
    QTest::mouseRelease(f.upDown, Qt::LeftButton, {}, kUpDownUpper);
    const int held = clicks.count();
    QCOMPARE(f.upDown->Position(), held * kMapStepMv);

    QTest::qWait(kQuietSpanMs);
    QCOMPARE(clicks.count(), held);
}

void TestControls::upDownForgetsEditOnDestroy() {
    Field f(0, kMapMaxMv, kMapStepMv, 100);
    delete f.edit;
    f.edit = nullptr;
    QCOMPARE(f.upDown->Associate(), nullptr);
    f.upDown->Step(true);
    QCOMPARE(f.upDown->Position(), 120);
}

// --- Gauge -------------------------------------------------------------------------------

void TestControls::gaugeClamps_data() {
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("percent");

    QTest::newRow("inside") << 100 << 50 << 50 << 50;
    QTest::newRow("above maximum") << 100 << 150 << 100 << 100;
    QTest::newRow("negative") << 100 << -5 << 0 << 0;
    QTest::newRow("blocks truncate") << 7 << 3 << 3 << 42;
    QTest::newRow("saving countdown") << 800 << 799 << 799 << 99;
    QTest::newRow("zero maximum") << 0 << 5 << 0 << 0;
    QTest::newRow("negative maximum") << -3 << 5 << 0 << 0;
    QTest::newRow("large values") << INT_MAX << INT_MAX - 1 << INT_MAX - 1 << 99;
}

void TestControls::gaugeClamps() {
    QFETCH(int, maximum);
    QFETCH(int, progress);
    QFETCH(int, expected);
    QFETCH(int, percent);

    Gauge g;
    g.SetMaximum(maximum);
    g.SetProgress(progress);
    QCOMPARE(g.Progress(), expected);
    QCOMPARE(g.Percent(), percent);
}

void TestControls::gaugeLowerMaximumClampsProgress() {
    Gauge g;
    g.SetMaximum(7);
    g.SetProgress(7);
    g.SetMaximum(5);
    QCOMPARE(g.Maximum(), 5);
    QCOMPARE(g.Progress(), 5);
    g.SetMaximum(800);
    QCOMPARE(g.Progress(), 5);
}

void TestControls::gaugePaintsBar() {
    constexpr int kInnerPx = 100;
    Gauge g;
    g.resize(kInnerPx + 2, 18);
    g.SetBarColor(Qt::magenta);
    g.SetMaximum(4);
    g.SetProgress(1);

    const QImage face = g.grab().toImage();
    QCOMPARE(face.pixelColor(10, 9), QColor(Qt::magenta));
    QCOMPARE(face.pixelColor(60, 9), QColor(Qt::white));

    g.SetProgress(4);
    QCOMPARE(g.grab().toImage().pixelColor(kInnerPx, 9), QColor(Qt::magenta));
}

void TestControls::gaugeRepaintsOnlyOnChange() {
    // Counts paint events reaching a widget.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                ++paints;
            return false;
        }
    } counter;

    Gauge g;
    g.resize(100, 18);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.SetProgress(30);
    // Let the first paints go by before counting.
    QTest::qWait(kSettleMs);
    g.installEventFilter(&counter);

    g.SetProgress(30);
    g.SetMaximum(100);
    g.SetShowText(false);
    g.SetBarColor(g.BarColor());
    QTest::qWait(kSettleMs);
    QCOMPARE(counter.paints, 0);

    g.SetProgress(31);
    QTRY_VERIFY(counter.paints > 0);
    g.removeEventFilter(&counter);
}

// --- SpinButton --------------------------------------------------------------------------

void TestControls::spinButtonRelease_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("ups");
    QTest::addColumn<int>("downs");

    QTest::newRow("up half") << kSpinUpper << kSpinUpper << 1 << 0;
    QTest::newRow("down half") << kSpinLower << kSpinLower << 0 << 1;
    QTest::newRow("down dragged off") << kSpinLower << kOutside << 0 << 0;
    QTest::newRow("down dragged to up half") << kSpinLower << kSpinUpper << 0 << 0;
    QTest::newRow("up dragged off") << kSpinUpper << kOutside << 0 << 0;
}

void TestControls::spinButtonRelease() {
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(int, ups);
    QFETCH(int, downs);

    SpinButton s;
    s.show();
    QSignalSpy up(&s, &SpinButton::UpClick);
    QSignalSpy down(&s, &SpinButton::DownClick);

    QTest::mousePress(&s, Qt::LeftButton, {}, press);
    // Nothing fires on the press itself.
    QCOMPARE(up.count() + down.count(), 0);
    QTest::mouseMove(&s, release);
    QTest::mouseRelease(&s, Qt::LeftButton, {}, release);
    QCOMPARE(up.count(), ups);
    QCOMPARE(down.count(), downs);
    QVERIFY(!s.IsRepeating());
}

void TestControls::spinButtonHoldRepeats() {
    SpinButton s;
    s.show();
    QSignalSpy up(&s, &SpinButton::UpClick);
    QSignalSpy down(&s, &SpinButton::DownClick);

    QTest::mousePress(&s, Qt::LeftButton, {}, kSpinLower);
    QCOMPARE(s.RepeatIntervalMs(), SpinButton::kFirstRepeatMs);
    s.RepeatTick();
    QCOMPARE(down.count(), 1);
    QCOMPARE(s.RepeatIntervalMs(), SpinButton::kRepeatMs);
    s.RepeatTick();
    QCOMPARE(down.count(), 2);

    QTest::mouseMove(&s, kOutside);
    s.RepeatTick();
    QCOMPARE(down.count(), 2);
    QTest::mouseMove(&s, kSpinLower);
    s.RepeatTick();
    QCOMPARE(down.count(), 3);

    QTest::mouseRelease(&s, Qt::LeftButton, {}, kSpinLower);
    QCOMPARE(down.count(), 4);
    QCOMPARE(up.count(), 0);
    QVERIFY(!s.IsRepeating());
    s.RepeatTick();
    QCOMPARE(down.count(), 4);
}

void TestControls::spinButtonRepeatsInRealTime() {
    SpinButton s;
    s.show();
    QSignalSpy up(&s, &SpinButton::UpClick);

    QTest::mousePress(&s, Qt::LeftButton, {}, kSpinUpper);
    QTRY_VERIFY_WITH_TIMEOUT(up.count() >= 3, kHoldTimeoutMs);
    QTest::mouseRelease(&s, Qt::LeftButton, {}, kOutside);
    const int held = up.count();
    QTest::qWait(kQuietSpanMs);
    QCOMPARE(up.count(), held);
}

void TestControls::pressEndsWhenInputTakenAway_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("modal dialog") << "modal";
    QTest::newRow("hidden") << "hide";
    QTest::newRow("disabled") << "disable";
}

// A press whose release will never arrive must not leave the control stepping on its own.
void TestControls::pressEndsWhenInputTakenAway() {
    QFETCH(QString, how);

    Field f(0, kMapMaxMv, kMapStepMv, 0);
    SpinButton spin(&f.host);
    spin.move(0, 0);
    spin.show();
    QSignalSpy steps(f.upDown, &UpDown::Clicked);
    QSignalSpy ups(&spin, &SpinButton::UpClick);
    QTest::mousePress(f.upDown, Qt::LeftButton, {}, kUpDownUpper);
    QTest::mousePress(&spin, Qt::LeftButton, {}, kSpinUpper);
    QCOMPARE(steps.count(), 1);

    std::unique_ptr<QDialog> dialog;
    if (how == "modal") {
        dialog = std::make_unique<QDialog>();
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
    } else if (how == "hide") {
        f.upDown->hide();
        spin.hide();
    } else {
        f.upDown->setEnabled(false);
        spin.setEnabled(false);
    }

    f.upDown->RepeatTick();
    spin.RepeatTick();
    QCOMPARE(steps.count(), 1);
    QCOMPARE(ups.count(), 0);
    QVERIFY(!f.upDown->IsRepeating());
    QVERIFY(!spin.IsRepeating());
}

QTEST_MAIN(TestControls)
#include "test_controls.moc"
