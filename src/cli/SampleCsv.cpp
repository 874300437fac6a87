#include "SampleCsv.h"

#include <QDateTime>

namespace zyrk::cli {

QByteArray SampleCsvHeader() {
    return "time,rpm,tp_percent,tps_mv,supply_mv,servo1_desired_mv,servo1_measured_mv,"
           "servo2_desired_mv,servo2_measured_mv,program_count,saving,data_error,version\r\n";
}

QByteArray SampleCsvRow(const MonitorSample& s) {
    const QByteArray time =
        QDateTime::fromMSecsSinceEpoch(s.timeMs, Qt::UTC).toString(Qt::ISODateWithMs).toLatin1();
    QByteArray row = time;
    for (int v :
         {int(s.rpm), int(s.tpPercent), int(s.tpsMv), s.supplyMv, int(s.servoDesiredMv[0]),
          int(s.servoMeasuredMv[0]), int(s.servoDesiredMv[1]), int(s.servoMeasuredMv[1]),
          int(s.programCount), int(s.busyCountdown), s.dataError ? 1 : 0, int(s.unitVersion)})
        row += ',' + QByteArray::number(v);
    return row + "\r\n";
}

} // namespace zyrk::cli
