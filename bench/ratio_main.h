#pragma once
// A benchmark main that, after the usual report, prints each measured benchmark as a ratio
// to its baseline from the same run: "ratio <name> / <baseline> = x.xx". Names are function
// names, or full names with arguments ("BM_Open/1/10000", whatever fixed iteration count
// the benchmark has). With
// --benchmark_repetitions each side's fastest repetition is used: on a shared machine the
// slower ones measure the neighbours, not the code.
#include <benchmark/benchmark.h>

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
            for (const std::string& name : {function, full}) {
                auto [it, added] = times.try_emplace(name, time);
                if (!added && time < it->second)
                    it->second = time;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

// pairs: {measured, baseline}
inline int RunWithRatios(int argc,
                         char** argv,
                         const std::vector<std::pair<std::string, std::string>>& pairs) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [measured, baseline] : pairs) {
        auto m = reporter.times.find(measured);
        auto b = reporter.times.find(baseline);
        if (m != reporter.times.end() && b != reporter.times.end() && b->second > 0)
            std::printf("ratio %s / %s = %.2f\n",
                        measured.c_str(),
                        baseline.c_str(),
                        m->second / b->second);
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace orvo::bench
