#pragma once
// Pieces several benchmarks share: ports that never ask anything, and a
// reporter that keeps each benchmark's time for the ratios printed at the end.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "widgets/ui_ports.h"

namespace bench_support {

class SilentPorts : public widgets::UiPorts {
public:
    void Inform(QWidget*, const QString&) override {}
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    QStringList ChooseFiles(QWidget*, const widgets::FileDialogRequest&) override { return {}; }
    bool OpenWithAssociatedProgram(const QString&) override { return false; }
    QDate Today() override { return QDate(2024, 4, 1); }
    bool EscapePressed() override { return false; }
    void ResetEscape() override {}
};

// Seconds per iteration of the first benchmark whose name starts with the
// prefix, or a negative value when none ran.
class CapturingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            Total& t = totals_[run.benchmark_name()];
            t.seconds += run.real_accumulated_time;
            t.iterations += run.iterations;
        }
    }

    double Seconds(const std::string& prefix) const
    {
        for (const auto& [name, total] : totals_)
            if (name.rfind(prefix, 0) == 0 && total.iterations > 0)
                return total.seconds / static_cast<double>(total.iterations);
        return -1;
    }

private:
    struct Total {
        double seconds = 0;
        benchmark::IterationCount iterations = 0;
    };
    std::map<std::string, Total> totals_;
};

}  // namespace bench_support
