#pragma once
// A benchmark main that, after the usual report, prints each measured benchmark as a ratio
// to its baseline from the same run: "ratio <name> / <baseline> = x.xx". Names are function
// names, or full names with arguments ("BM_Open/1/10000", whatever fixed iteration count
// the benchmark has). With
// --benchmark_repetitions (best with --benchmark_enable_random_interleaving) each side's
// median repetition is used: a shared virtual machine changes speed within a run, so the
// fastest repetitions of two benchmarks may come from different speeds, while their medians
// come from the same mix.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvo::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.iterations == 0)
                continue;
            const double time = r.GetAdjustedRealTime();
            // By function name, and by full name for benchmarks with arguments ("BM_X/10").
            const std::string& function = r.run_name.function_name;
            const std::string full =
                r.run_name.args.empty() ? function : function + "/" + r.run_name.args;
            samples[full].push_back(time);
            if (full != function)
                samples[function].push_back(time);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // The median of each benchmark's repetitions (the upper one of an even count).
    double Median(const std::string& name) {
        auto it = samples.find(name);
        if (it == samples.end() || it->second.empty())
            return 0;
        std::vector<double>& v = it->second;
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    }
    std::map<std::string, std::vector<double>> samples;
};

// pairs: {measured, baseline}
inline int RunWithRatios(int argc,
                         char** argv,
                         const std::vector<std::pair<std::string, std::string>>& pairs) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [measured, baseline] : pairs) {
        const double m = reporter.Median(measured);
        const double b = reporter.Median(baseline);
        if (m > 0 && b > 0)
            std::printf("ratio %s / %s = %.2f\n", measured.c_str(), baseline.c_str(), m / b);
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace orvo::bench
