// Measures what the technician feels: the CPU time of one 55 ms tick while monitoring (on
// the miscellaneous page, and on a servo page with the live cell moving), the time from
// start to the window shown, and the resident memory after start. Prints figures; it never
// fails on them.
#include "About.h"
#include "BenchUtil.h"
#include "Hlav.h"
#include "SimPort.h"
#include "SimUnit.h"
#include "bench_cli.h"
#include "bench_log.h"
#include "bench_maps.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

class SilentPrompter : public zyrk::Prompter {
  public:
    void Message(QWidget*, const QString&) override {}
    Answer AskYesNoCancel(QWidget*, const QString&) override { return No; }
    QString ChooseOpenFile(QWidget*, const QString&) override { return {}; }
    QString ChooseSaveFile(QWidget*, const QString&) override { return {}; }
};

struct Stats {
    double median, p90, max;
    double replyMedian; // ticks that took a monitor reply and redrew the monitor area
};

Stats Measure(zyrk::TFormHlav& form, int ticks) {
    std::vector<double> ms, replies;
    ms.reserve(static_cast<size_t>(ticks));
    for (int i = 0; i < ticks; ++i) {
        const double start = zyrk::bench::ThreadCpuMs();
        form.Timer1Timer();
        const double took = zyrk::bench::ThreadCpuMs() - start;
        ms.push_back(took);
        if (form.link.SilentTicks == 1) // a reply arrived in this tick
            replies.push_back(took);
        QCoreApplication::processEvents(); // let repaints happen as they would between ticks
    }
    std::sort(ms.begin(), ms.end());
    const double median = zyrk::bench::Median(ms);
    return {median, ms[ms.size() * 9 / 10], ms.back(), zyrk::bench::Median(replies)};
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QTemporaryDir settings;

    zyrk::SimUnit unit;
    zyrk::SimPort port(unit);
    SilentPrompter prompter;
    zyrk::TFormHlav::Options options;
    options.runTimer = false;
    options.settingsFolder = settings.path();
    zyrk::TFormHlav form(port, prompter, options);
    form.FormCreate();
    form.FormAbout = new zyrk::TFormAbout(form.LanguageIndex, &form);
    form.show();
    QCoreApplication::processEvents();
    const double startMs = static_cast<double>(sinceStart.nsecsElapsed()) / 1e6;
    const double rssMb = zyrk::bench::ResidentMb();

    constexpr int kTicks = 2000;
    form.Timer1Timer();
    const Stats misc = Measure(form, kTicks);
    form.ui.PageControl1->setCurrentIndex(zyrk::kPageServo1);
    form.image.SetTpEnable(0, 1);
    form.ShowImage();
    const Stats servo = Measure(form, kTicks);

    std::printf("start to window shown:            %8.1f ms   (goal < 500 ms)\n", startMs);
    std::printf("resident memory after start:      %8.1f MB   (goal < 60 MB)\n", rssMb);
    std::printf("tick, monitoring, misc page:        median %.4f ms, p90 %.4f ms, max %.4f ms,"
                " reply ticks median %.4f ms   (goal median < 0.2 ms)\n",
                misc.median, misc.p90, misc.max, misc.replyMedian);
    std::printf("tick, servo page, live cell moving: median %.4f ms, p90 %.4f ms, max %.4f ms,"
                " reply ticks median %.4f ms   (goal median < 0.3 ms)\n",
                servo.median, servo.p90, servo.max, servo.replyMedian);
    std::printf("live cell at the end: row %d, column %d\n", form.LiveRow,
                form.LiveColumn);
    BenchCli();

    zyrk::BenchMaps(form, app.arguments());
    BenchLog(form);

    // --shots DIR: pictures of every page in every language and of the About window, for
    // comparing the window with its layout by eye.
    const QStringList args = app.arguments();
    const qsizetype shots = args.indexOf(QStringLiteral("--shots"));
    if (shots > 0 && shots + 1 < args.size()) {
        const QString dir = args[shots + 1];
        const char* names[] = {"cz", "en", "de"};
        for (int language = 0; language < 3; ++language) {
            form.LanguageIndex = static_cast<uint8_t>(language);
            form.ApplyLanguage();
            for (int page = 0; page < 3; ++page) {
                form.ui.PageControl1->setCurrentIndex(page);
                form.Timer1Timer();
                QCoreApplication::processEvents();
                form.grab().save(QStringLiteral("%1/window-%2-page%3.png")
                                     .arg(dir)
                                     .arg(names[language])
                                     .arg(page));
            }
            form.FormAbout->show();
            QCoreApplication::processEvents();
            form.FormAbout->grab().save(
                QStringLiteral("%1/about-%2.png").arg(dir).arg(names[language]));
            form.FormAbout->hide();
        }
        form.ui.PageControl1->setCurrentIndex(zyrk::kPageServo1);
        form.SetPrintFile(dir + QStringLiteral("/print-servo1.pdf"));
        form.SpeedButtonPrintClick();
        std::printf("pictures saved in %s\n", qPrintable(dir));
    }
    return 0;
}
