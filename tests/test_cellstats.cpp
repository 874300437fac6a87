// Cell statistics: which map cells a run used, for how long, and how well each servo followed
// there, from small sample sequences with the figures worked out by hand.

#include "CellStats.h"
#include "Recorder.h"

#include <QTest>

using namespace zyrk;

namespace {

// One step of a run: a reply (servo 1 and 2 in the same cell unless told), or a silence.
struct Step {
    qint64 atMs = 0;
    int tp = 40;
    int row = 0;
    int column = 0;
    int desired1 = 0;
    int measured1 = 0;
    int state2 = 1; // servo 2's state byte; 0 is off
    bool silence = false;
};

Step Reply(qint64 at, int row, int column, int desired, int measured) {
    Step s;
    s.atMs = at;
    s.row = row;
    s.column = column;
    s.desired1 = desired;
    s.measured1 = measured;
    return s;
}

Step Silent() {
    Step s;
    s.silence = true;
    return s;
}

MonitorSample ToSample(const Step& s) {
    MonitorSample m;
    m.timeMs = s.atMs;
    m.tpPercent = static_cast<uint8_t>(s.tp);
    m.servoDesiredMv = {static_cast<uint16_t>(s.desired1), 1000};
    m.servoMeasuredMv = {static_cast<uint16_t>(s.measured1), 990};
    m.servoState = {1, static_cast<uint8_t>(s.state2)};
    m.liveRow = {static_cast<uint8_t>(s.row), static_cast<uint8_t>(s.row)};
    m.liveColumn = {static_cast<uint8_t>(s.column), static_cast<uint8_t>(s.column)};
    return m;
}

// An expected visited cell: servo (0/1), row, column and its figures.
struct Expect {
    int servo;
    int row;
    int column;
    CellFigures figures;
};

CellFigures Fig(qint64 hits, qint64 ms, qint64 sum, qint64 absSum, int maxAbs) {
    CellFigures f;
    f.hits = hits;
    f.ms = ms;
    f.errorSumMv = sum;
    f.errorAbsSumMv = absSum;
    f.errorMaxAbsMv = maxAbs;
    return f;
}

void Check(const CellStats& stats, const std::vector<Expect>& expected) {
    for (int s = 0; s < kServoCount; ++s) {
        for (int r = 0; r < kMapRows; ++r) {
            for (int c = 0; c < kMapColumns; ++c) {
                CellFigures want;
                for (const Expect& e : expected)
                    if (e.servo == s && e.row == r && e.column == c)
                        want = e.figures;
                const CellFigures& got = stats.Cell(s, r, c);
                const QByteArray where = QByteArray("servo ") + QByteArray::number(s + 1) +
                                         " cell " + QByteArray::number(r) + "," +
                                         QByteArray::number(c);
                QVERIFY2(got == want, (where + " hits " + QByteArray::number(got.hits) + " ms " +
                                       QByteArray::number(got.ms) + " sum " +
                                       QByteArray::number(got.errorSumMv) + " abs " +
                                       QByteArray::number(got.errorAbsSumMv) + " max " +
                                       QByteArray::number(got.errorMaxAbsMv))
                                          .constData());
            }
        }
    }
}

} // namespace

Q_DECLARE_METATYPE(std::vector<Step>)
Q_DECLARE_METATYPE(std::vector<Expect>)

class TestCellStats : public QObject {
    Q_OBJECT

  private slots:
    void Sequences_data();
    void Sequences();
    void FromLog();
    void ClearStartsOver();
};

void TestCellStats::Sequences_data() {
    QTest::addColumn<std::vector<Step>>("steps");
    QTest::addColumn<std::vector<Expect>>("expected");

    // Three replies in one cell: the last has no next reply, so no time yet. Servo 2 follows
    // 10 mV low throughout.
    QTest::newRow("dwell") << std::vector<Step>{Reply(0, 6, 3, 1000, 990),
                                                Reply(200, 6, 3, 1000, 1020),
                                                Reply(450, 6, 3, 1000, 970)}
                           << std::vector<Expect>{{0, 6, 3, Fig(3, 450, 20, 60, 30)},
                                                  {1, 6, 3, Fig(3, 450, 30, 30, 10)}};
    // The time of a reply belongs to its cell, up to the next reply wherever that is.
    QTest::newRow("move") << std::vector<Step>{Reply(0, 1, 1, 500, 500), Reply(300, 1, 2, 500, 400),
                                               Reply(400, 1, 1, 500, 600)}
                          << std::vector<Expect>{{0, 1, 1, Fig(2, 300, -100, 100, 100)},
                                                 {0, 1, 2, Fig(1, 100, 100, 100, 100)},
                                                 {1, 1, 1, Fig(2, 300, 20, 20, 10)},
                                                 {1, 1, 2, Fig(1, 100, 10, 10, 10)}};
    // Longer than the silence limit between two replies: the first gets nothing for it.
    QTest::newRow("gap") << std::vector<Step>{Reply(0, 2, 2, 0, 0), Reply(1000, 2, 2, 0, 0),
                                              Reply(1000 + kNoAnswerMs + 1, 2, 2, 0, 0),
                                              Reply(1100 + kNoAnswerMs + 1, 2, 2, 0, 0)}
                         << std::vector<Expect>{{0, 2, 2, Fig(4, 1100, 0, 0, 0)},
                                                {1, 2, 2, Fig(4, 1100, 40, 40, 10)}};
    // Exactly the limit still counts.
    QTest::newRow("gap at the limit")
        << std::vector<Step>{Reply(0, 2, 2, 0, 0), Reply(kNoAnswerMs, 2, 2, 0, 0)}
        << std::vector<Expect>{{0, 2, 2, Fig(2, kNoAnswerMs, 0, 0, 0)},
                               {1, 2, 2, Fig(2, kNoAnswerMs, 20, 20, 10)}};
    // A reported silence ends the reply before it, however short.
    QTest::newRow("silence") << std::vector<Step>{Reply(0, 0, 0, 0, 0), Silent(),
                                                  Reply(100, 0, 0, 0, 0), Reply(300, 0, 0, 0, 0)}
                             << std::vector<Expect>{{0, 0, 0, Fig(3, 200, 0, 0, 0)},
                                                    {1, 0, 0, Fig(3, 200, 30, 30, 10)}};
    // A throttle sensor in error counts nowhere, and its own time is nobody's; the reply
    // before it keeps the time up to it.
    {
        Step bad = Reply(200, 9, 14, 4000, 0);
        bad.tp = 101;
        QTest::newRow("sensor error")
            << std::vector<Step>{Reply(0, 4, 5, 100, 90), bad, Reply(500, 4, 5, 100, 90),
                                 Reply(600, 4, 5, 100, 90)}
            << std::vector<Expect>{{0, 4, 5, Fig(3, 300, 30, 30, 10)},
                                   {1, 4, 5, Fig(3, 300, 30, 30, 10)}};
    }
    // 100 % is a valid opening, not an error.
    {
        Step full = Reply(0, 9, 0, 10, 0);
        full.tp = 100;
        QTest::newRow("full throttle") << std::vector<Step>{full}
                                       << std::vector<Expect>{{0, 9, 0, Fig(1, 0, 10, 10, 10)},
                                                              {1, 9, 0, Fig(1, 0, 10, 10, 10)}};
    }
    // Servo 2 off in the middle reply: servo 2 counts it nowhere and gives its earlier reply
    // the time up to it; servo 1 counts all three.
    {
        Step off = Reply(100, 3, 3, 50, 50);
        off.state2 = 0;
        QTest::newRow("servo disabled")
            << std::vector<Step>{Reply(0, 3, 3, 50, 50), off, Reply(300, 3, 3, 50, 50)}
            << std::vector<Expect>{{0, 3, 3, Fig(3, 300, 0, 0, 0)},
                                   {1, 3, 3, Fig(2, 100, 20, 20, 10)}};
    }
    // The speed axis was changed mid-log: the same speed lands in another column from then
    // on. Each reply counts in the cell it names, never in one found again from today's axis.
    QTest::newRow("axis change") << std::vector<Step>{Reply(0, 5, 7, 0, 0), Reply(100, 5, 7, 0, 0),
                                                      Reply(200, 5, 8, 0, 0),
                                                      Reply(300, 5, 8, 0, 0)}
                                 << std::vector<Expect>{{0, 5, 7, Fig(2, 200, 0, 0, 0)},
                                                        {0, 5, 8, Fig(2, 100, 0, 0, 0)},
                                                        {1, 5, 7, Fig(2, 200, 20, 20, 10)},
                                                        {1, 5, 8, Fig(2, 100, 20, 20, 10)}};
    // A clock that steps back gives the reply before it no time, never a negative one.
    QTest::newRow("clock back") << std::vector<Step>{Reply(500, 0, 1, 0, 0), Reply(400, 0, 1, 0, 0),
                                                     Reply(450, 0, 1, 0, 0)}
                                << std::vector<Expect>{{0, 0, 1, Fig(3, 50, 0, 0, 0)},
                                                       {1, 0, 1, Fig(3, 50, 30, 30, 10)}};
    // A cell outside the map (a damaged or foreign log) counts nowhere.
    QTest::newRow("cell outside the map")
        << std::vector<Step>{Reply(0, 10, 0, 0, 0), Reply(100, 0, 15, 0, 0)}
        << std::vector<Expect>{};
    // The largest error and signed mean keep their signs apart.
    QTest::newRow("error signs") << std::vector<Step>{Reply(0, 7, 14, 3000, 3250),
                                                      Reply(100, 7, 14, 3000, 2900),
                                                      Reply(200, 7, 14, 65535, 0)}
                                 << std::vector<Expect>{
                                        {0, 7, 14, Fig(3, 200, 65385, 65885, 65535)},
                                        {1, 7, 14, Fig(3, 200, 30, 30, 10)}};
}

void TestCellStats::Sequences() {
    QFETCH(std::vector<Step>, steps);
    QFETCH(std::vector<Expect>, expected);
    CellStats stats;
    for (const Step& s : steps) {
        if (s.silence)
            stats.Silence();
        else
            stats.Add(ToSample(s), s.atMs);
    }
    Check(stats, expected);
}

// A log as read: start and marker rows neither count nor break the time; a "no answer" row
// does; the time comes from the time since the start, not the wall clock (which here jumps).
void TestCellStats::FromLog() {
    std::vector<LogRow> rows;
    auto add = [&](LogEvent e, qint64 since, const Step& s = Step()) {
        LogRow r;
        r.event = e;
        r.sinceMs = since;
        r.timeMs = 1781000000000 + (since > 300 ? 3600000 : 0) + since;
        if (e == LogEvent::Sample)
            r.sample = ToSample(s);
        r.sample.timeMs = r.timeMs;
        rows.push_back(r);
    };
    add(LogEvent::Start, 0);
    add(LogEvent::Sample, 0, Reply(0, 2, 4, 1000, 900));
    add(LogEvent::Marker, 150);
    add(LogEvent::Sample, 330, Reply(0, 2, 4, 1000, 1100));
    add(LogEvent::NoAnswer, 1700);
    add(LogEvent::Sample, 5000, Reply(0, 3, 4, 1000, 1000));
    add(LogEvent::Sample, 5330, Reply(0, 3, 4, 1000, 1000));
    const CellStats stats = CellStatsOfLog(rows);
    Check(stats, {{0, 2, 4, Fig(2, 330, 0, 200, 100)},
                  {0, 3, 4, Fig(2, 330, 0, 0, 0)},
                  {1, 2, 4, Fig(2, 330, 20, 20, 10)},
                  {1, 3, 4, Fig(2, 330, 20, 20, 10)}});
    QCOMPARE(stats.Samples(), 4);
    QCOMPARE(stats.Counted(0), 4);
    QCOMPARE(stats.MaxHits(0), 2);
    QCOMPARE(stats.MaxMs(1), 330);
    QCOMPARE(stats.MaxErrorMeanAbsMv(0), 100.0);
    QCOMPARE(stats.Cell(0, 2, 4).ErrorMeanAbsMv(), 100.0);
    QCOMPARE(stats.Cell(0, 2, 4).ErrorMeanMv(), 0.0);
    QCOMPARE(stats.Cell(0, 2, 4).Seconds(), 0.33);
}

// Clearing forgets the figures and the waiting reply (its time must not land after the
// clear), and still moves the revision so views redraw.
void TestCellStats::ClearStartsOver() {
    CellStats stats;
    stats.Add(ToSample(Reply(0, 1, 1, 0, 0)), 0);
    const quint64 before = stats.Revision();
    stats.Clear();
    QVERIFY(stats.Revision() > before);
    stats.Add(ToSample(Reply(100, 1, 1, 0, 0)), 100);
    stats.Add(ToSample(Reply(200, 1, 1, 0, 0)), 200);
    Check(stats, {{0, 1, 1, Fig(2, 100, 0, 0, 0)}, {1, 1, 1, Fig(2, 100, 20, 20, 10)}});
}

QTEST_GUILESS_MAIN(TestCellStats)
#include "test_cellstats.moc"
