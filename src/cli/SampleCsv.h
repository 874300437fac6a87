#pragma once

#include "MonitorSample.h"

#include <QByteArray>

namespace zyrk::cli {

// The monitor's CSV log, kept in two small functions so that the data log's own writer can
// take their place: a header line and one line per sample, comma-separated, CR LF ends.
QByteArray SampleCsvHeader();
QByteArray SampleCsvRow(const MonitorSample& sample);

} // namespace zyrk::cli
