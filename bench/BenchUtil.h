#pragma once

// Measuring helpers shared by the benchmark's parts.
#include <QFile>
#include <algorithm>
#include <ctime>
#include <vector>

namespace zyrk::bench {

// CPU time of this thread in milliseconds: what a step costs, whatever else the machine does.
inline double ThreadCpuMs() {
#ifdef Q_OS_WIN
    return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
#else
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
#endif
}

// Resident memory of the process in MB, -1 where the system does not say.
inline double ResidentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

inline double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v)
        sum += x;
    return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

inline double Max(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

} // namespace zyrk::bench
