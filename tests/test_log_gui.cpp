// The data log in the main window: the Log menu and its keys in three languages, recording
// with the caption and button showing it, the log folder kept in application.ini, failures
// reported, and a log opened again in the chart window.

#include "ChartWindow.h"
#include "GuiFixture.h"
#include "HlavLog.h"
#include "IniStore.h"

#include <QChart>
#include <QDateTime>
#include <QMenuBar>
#include <QTest>

using namespace zyrk;

class TestLogGui : public QObject {
    Q_OBJECT

  private slots:
    void menuInEveryLanguage_data();
    void menuInEveryLanguage();
    void recordThroughTheWindow();
    void folderFailureReported();
    void openLogAgain_data();
    void openLogAgain();
    void chartFollowsAndBreaks();
};

void TestLogGui::menuInEveryLanguage_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("start");
    QTest::newRow("Czech") << "CESKY" << QString::fromUtf8("Záznam")
                           << QString::fromUtf8("Spustit záznam");
    QTest::newRow("English") << "ENGLISH"
                             << "Log"
                             << "Start recording";
    QTest::newRow("German") << "DEUTSCH"
                            << "Aufzeichnung"
                            << "Aufzeichnung starten";
}

void TestLogGui::menuInEveryLanguage() {
    QFETCH(QString, word);
    Gui gui({word});
    HlavLog& log = *gui.form->DataLog;
    QTEST(log.menu->title(), "menu");
    QTEST(log.actionRecord->text(), "start");
    QCOMPARE(log.actionRecord->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    QCOMPARE(log.actionMarker->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
    QCOMPARE(log.actionChart->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    // Right before the Language menu; the designed menus keep their places.
    const QList<QAction*> bar = gui.form->menuBar()->actions();
    QCOMPARE(bar.indexOf(log.menu->menuAction()) + 1,
             bar.indexOf(gui.ui().MenuLanguage->menuAction()));
    // A change of language retitles the menu at once.
    gui.form->MenuEnglishClick();
    QCOMPARE(log.menu->title(), QStringLiteral("Log"));
    QCOMPARE(log.actionChart->text(), QStringLiteral("Chart"));
    QCOMPARE(log.actionOpen->text(), QStringLiteral("Open log"));
}

void TestLogGui::recordThroughTheWindow() {
    QTemporaryDir logs;
    QTemporaryDir settings;
    const QString iniPath = settings.filePath(QStringLiteral("application.ini"));
    {
        Gui gui({QStringLiteral("ENGLISH")}, settings.path());
        HlavLog& log = *gui.form->DataLog;
        const QString caption = gui.form->windowTitle();
        QVERIFY(!log.actionMarker->isEnabled());
        log.SetFolder(logs.path());
        log.actionRecord->trigger(); // Ctrl+R
        QVERIFY(log.Recording().Recording());
        QVERIFY(log.button->isChecked());
        QCOMPARE(log.actionRecord->text(), QStringLiteral("Stop recording"));
        gui.Ticks(40); // the in-process unit answers every sixth tick
        const qint64 rows = log.Recording().Rows();
        QVERIFY(rows >= 5);
        QCOMPARE(log.AddMarker(), 1);
        log.Tick(QDateTime::currentMSecsSinceEpoch());
        QVERIFY(gui.form->windowTitle().startsWith(caption + QStringLiteral(" – Recording 00:")));
        QVERIFY(gui.form->windowTitle().endsWith(QStringLiteral(", %1 rows").arg(rows)));
        QVERIFY(gui.ui().GroupBoxToolBar2->isVisibleTo(gui.form.get()));
        const QString path = log.Recording().FilePath();
        log.actionRecord->trigger();
        QVERIFY(!log.Recording().Recording());
        QCOMPARE(gui.form->windowTitle(), caption);
        QVERIFY(!log.button->isChecked());
        const LogReadResult read = ReadLog(path);
        QCOMPARE(read.error, LogReadError::None);
        QCOMPARE(static_cast<qint64>(read.rows.size()), rows + 2); // start row and marker
        QVERIFY(gui.prompter.messages.isEmpty());
    }
    // The folder is kept in a section of its own and read back by the next window.
    QCOMPARE(IniStore(iniPath).ReadString(QStringLiteral("LOG"), QStringLiteral("Folder")),
             logs.path());
    Gui again({QStringLiteral("ENGLISH")}, settings.path());
    QCOMPARE(again.form->DataLog->Folder(), logs.path());
}

void TestLogGui::folderFailureReported() {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("plain")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    Gui gui;
    HlavLog& log = *gui.form->DataLog;
    log.SetFolder(dir.filePath(QStringLiteral("plain/logs")));
    QVERIFY(!log.StartRecording());
    QVERIFY(!log.button->isChecked());
    QCOMPARE(gui.prompter.messages.size(), 1);
    QVERIFY(gui.prompter.messages.first().contains(QStringLiteral("cannot be made")));
    gui.Ticks(20); // the window goes on monitoring
    QVERIFY(!gui.form->link.Display().connectionVisible);
}

void TestLogGui::openLogAgain_data() {
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("message");
    QTest::newRow("whole") << QByteArray() << 3 << QString();
    QTest::newRow("damaged at line 6") << QByteArray("garbage\r\n") << 3
                                       << QStringLiteral("is damaged at line 6 (1 fields "
                                                         "instead of 31). The 4 rows before "
                                                         "it are shown.");
    QTest::newRow("not a log") << QByteArray("#") << 0
                               << QStringLiteral("is not a log written by this tool (line 1)");
}

void TestLogGui::openLogAgain() {
    QFETCH(QByteArray, tail);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    {
        LogWriter writer;
        QVERIFY(writer.Open(path));
        LogRow start;
        start.event = LogEvent::Start;
        start.timeMs = 1781000000000;
        QVERIFY(writer.Append(start));
        for (int i = 1; i <= 3; ++i) {
            LogRow row;
            row.timeMs = start.timeMs + 330 * i;
            row.sinceMs = 330 * i;
            row.sample.rpm = static_cast<uint16_t>(1000 * i);
            QVERIFY(writer.Append(row));
        }
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    if (tail != "#")
        f.seek(f.size());
    f.write(tail == "#" ? QByteArray("a;b\r\n") : tail); // "#": another program's file
    f.close();

    Gui gui;
    HlavLog& log = *gui.form->DataLog;
    log.chooseLog = [&path](const QString&) { return path; };
    log.actionOpen->trigger();
    QFETCH(QString, message);
    if (message.isEmpty()) {
        QVERIFY(gui.prompter.messages.isEmpty());
    } else {
        QCOMPARE(gui.prompter.messages.size(), 1);
        QVERIFY2(gui.prompter.messages.first().contains(message),
                 qPrintable(gui.prompter.messages.first()));
    }
    QFETCH(int, points);
    if (points == 0) {
        QVERIFY(!log.Chart() || !log.Chart()->ViewingLog());
        return;
    }
    ChartWindow& chart = *log.Chart();
    QVERIFY(chart.isVisible());
    QVERIFY(chart.ViewingLog());
    QVERIFY(chart.windowTitle().endsWith(QStringLiteral("run.csv")));
    QCOMPARE(chart.PointsShown(TraceRpm), points);
    QVERIFY(chart.ReadoutAt(0.66).contains(QStringLiteral("Engine speed [RPM] 2000")));
    chart.ShowLive();
    QVERIFY(!chart.ViewingLog());
}

void TestLogGui::chartFollowsAndBreaks() {
    // The chart fed directly, with times of its own: the last minute follows the newest
    // sample, old points are trimmed, a silence breaks every curve, a zoom stays put.
    ChartFeed feed;
    ChartWindow chart(feed);
    chart.SetLanguage(LangEnglish);
    const qint64 t0 = 1781000000000;
    MonitorSample s;
    for (int i = 0; i <= 300; ++i) { // 100 s at the unit's pace
        s.timeMs = t0 + 330 * i;
        s.rpm = static_cast<uint16_t>(1000 + i);
        feed.AddSample(s);
    }
    chart.Refresh();
    QCOMPARE(chart.TimeRange(), std::make_pair(39.0, 99.0));
    QVERIFY(chart.FirstShown(TraceRpm) >= 39.0);
    QCOMPARE(chart.Segments(TraceRpm), 1);
    feed.AddGap(s.timeMs + 1300);
    for (int i = 0; i < 10; ++i) {
        s.timeMs = t0 + 110000 + 330 * i;
        feed.AddSample(s);
    }
    chart.Refresh();
    for (int trace = 0; trace < kTraceCount; ++trace)
        QCOMPARE(chart.Segments(trace), 2);
    QVERIFY(chart.ReadoutAt(105).endsWith(QStringLiteral("no answer from the unit")));
    QVERIFY(chart.ReadoutAt(99).contains(QStringLiteral("Engine speed [RPM] 1300")));

    chart.SetPaused(true);
    const auto range = chart.TimeRange();
    s.timeMs += 330;
    feed.AddSample(s);
    chart.Refresh();
    QCOMPARE(chart.TimeRange(), range);
    chart.SetPaused(false);
    QCOMPARE(chart.TimeRange().second, range.second + 0.33);

    // A zoom (the rubber band sets the time axis) stays put until "Zoom out".
    chart.Chart()->axes(Qt::Horizontal).first()->setRange(10, 20);
    QVERIFY(chart.Zoomed());
    s.timeMs += 330;
    feed.AddSample(s);
    chart.Refresh();
    QCOMPARE(chart.TimeRange(), std::make_pair(10.0, 20.0));
    chart.ZoomOut();
    QVERIFY(!chart.Zoomed());
    QCOMPARE(chart.TimeRange().second, range.second + 0.66);

    chart.SetSpan(ChartWindow::WholeRun);
    QCOMPARE(chart.TimeRange().first, 0.0);
    QCOMPARE(chart.PointsShown(TraceRpm), 313);
    QCOMPARE(chart.Segments(TraceRpm), 2);
}

QTEST_MAIN(TestLogGui)
#include "test_log_gui.moc"
