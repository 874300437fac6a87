// The data log: the CSV writer and reader, the chart feed's budget and the recorder's
// handling of silence, markers and failing writes.

#include "ChartFeed.h"
#include "LogFile.h"
#include "Recorder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace zyrk;

Q_DECLARE_METATYPE(zyrk::LogRow)
Q_DECLARE_METATYPE(zyrk::LogReadError)

namespace {

constexpr qint64 kT0 = 1781000000000; // a June afternoon of 2026, in summer time in Europe
constexpr qint64 kReplyMs = 330;      // about the unit's reply period

MonitorSample Sample(qint64 timeMs, int rpm = 3000) {
    MonitorSample s;
    s.timeMs = timeMs;
    s.rpm = static_cast<uint16_t>(rpm);
    s.tpPercent = 40;
    s.tpsMv = 2100;
    s.supplyMv = 13750;
    s.servoDesiredMv = {1200, 2400};
    s.servoMeasuredMv = {1190, 2410};
    s.servoState = {1, 0};
    s.programCount = 12;
    s.unitVersion = 56;
    s.liveRow = {3, 4};
    s.liveColumn = {7, 8};
    for (size_t i = 0; i < s.test.size(); ++i)
        s.test[i] = static_cast<uint16_t>(100 * i);
    return s;
}

QByteArray HeaderAndRows(const std::vector<LogRow>& rows) {
    QByteArray out = FormatLogHeader();
    for (const LogRow& r : rows)
        out += FormatLogRow(r);
    return out;
}

LogRow StartRow() {
    LogRow r;
    r.event = LogEvent::Start;
    r.timeMs = kT0;
    return r;
}

LogRow SampleRow(qint64 sinceMs) {
    LogRow r;
    r.timeMs = kT0 + sinceMs;
    r.sinceMs = sinceMs;
    r.sample = Sample(r.timeMs);
    return r;
}

QStringList ReadLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

} // namespace

class TestLog : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void rowText();
    void damagedLog_data();
    void damagedLog();
    void recorderRowsMarkersAndSilence();
    void damagedRowsInTheMiddleAreSkipped();
    void oldSecondsLogStillOpens();
    void startKeepsTheChart();
    void longBadFieldQuotedShort();
    void onlyRegularFiles();
    void startFailure_data();
    void startFailure();
    void diskFullMidRun();
    void feedStaysWithinBudget();
    void feedFromLogKeepsBreaksAndMarkers();
};

void TestLog::initTestCase() {
    // A locale that writes decimal commas must not reach the file.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestLog::roundTrip_data() {
    QTest::addColumn<LogRow>("row");

    QTest::newRow("start row, empty note") << StartRow();
    QTest::newRow("ordinary sample") << SampleRow(12345);

    LogRow zero;
    zero.timeMs = kT0;
    zero.sample = MonitorSample{};
    zero.sample.timeMs = zero.timeMs; // the reader takes the sample's time from the row
    QTest::newRow("all zero at the very start") << zero;

    LogRow top = SampleRow(9LL * 24 * 3600 * 1000 + 999); // nine days and 999 ms in
    MonitorSample& m = top.sample;
    m.rpm = m.tpsMv = m.programCount = m.busyCountdown = 0xFFFF;
    m.tpPercent = 0xFF; // above 100: the sensor in error, written as the unit said it
    m.supplyMv = 3'000'000;
    m.servoDesiredMv = m.servoMeasuredMv = {0xFFFF, 0xFFFF};
    m.servoState = {0xFF, 0xFF};
    m.dataError = true;
    m.unitVersion = 0xFF;
    m.liveRow = m.liveColumn = {0xFF, 0xFF};
    m.test.fill(0xFFFF);
    QTest::newRow("every field at its top") << top;

    LogRow winter = SampleRow(1);
    winter.timeMs = 1766000000000; // December: another offset from UTC than kT0
    winter.sample.timeMs = winter.timeMs;
    QTest::newRow("winter time, 1 ms in") << winter;

    LogRow marker;
    marker.event = LogEvent::Marker;
    marker.timeMs = kT0 + 61000;
    marker.sinceMs = 61000;
    marker.marker = 2147483647;
    marker.note = QStringLiteral("bump, \"big\" one\r\nsecond line – Žluťoučký kůň");
    QTest::newRow("marker: quotes, comma, line break, UTF-8") << marker;

    LogRow silence;
    silence.event = LogEvent::NoAnswer;
    silence.timeMs = kT0 + 70000;
    silence.sinceMs = 70000;
    QTest::newRow("no answer") << silence;
}

void TestLog::roundTrip() {
    QFETCH(LogRow, row);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    {
        LogWriter writer;
        QVERIFY(writer.Open(path));
        QVERIFY(writer.Append(row));
        QVERIFY(writer.Append(SampleRow(row.sinceMs + kReplyMs))); // a row after it still reads
    }
    const LogReadResult read = ReadLog(path);
    QCOMPARE(read.error, LogReadError::None);
    QCOMPARE(read.rows.size(), size_t(2));
    const LogRow& back = read.rows[0];
    QCOMPARE(back.event, row.event);
    QCOMPARE(back.timeMs, row.timeMs);
    QCOMPARE(back.sinceMs, row.sinceMs);
    QCOMPARE(back.marker, row.marker);
    QCOMPARE(back.note, row.note);
    if (row.event == LogEvent::Sample)
        QCOMPARE(back.sample, row.sample);
    QCOMPARE(read.rows[1].sinceMs, row.sinceMs + kReplyMs);
}

void TestLog::rowText() {
    // What a spreadsheet or another program sees: header with units, ISO 8601 time with
    // milliseconds and offset, seconds with a decimal point, CR LF, RFC 4180 quoting.
    const QByteArray header = FormatLogHeader();
    QVERIFY(header.startsWith("time (ISO 8601),t [ms],event,marker,note,engine speed [RPM],"));
    QVERIFY(header.endsWith("test 8\r\n"));
    const QByteArray row = FormatLogRow(SampleRow(12345));
    const QList<QByteArray> fields = row.chopped(2).split(',');
    QCOMPARE(fields.size(), LogColumnCount());
    QVERIFY(QRegularExpression(
                QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}(Z|[+-]\d\d:\d\d)$)"))
                .match(QString::fromLatin1(fields[0]))
                .hasMatch());
    QCOMPARE(fields[1], QByteArray("12345")); // whole ms: no decimal separator to misread
    QCOMPARE(fields[8], QByteArray("13750"));
    QVERIFY(row.endsWith("\r\n"));
    QCOMPARE(CsvField(QStringLiteral("a \"b\", c")), QByteArray("\"a \"\"b\"\", c\""));
    QCOMPARE(CsvField(QStringLiteral("plain")), QByteArray("plain"));
}

void TestLog::damagedLog_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<LogReadError>("error");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("rowsKept");
    QTest::addColumn<QString>("column");

    const QByteArray good = HeaderAndRows({StartRow(), SampleRow(330)}); // lines 1..3
    QByteArray sample = FormatLogRow(SampleRow(660));

    QTest::newRow("some other CSV")
        << QByteArray("a,b,c\r\n1,2,3\r\n") << LogReadError::NotALog << 1 << 0 << QString();
    QTest::newRow("empty file") << QByteArray() << LogReadError::NotALog << 1 << 0 << QString();
    QTest::newRow("last row cut off by a crash")
        << good + sample.left(60) << LogReadError::CutOff << 4 << 2 << QString();
    QTest::newRow("a field missing") << good + sample.left(sample.lastIndexOf(',')) + "\r\n"
                                     << LogReadError::FieldCount << 4 << 2 << QString();
    QByteArray letters = sample;
    letters.replace(",3000,", ",3k00,");
    // The row after a damaged one is kept too.
    QTest::newRow("letters in a number") << good + letters + sample << LogReadError::BadValue << 4
                                         << 3 << QStringLiteral("engine speed [RPM]");
    QByteArray nul = sample;
    nul.replace(",3000,", QByteArray(",29\0 91,", 9));
    QTest::newRow("a NUL inside a number") << good + nul + sample << LogReadError::BadValue << 4
                                           << 3 << QStringLiteral("engine speed [RPM]");
    QByteArray tooBig = sample;
    tooBig.replace(",3000,", ",70000,");
    QTest::newRow("engine speed beyond a word") << good + tooBig << LogReadError::BadValue << 4 << 2
                                                << QStringLiteral("engine speed [RPM]");
    QByteArray comma = sample;
    comma.replace(",660,", ",0,660,");
    QTest::newRow("decimal comma")
        << good + comma << LogReadError::FieldCount << 4 << 2 << QString();
    LogRow m;
    m.event = LogEvent::Marker;
    m.timeMs = kT0 + 700;
    m.sinceMs = 700;
    m.marker = 1;
    m.note = QStringLiteral("two\nlines");
    const QByteArray marker = FormatLogRow(m); // lines 4 and 5
    QTest::newRow("damage after a note of two lines")
        << good + marker + letters << LogReadError::BadValue << 6 << 3
        << QStringLiteral("engine speed [RPM]");
    QTest::newRow("quote never closed") << good + marker.left(marker.indexOf('"') + 4) + "\r\n"
                                        << LogReadError::OpenQuote << 4 << 2 << QString();
    QByteArray stray = marker;
    stray.replace("lines\"", "lines\"x");
    QTest::newRow("text after a closing quote")
        << good + stray << LogReadError::BadValue << 4 << 2 << QStringLiteral("note");
    QByteArray valueOnMarker = marker;
    valueOnMarker.replace("lines\",", "lines\",5");
    QTest::newRow("a value on a marker row") << good + valueOnMarker << LogReadError::BadValue << 4
                                             << 2 << QStringLiteral("engine speed [RPM]");
    QByteArray badTime = sample;
    badTime.replace(0, 4, "20x6");
    QTest::newRow("a time that is none")
        << good + badTime << LogReadError::BadValue << 4 << 2 << QStringLiteral("time (ISO 8601)");
    QByteArray unknownEvent = sample;
    unknownEvent.replace(",,,", ",lap,,");
    QTest::newRow("an unknown event")
        << good + unknownEvent << LogReadError::BadValue << 4 << 2 << QStringLiteral("event");
}

void TestLog::damagedLog() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("damaged.csv"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    const LogReadResult read = ReadLog(path);
    QTEST(read.error, "error");
    QTEST(read.line, "line");
    QTEST(static_cast<int>(read.rows.size()), "rowsKept");
    QTEST(read.column, "column");
    if (!read.rows.empty())
        QCOMPARE(read.rows.front().event, LogEvent::Start);
}

void TestLog::recorderRowsMarkersAndSilence() {
    QTemporaryDir dir;
    ChartFeed feed;
    Recorder rec(feed);
    QCOMPARE(rec.AddMarker(kT0), 0); // no marker without a recording
    const QString folder = dir.filePath(QStringLiteral("logs/nested"));
    QVERIFY(rec.Start(folder, kT0, QStringLiteral("tune A.ign")));
    QVERIFY(rec.FilePath().startsWith(folder + QStringLiteral("/ZYRK log ")));

    qint64 t = kT0;
    for (int i = 0; i < 3; ++i)
        rec.AddSample(Sample(t += kReplyMs));
    QCOMPARE(rec.AddMarker(t + 10), 1);
    rec.Tick(t + kNoAnswerMs);     // not silent long enough yet
    rec.Tick(t + kNoAnswerMs + 1); // now it is: one break
    rec.Tick(t + 5000);            // still the same silence
    rec.AddSample(Sample(t += 6000));
    // A silence no tick saw (the window was busy) still breaks the run.
    rec.AddSample(Sample(t += 2000));
    QCOMPARE(rec.AddMarker(t + 1), 2);
    QCOMPARE(rec.Rows(), qint64(5));
    rec.Stop();
    QVERIFY(!rec.Recording());
    rec.AddSample(Sample(t += kReplyMs)); // after the stop: the chart only

    const LogReadResult read = ReadLog(rec.FilePath());
    QCOMPARE(read.error, LogReadError::None);
    QList<LogEvent> events;
    for (const LogRow& r : read.rows)
        events << r.event;
    using E = LogEvent;
    const QList<LogEvent> expected{E::Start,    E::Sample, E::Sample,   E::Sample, E::Marker,
                                   E::NoAnswer, E::Sample, E::NoAnswer, E::Sample, E::Marker};
    QCOMPARE(events, expected);
    QCOMPARE(read.rows[0].note, QStringLiteral("tune A.ign"));
    QCOMPARE(read.rows[9].marker, 2);
    QCOMPARE(read.rows[5].sinceMs, 3 * kReplyMs + kNoAnswerMs + 1);

    int gaps = 0;
    for (const ChartEntry& e : feed.Recent())
        gaps += e.kind == ChartEntry::Gap ? 1 : 0;
    QCOMPARE(gaps, 2);
    QCOMPARE(feed.Markers().size(), size_t(3)); // the recording's start and two markers
    QCOMPARE(feed.Markers().front().event, LogEvent::Start);
    QCOMPARE(feed.Recent().back().kind, ChartEntry::Point);
    QCOMPARE(feed.Recent().front().seconds, 0.33); // the chart's time is the log's
}

void TestLog::damagedRowsInTheMiddleAreSkipped() {
    QByteArray bytes = HeaderAndRows({StartRow(), SampleRow(330)}); // lines 1..3
    bytes += "garbage\r\n";                                         // line 4
    for (int i = 2; i < 30; ++i)
        bytes += FormatLogRow(SampleRow(330 * i)); // lines 5..32
    bytes += "more,garbage\r\n";                   // line 33
    bytes += FormatLogRow(SampleRow(330 * 31));    // line 34
    const LogReadResult read = ParseLog(bytes);
    QCOMPARE(read.rows.size(), size_t(2 + 28 + 1));
    QCOMPARE(read.skipped, qint64(2));
    QCOMPARE(read.skippedLines, (std::vector<int>{4, 33}));
    QCOMPARE(read.line, 4);
    QCOMPARE(read.rows.back().sinceMs, qint64(330 * 31));
}

void TestLog::oldSecondsLogStillOpens() {
    // Logs written before whole milliseconds had "t [s]" with a decimal point.
    QByteArray bytes = FormatLogHeader();
    bytes.replace("t [ms]", "t [s]");
    QByteArray row = FormatLogRow(SampleRow(12345));
    row.replace(",12345,", ",12.345,");
    const LogReadResult read = ParseLog(bytes + row);
    QCOMPARE(read.error, LogReadError::None);
    QCOMPARE(read.rows.size(), size_t(1));
    QCOMPARE(read.rows[0].sinceMs, qint64(12345));
    // And a new log never has a decimal separator in any number column.
    const QList<QByteArray> fields = FormatLogRow(SampleRow(12345)).chopped(2).split(',');
    for (qsizetype i = 1; i < fields.size(); ++i)
        QVERIFY2(!fields[i].contains('.'), fields[i].constData());
}

void TestLog::startKeepsTheChart() {
    QTemporaryDir dir;
    ChartFeed feed;
    Recorder rec(feed);
    qint64 t = kT0;
    for (int i = 0; i < 5; ++i)
        rec.AddSample(Sample(t += kReplyMs));
    QVERIFY(rec.StartFile(dir.filePath(QStringLiteral("a.csv")), t + 10));
    QCOMPARE(feed.Recent().size(), size_t(5)); // the history on screen stays
    QCOMPARE(feed.Markers().back().event, LogEvent::Start);
    QCOMPARE(MarkLabel(feed.Markers().back()), QStringLiteral("REC"));
}

void TestLog::longBadFieldQuotedShort() {
    QByteArray bytes = HeaderAndRows({StartRow()});
    QByteArray row = FormatLogRow(SampleRow(330));
    row.replace(",3000,", "," + QByteArray(1 << 20, 'x') + ",");
    const LogReadResult read = ParseLog(bytes + row + FormatLogRow(SampleRow(660)));
    QCOMPARE(read.error, LogReadError::BadValue);
    QVERIFY(read.detail.size() <= kExcerptChars + 3);
    QCOMPARE(read.rows.size(), size_t(2));
}

void TestLog::onlyRegularFiles() {
    QTemporaryDir dir;
    QCOMPARE(ReadLog(dir.path()).error, LogReadError::NotAFile);
    QCOMPARE(ReadLog(QStringLiteral("/dev/zero")).error, LogReadError::NotAFile);
}

void TestLog::startFailure_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<Recorder::Failure>("failure");
    QTest::newRow("read-only folder") << QStringLiteral("read-only") << Recorder::Failure::Create;
    QTest::newRow("folder path through a file")
        << QStringLiteral("through-file") << Recorder::Failure::Folder;
}

void TestLog::startFailure() {
    QFETCH(QString, how);
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("logs"));
    if (how == QStringLiteral("read-only")) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
#ifdef Q_OS_UNIX
        // Folder permissions do not bind the superuser (CI runs as root): there a folder of
        // a file system that takes no new files stands in for it.
        if (geteuid() == 0)
            folder = QStringLiteral("/proc/self");
#endif
    } else {
        QFile file(dir.filePath(QStringLiteral("plain")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        folder = dir.filePath(QStringLiteral("plain/logs"));
    }
    ChartFeed feed;
    Recorder rec(feed);
    QVERIFY(!rec.Start(folder, kT0));
    QVERIFY(!rec.Recording());
    QTEST(rec.LastFailure(), "failure");
    if (rec.LastFailure() == Recorder::Failure::Create)
        QVERIFY(!rec.ErrorText().isEmpty());
    rec.AddSample(Sample(kT0 + kReplyMs)); // the chart goes on without a log
    QCOMPARE(feed.Recent().size(), size_t(1));
    QFile::setPermissions(dir.filePath(QStringLiteral("logs")),
                          QFile::WriteOwner | QFile::ReadOwner | QFile::ExeOwner);
}

void TestLog::diskFullMidRun() {
#ifndef Q_OS_UNIX
    QSKIP("the file-size limit that stands in for a full disk is a Unix facility");
#else
    // A file-size limit makes the system refuse writes past it (EFBIG), for root as well:
    // the disk fills in the middle of the fourth sample row.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.csv"));
    const qint64 header = FormatLogHeader().size();
    LogRow start = StartRow();
    const qint64 startRow = FormatLogRow(start).size();
    const qint64 oneRow = FormatLogRow(SampleRow(kReplyMs)).size();
    const qint64 limit = header + startRow + 3 * oneRow + oneRow / 2;

    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(limit);
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);

    ChartFeed feed;
    Recorder rec(feed);
    const bool started = rec.StartFile(path, kT0);
    qint64 t = kT0;
    for (int i = 0; i < 6; ++i)
        rec.AddSample(Sample(t += kReplyMs));

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    QVERIFY(started);
    QVERIFY(!rec.Recording());
    QCOMPARE(rec.LastFailure(), Recorder::Failure::Write);
    QVERIFY(!rec.ErrorText().isEmpty());
    QVERIFY(rec.TakeStoppedByFailure());
    QVERIFY(!rec.TakeStoppedByFailure()); // reported once
    QCOMPARE(rec.Rows(), qint64(3));
    QCOMPARE(QFileInfo(path).size(), header + startRow + 3 * oneRow); // no half row
    const LogReadResult read = ReadLog(path);
    QCOMPARE(read.error, LogReadError::None);
    QCOMPARE(read.rows.size(), size_t(4));
    QCOMPARE(feed.Recent().size(), size_t(6)); // the chart saw every sample
    QCOMPARE(ReadLines(path).size(), 5);
#endif
}

void TestLog::feedStaysWithinBudget() {
    ChartFeed feed(100, 40);
    feed.Reset(kT0);
    qint64 t = kT0;
    for (int i = 0; i < 1000; ++i) {
        if (i == 500)
            feed.AddGap(t + 1);
        feed.AddSample(Sample(t += kReplyMs, i));
    }
    QCOMPARE(feed.Recent().size(), size_t(100));
    QCOMPARE(feed.NextSeq(), uint64_t(1001));
    QCOMPARE(feed.RecentFirstSeq(), uint64_t(901));
    QVERIFY(feed.Overview().size() <= 40);
    QVERIFY(feed.Overview().size() >= 20);
    // The overview spans the whole run, in order, and kept the break.
    QCOMPARE(feed.Overview().front().values[TraceRpm], 0.0f);
    QVERIFY(feed.Overview().back().seconds > 300);
    int gaps = 0;
    for (size_t i = 0; i < feed.Overview().size(); ++i) {
        gaps += feed.Overview()[i].kind == ChartEntry::Gap ? 1 : 0;
        if (i > 0)
            QVERIFY(feed.Overview()[i].seconds >= feed.Overview()[i - 1].seconds);
    }
    QCOMPARE(gaps, 1);
}

void TestLog::feedFromLogKeepsBreaksAndMarkers() {
    std::vector<LogRow> rows{StartRow(), SampleRow(330), SampleRow(660)};
    LogRow gap;
    gap.event = LogEvent::NoAnswer;
    gap.timeMs = kT0 + 2000;
    gap.sinceMs = 2000;
    rows.push_back(gap);
    rows.push_back(SampleRow(5000));
    LogRow marker;
    marker.event = LogEvent::Marker;
    marker.timeMs = kT0 + 5100;
    marker.sinceMs = 5100;
    marker.marker = 1;
    rows.push_back(marker);
    const ChartFeed feed = ChartFeed::FromLog(rows);
    QCOMPARE(feed.Recent().size(), size_t(4));
    QCOMPARE(feed.Recent()[2].kind, ChartEntry::Gap);
    QCOMPARE(feed.Recent()[3].seconds, 5.0);
    QCOMPARE(feed.Recent()[3].timeMs, kT0 + 5000);
    QCOMPARE(feed.Markers().size(), size_t(1));
    QCOMPARE(feed.Markers().front().seconds, 5.1);
}

QTEST_GUILESS_MAIN(TestLog)
#include "test_log.moc"
