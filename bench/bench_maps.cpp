#include "bench_maps.h"
#include "BenchUtil.h"

#include "Hlav.h"
#include "HlavMaps.h"

#include <QCoreApplication>
#include <QSpinBox>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace zyrk {

void BenchMaps(TFormHlav& form, const QStringList& arguments) {
    constexpr int kTicks = 2000;
    constexpr int kRounds = 60;
    MapWindow* windows[] = {form.Maps->Open(0), form.Maps->Open(1)};
    QCoreApplication::processEvents();

    // Reply ticks: those in which a monitor reply arrived and the live cells moved on.
    std::vector<double> all;
    std::vector<double> replies;
    int moves = 0;
    int lastRow = windows[0]->Model().LiveRow();
    int lastColumn = windows[0]->Model().LiveColumn();
    for (int i = 0; i < kTicks; ++i) {
        const double start = bench::ThreadCpuMs();
        form.Timer1Timer();
        const double took = bench::ThreadCpuMs() - start;
        all.push_back(took);
        if (form.link.SilentTicks == 1)
            replies.push_back(took);
        if (windows[0]->Model().LiveRow() != lastRow ||
            windows[0]->Model().LiveColumn() != lastColumn) {
            ++moves;
            lastRow = windows[0]->Model().LiveRow();
            lastColumn = windows[0]->Model().LiveColumn();
        }
        QCoreApplication::processEvents(); // the windows repaint between ticks as they would
    }
    std::printf("tick, both map windows open:       median %.4f ms, max %.4f ms, reply ticks "
                "median %.4f ms, live cell moved %d times   (goal reply median < 0.3 ms)\n",
                bench::Median(all), bench::Max(all), bench::Median(replies), moves);

    // Whole-map operations: the operation, the main window's editing step and a repaint of
    // the table, measured together. Values alternate so that every round changes the map.
    MapWindow* w = windows[0];
    w->Select(MapRect{});
    struct Case {
        const char* name;
        MapOp op;
        int valueA;
        int valueB;
    };
    const Case cases[] = {
        {"set", MapOp::Set, 2000, 2400},
        {"add", MapOp::Add, 20, -20},
        {"scale", MapOp::Scale, 110, 91},
        {"interpolate rows", MapOp::InterpRows, 0, 0},
        {"interpolate columns", MapOp::InterpColumns, 0, 0},
        {"bilinear", MapOp::Bilinear, 0, 0},
        {"smooth", MapOp::Smooth, 0, 0},
        {"fill right", MapOp::FillRight, 0, 0},
        {"fill down", MapOp::FillDown, 0, 0},
    };
    std::vector<double> chart;
    for (const Case& c : cases) {
        std::vector<double> ms;
        for (int i = 0; i < kRounds; ++i) {
            // Operations that only reshape need a map with a shape to work on.
            if (c.valueA == 0) {
                w->ValueBox()->setValue(i % 2 ? 1000 : 4000);
                w->Select(MapRect{0, 0, 0, 0});
                w->RunOp(MapOp::Set);
                w->Select(MapRect{9, 14, 9, 14});
                w->ValueBox()->setValue(i % 2 ? 4000 : 1000);
                w->RunOp(MapOp::Set);
                w->Select(MapRect{});
            }
            w->ValueBox()->setValue(i % 2 ? c.valueB : c.valueA);
            const double start = bench::ThreadCpuMs();
            w->RunOp(c.op);
            w->Table()->viewport()->repaint();
            ms.push_back(bench::ThreadCpuMs() - start);
            // The chart follows the table on the next turn of the event loop; its share is
            // measured on its own.
            const double chartStart = bench::ThreadCpuMs();
            w->UpdateChart();
            chart.push_back(bench::ThreadCpuMs() - chartStart);
            QCoreApplication::processEvents();
        }
        std::printf("map operation %-20s median %.3f ms, max %.3f ms   (goal < 2 ms)\n", c.name,
                    bench::Median(ms), bench::Max(ms));
    }

    std::printf("chart of the whole map after an operation: median %.3f ms, max %.3f ms "
                "(after the table, on the next turn of the event loop)\n",
                bench::Median(chart), bench::Max(chart));

    const qsizetype shots = arguments.indexOf(QStringLiteral("--shots"));
    if (shots > 0 && shots + 1 < arguments.size()) {
        // A map with a shape for the pictures: a slope between four corners, smoothed.
        const int corners[4][3] = {{0, 0, 1200}, {0, 14, 2600}, {9, 0, 2400}, {9, 14, 4400}};
        for (const auto& c : corners) {
            w->Select(MapRect{c[0], c[1], c[0], c[1]});
            w->ValueBox()->setValue(c[2]);
            w->RunOp(MapOp::Set);
        }
        w->Select(MapRect{});
        w->RunOp(MapOp::Bilinear);
        w->ValueBox()->setValue(100);
        for (int s = 0; s < 2; ++s) {
            windows[s]->Select(MapRect{2, 0, 4, 14});
            // The chart follows on the next turn, its layout on the one after.
            for (int turn = 0; turn < 3; ++turn)
                QCoreApplication::processEvents();
            windows[s]->grab().save(
                QStringLiteral("%1/map-servo%2.png").arg(arguments[shots + 1]).arg(s + 1));
        }
        // The map sheet as PDF, as File > "Export map sheet as PDF" writes it.
        const QString sheet = arguments[shots + 1] + QStringLiteral("/map-sheet.pdf");
        form.Maps->ChoosePdfPath = [&sheet] { return sheet; };
        form.Maps->ExportSheetPdf();
    }
}

} // namespace zyrk
