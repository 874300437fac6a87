// A recording over a pseudo-terminal: the link on the real serial-port class talks to
// zyrk-sim, the recorder logs what it hands out, and the log's rows are checked against the
// replies the simulated unit sends (the same unit, run in-process, replays them exactly).

#include "LinkFixture.h"
#include "Recorder.h"
#include "SerialPort.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <map>

using namespace zyrk;

namespace {

constexpr int kProcessWaitMs = 5000;
constexpr int kRecordTicks = 60; // a little over three seconds of the 55 ms timer
constexpr int kMinRows = 5;      // a reply every sixth tick, with room for a loaded machine

// zyrk-sim on a pseudo-terminal with a link at path; stopped by the destructor, and with
// --exit-with-stdin also when this test dies.
struct Simulator {
    QProcess process;
    ~Simulator() {
        process.terminate();
        if (!process.waitForFinished(kProcessWaitMs))
            process.kill();
    }
    bool Start(const QString& link) {
        process.setProgram(QStringLiteral(ZYRK_SIM_PATH));
        process.setArguments({QStringLiteral("--exit-with-stdin"), QStringLiteral("--link"), link});
        process.start();
        QElapsedTimer timer;
        timer.start();
        while (process.waitForStarted(kProcessWaitMs) && !process.canReadLine() &&
               timer.elapsed() < kProcessWaitMs)
            process.waitForReadyRead(kProcessWaitMs);
        return process.canReadLine();
    }
};

// What the simulated unit reports for its first n replies, decoded by a link like the one
// under test (same image, so the live map cell agrees too), keyed by the unit's reply count.
std::map<int, MonitorSample> ReplayUnit(int replies) {
    LinkRig rig;
    rig.link.OpenPort();
    std::map<int, MonitorSample> out;
    rig.link.AddSampleObserver(
        [&out](const MonitorSample& s) { out[static_cast<int>(out.size()) + 1] = s; });
    for (int t = 0; t < replies * kMonitorEveryTicks * 2 && static_cast<int>(out.size()) < replies;
         ++t)
        rig.link.Tick();
    return out;
}

} // namespace

class TestLogE2e : public QObject {
    Q_OBJECT

  private slots:
    void recordsWhatTheUnitSent();
};

void TestLogE2e::recordsWhatTheUnitSent() {
    QTemporaryDir dir;
    const QString tty = dir.filePath(QStringLiteral("tty"));
    Simulator sim;
    QVERIFY(sim.Start(tty));

    ParamImage image;
    MessageTable messages;
    messages.Fill(LangEnglish);
    FakeHost host(image);
    SerialPort port;
    Link link(port, image, messages, host);
    link.Names().SetPath(1, tty);
    link.ComIndex = 0;
    link.SilentTicks = kSilentLimit;
    link.OpenPort();
    QVERIFY(port.IsOpen());

    ChartFeed feed;
    Recorder recorder(feed);
    link.AddSampleObserver([&recorder](const MonitorSample& s) { recorder.AddSample(s); });
    const qint64 startMs = QDateTime::currentMSecsSinceEpoch();
    QVERIFY(recorder.Start(dir.filePath(QStringLiteral("logs")), startMs));
    for (int t = 0; t < kRecordTicks; ++t) {
        QTest::qWait(kTickMs);
        link.Tick();
        recorder.Tick(QDateTime::currentMSecsSinceEpoch());
    }
    recorder.Stop();

    const LogReadResult read = ReadLog(recorder.FilePath());
    QCOMPARE(read.error, LogReadError::None);
    QVERIFY(!read.rows.empty());
    QCOMPARE(read.rows.front().event, LogEvent::Start);
    std::vector<LogRow> samples;
    for (const LogRow& r : read.rows) {
        if (r.event == LogEvent::Sample)
            samples.push_back(r);
    }
    QCOMPARE(static_cast<qint64>(samples.size()), recorder.Rows());
    QVERIFY2(samples.size() >= size_t(kMinRows), qPrintable(QString::number(samples.size())));

    // The unit's first test value counts its replies: that says which reply each row is.
    const std::map<int, MonitorSample> sent = ReplayUnit(static_cast<int>(samples.size()) + 20);
    int previous = 0;
    qint64 previousMs = startMs;
    for (const LogRow& row : samples) {
        const int reply = row.sample.test[0];
        QVERIFY2(reply > previous, "rows in the order the unit sent them, none twice");
        previous = reply;
        QVERIFY(sent.count(reply) == 1);
        const MonitorSample& want = sent.at(reply);
        MonitorSample got = row.sample;
        got.timeMs = want.timeMs; // the replay runs at another time; every other field counts
        QCOMPARE(got, want);
        QVERIFY(row.timeMs >= previousMs);
        QCOMPARE(row.sinceMs, row.timeMs - startMs);
        previousMs = row.timeMs;
    }
    // The unit moves: a log of the same row over and over would pass the checks above only
    // if the replay were broken the same way.
    QVERIFY(samples.front().sample.rpm != samples.back().sample.rpm);
}

QTEST_GUILESS_MAIN(TestLogE2e)
#include "test_log_e2e.moc"
