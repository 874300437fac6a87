#pragma once

namespace zyrk {
class TFormHlav;
}

// The data log and the chart: time per monitor reply and memory over a long run. With
// "--shots DIR" on the command line it also saves a picture of the chart.
void BenchLog(zyrk::TFormHlav& form);
