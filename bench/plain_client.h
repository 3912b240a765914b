#pragma once
// The yardstick of the read benchmarks: a client written straight against the
// Firebird C API that reads every row of some selects and turns each value
// into text, keeping nothing. Whatever the application's own reading costs
// beyond this is the price of its database layer.
//
// Side-by-side runs happen in fresh processes, so that peak memory compares
// like with like: the benchmark starts itself again with kChildFlag, and the
// child reads, prints its time and ends.

#include <string>
#include <vector>

namespace plain_client {

struct Reading {
    double seconds = -1;  // from the first statement to the last row; attaching excluded
    long rows = 0;
    long long textBytes = 0;
};

// Attaches (embedded or server path), runs the selects one after the other in
// one transaction, and reads them to the end. Fails loudly on any error.
Reading Read(const std::string& databasePath, const std::vector<std::string>& statements);
// The same `passes` times on one attachment: the first pass pays for loading
// the tables' descriptions, the later ones find them loaded.
std::vector<Reading> Read(const std::string& databasePath,
                          const std::vector<std::string>& statements, int passes);

inline constexpr char kChildFlag[] = "--child";

struct ChildRun {
    double seconds = -1;     // wall time of the measured part, as the child saw it
    double cpuSeconds = -1;  // processor time of the same part
    long peakKiB = 0;        // the child's peak resident memory (VmHWM)
    std::string output;      // what it printed
};

// Runs this executable again with kChildFlag and `args` and waits for it.
ChildRun RunChild(const std::vector<std::string>& args);

// In the child: measures `part` and prints the figures RunChild reads back.
// The peak is the child's own: the resident size a spawned process inherits
// from its parent before exec does not count.
template <class Part>
void MeasureAndReport(Part&& part);

double CpuSeconds();
void Report(double seconds, double cpuSeconds);

template <class Part>
void MeasureAndReport(Part&& part)
{
    const double cpu = CpuSeconds();
    const double seconds = part();
    Report(seconds, CpuSeconds() - cpu);
}

}  // namespace plain_client
