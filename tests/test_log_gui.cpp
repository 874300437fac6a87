// The data log in the main window: the Log menu and its keys in three languages, recording
// with the caption and button showing it, the log folder kept in application.ini, failures
// reported, and a log opened again in the chart window.

#include "ChartPlot.h"
#include "ChartWindow.h"
#include "GuiFixture.h"
#include "HlavLog.h"
#include "IniStore.h"

#include <QChart>
#include <QDateTime>
#include <QLineSeries>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>

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
    void chartDrawsTheCurves();
    void wheelAndRightClickZoom();
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
                                                         "instead of 31). 1 damaged rows "
                                                         "skipped (lines 6); the 4 other rows "
                                                         "are shown.");
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
    // The chart fed directly, with times of its own: the last minute shows on an axis that
    // moves a quarter of the span at a time, a silence breaks every curve, a pause holds the
    // picture, a zoom stays put.
    ChartFeed feed;
    ChartWindow chart(feed);
    chart.SetLanguage(LangEnglish);
    const qint64 t0 = 1781000000000;
    MonitorSample s;
    auto add = [&](qint64 ms) {
        s.timeMs = t0 + ms;
        feed.AddSample(s);
    };
    for (int i = 0; i <= 300; ++i) { // 0 to 99 s at the unit's pace
        s.rpm = static_cast<uint16_t>(1000 + i);
        add(330 * i);
    }
    chart.Refresh();
    QCOMPARE(chart.TimeRange(), std::make_pair(20.0, 100.0));
    QCOMPARE(chart.FirstShown(TraceRpm), 20.13); // the first point at or after 20 s
    QCOMPARE(chart.PointsShown(TraceRpm), 240);
    QCOMPARE(chart.Segments(TraceRpm), 1);
    feed.AddGap(s.timeMs + 1300);
    for (int i = 0; i < 10; ++i) // 110 to 112.97 s: beyond the axis, which moves one step
        add(110000 + 330 * i);
    chart.Refresh();
    QCOMPARE(chart.TimeRange(), std::make_pair(40.0, 120.0));
    for (int trace = 0; trace < kTraceCount; ++trace)
        QCOMPARE(chart.Segments(trace), 2);
    QVERIFY(chart.ReadoutAt(105).endsWith(QStringLiteral("no answer from the unit")));
    QVERIFY(chart.ReadoutAt(99).contains(QStringLiteral("Engine speed [RPM] 1300")));

    // Within the axis, new points are only added to what is drawn.
    const int shown = chart.PointsShown(TraceRpm);
    chart.SetPaused(true);
    add(113300);
    chart.Refresh();
    QCOMPARE(chart.PointsShown(TraceRpm), shown);
    chart.SetPaused(false);
    QCOMPARE(chart.PointsShown(TraceRpm), shown + 1);
    QCOMPARE(chart.TimeRange(), std::make_pair(40.0, 120.0));
    QCOMPARE(chart.Segments(TraceRpm), 2);

    // A zoom (the rubber band sets the time axis) stays put until "Zoom out".
    chart.Chart()->axes(Qt::Horizontal).first()->setRange(50, 60);
    QVERIFY(chart.Zoomed());
    QCOMPARE(chart.PointsShown(TraceRpm), 30); // 50.16 to 59.73 s
    add(113630);
    chart.Refresh();
    QCOMPARE(chart.TimeRange(), std::make_pair(50.0, 60.0));
    chart.ZoomOut();
    QVERIFY(!chart.Zoomed());
    QCOMPARE(chart.TimeRange(), std::make_pair(40.0, 120.0));
    QCOMPARE(chart.PointsShown(TraceRpm), shown + 2);
    add(120100); // past the axis: one step on
    chart.Refresh();
    QCOMPARE(chart.TimeRange(), std::make_pair(60.0, 140.0));

    chart.SetSpan(ChartWindow::WholeRun);
    QCOMPARE(chart.TimeRange(), std::make_pair(0.0, 200.0)); // room for a quarter more
    QCOMPARE(chart.PointsShown(TraceRpm), 314);
    QCOMPARE(chart.Segments(TraceRpm), 2);
}

// A chart window of its own, on the screen at a size the figures below are made for.
struct ShownChart {
    ChartFeed feed;
    ChartWindow chart{feed};

    bool Exposed() {
        chart.resize(900, 560);
        chart.show();
        return QTest::qWaitForWindowExposed(&chart);
    }
};

void TestLogGui::chartDrawsTheCurves() {
    // What is on the screen: a throttle held at half draws across the middle of the plot,
    // through the join of two refreshes, and not across a silence.
    ShownChart shown;
    QVERIFY(shown.Exposed());
    ChartFeed& feed = shown.feed;
    ChartWindow& chart = shown.chart;
    const qint64 t0 = 1781000000000;
    MonitorSample s;
    s.tpPercent = 50;
    auto run = [&](int fromMs, int toMs) {
        for (int ms = fromMs; ms <= toMs; ms += 330) {
            s.timeMs = t0 + ms;
            feed.AddSample(s);
        }
    };
    run(0, 20000);
    chart.Refresh();
    run(23000, 30000); // sparse here, so the join of the two refreshes is a long stroke
    chart.Refresh();
    feed.AddGap(t0 + 31300);
    run(40000, 50000);
    chart.Refresh();
    QCoreApplication::processEvents();

    ChartPlot& plot = *chart.Plot();
    QVERIFY(plot.width() > 400 && plot.height() > 200);
    const QImage shot = plot.grab().toImage();
    // The throttle's curve is the only blue one, and the grid is grey: a pixel much bluer
    // than red (even where the antialiasing spreads the line over two rows) is the curve.
    auto drawnAt = [&](double seconds) {
        const int x = static_cast<int>(plot.XOf(seconds));
        for (int y = plot.height() / 2 - 3; y <= plot.height() / 2 + 3; ++y) {
            const QColor c = shot.pixelColor(x, y);
            if (c.blue() - c.red() > 50)
                return true;
        }
        return false;
    };
    QVERIFY(drawnAt(10.0));
    QVERIFY(drawnAt(21.4)); // the join of the first two refreshes
    QVERIFY(drawnAt(25.0));
    QVERIFY(!drawnAt(35.0)); // the silence
    QVERIFY(drawnAt(45.0));
    QVERIFY(!drawnAt(55.0)); // not yet
}

void TestLogGui::wheelAndRightClickZoom() {
    ShownChart shown;
    QVERIFY(shown.Exposed());
    ChartFeed& feed = shown.feed;
    ChartWindow& chart = shown.chart;
    MonitorSample s;
    s.timeMs = 1781000000000;
    feed.AddSample(s);
    chart.Refresh();
    QCOMPARE(chart.TimeRange(), std::make_pair(0.0, 80.0));

    ChartPlot& plot = *chart.Plot();
    const QPointF at(plot.geometry().left() + plot.XOf(30.0), plot.geometry().center().y());
    auto* viewport = plot.parentWidget();
    QWheelEvent in(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &in);
    QVERIFY(chart.Zoomed());
    const auto range = chart.TimeRange();
    // One notch in: a fifth less on each side of the time under the mouse.
    QVERIFY(std::abs(range.first - (30.0 - 30.0 * 0.8)) < 0.5);
    QVERIFY(std::abs(range.second - (30.0 + 50.0 * 0.8)) < 0.5);
    // A right click goes all the way back.
    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, at.toPoint());
    QVERIFY(!chart.Zoomed());
    QCOMPARE(chart.TimeRange(), std::make_pair(0.0, 80.0));
}

QTEST_MAIN(TestLogGui)
#include "test_log_gui.moc"
