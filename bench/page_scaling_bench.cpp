// How opening and closing a page grows with its size: pages of 1,000, 10,000 and 100,000
// objects in two shapes, against parsing the same file alone.
//   named:   flat named siblings under one script (each name registers with the script)
//   grouped: groups of 100 objects, each listening to its own group by name
// The ratios of each size to the one ten times smaller must stay near 10 (linear cost); how
// libxml2 alone scales with the same files shows what the machine's memory does to any tree
// of that size, and the cold runs (caches flushed before each timed step) take the cache out
// of the comparison. The peak memory of each page is measured in a child process of its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <libxml/parser.h>

#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "platform/base/heap_policy.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "ratio_main.h"

namespace {

enum Shape { Named = 0, Grouped = 1 };

std::string Markup(Shape shape, long objects) {
    std::string s = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<lib Name=\"page\">\n"
                    "  <Script Name=\"code\">Sub OnRun(o)\nEnd Sub</Script>\n";
    if (shape == Named) {
        for (long i = 0; i < objects; ++i)
            s += "  <lib Name=\"o" + std::to_string(i) + "\"/>\n";
    } else {
        for (long g = 0; g < objects / 100; ++g) {
            const std::string group = "g" + std::to_string(g);
            s += "  <lib Name=\"" + group + "\">\n";
            for (int i = 0; i < 99; ++i)
                s += "    <lib Name=\"" + group + "_" + std::to_string(i) + "\" Listener=\"" +
                     group + "\"/>\n";
            s += "  </lib>\n";
        }
    }
    return s + "</lib>\n";
}

const std::wstring& PageFile(Shape shape, long objects) {
    static std::map<std::pair<int, long>, std::wstring> files;
    auto [it, added] = files.try_emplace({shape, objects});
    if (added) {
        auto file =
            std::filesystem::temp_directory_path() /
            ("orvo_scaling_" + std::to_string(shape) + "_" + std::to_string(objects) + ".xml");
        std::ofstream(file, std::ios::binary) << Markup(shape, objects);
        it->second = plat::FromFsPath(file);
    }
    return it->second;
}

XDO* Open(Shape shape, long objects) {
    return XScrMan::Instance().OpenPage(PageFile(shape, objects).c_str(), nullptr, nullptr);
}

// libxml2 reading the file into its own tree: how the machine itself scales with the file.
void BM_Libxml2(benchmark::State& state) {
    const std::string path = plat::ToUtf8(PageFile(Named, state.range(0)));
    for (auto _ : state) {
        xmlDoc* doc = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_COMPACT);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
}

void BM_Parse(benchmark::State& state) {
    XMLParser parser;
    for (auto _ : state) {
        XElement* root = nullptr;
        parser.DoParse(PageFile(Named, state.range(0)).c_str(), &root);
        delete root;
    }
}

void BM_Open(benchmark::State& state) {
    const auto shape = static_cast<Shape>(state.range(0));
    for (auto _ : state) {
        XDO* page = Open(shape, state.range(1));
        if (!page) {
            state.SkipWithError("the page did not open");
            break;
        }
        state.PauseTiming();
        orvo::DestroyObject(page);
        state.ResumeTiming();
    }
}

void BM_Close(benchmark::State& state) {
    const auto shape = static_cast<Shape>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        XDO* page = Open(shape, state.range(1));
        state.ResumeTiming();
        orvo::DestroyObject(page);
    }
}

// A page of 10,000 objects fits in the processor's cache and one of 100,000 does not, so
// closing a page just opened measures a warm small page against a cold big one. The cold
// runs close each page after other work has flushed the caches, as a trader closes a
// screen opened a while ago.
void FlushCaches() {
    static std::vector<char> other(256 << 20, 1); // well above any last-level cache
    for (std::size_t i = 0; i < other.size(); i += 64)
        other[i] = static_cast<char>(other[i] + 1);
    benchmark::DoNotOptimize(other.data());
}

void BM_CloseCold(benchmark::State& state) {
    const auto shape = static_cast<Shape>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        XDO* page = Open(shape, state.range(1));
        FlushCaches();
        state.ResumeTiming();
        orvo::DestroyObject(page);
    }
}

void BM_OpenCold(benchmark::State& state) {
    const auto shape = static_cast<Shape>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        FlushCaches();
        state.ResumeTiming();
        XDO* page = Open(shape, state.range(1));
        state.PauseTiming();
        orvo::DestroyObject(page);
        state.ResumeTiming();
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int shape : {Named, Grouped})
        for (long n : {1000L, 10000L, 100000L})
            b->Args({shape, n});
}

BENCHMARK(BM_Libxml2)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
// The first page of a size takes its memory from the kernel a page fault at a time; the heap
// policy keeps it for the pages after, as in a terminal that has been running a while. The
// warm-up opens that first page, so the growth measured is the framework's own.
BENCHMARK(BM_Open)->Apply(Sizes)->MinWarmUpTime(1.0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Close)->Apply(Sizes)->MinWarmUpTime(1.0)->Unit(benchmark::kMillisecond);
// Fixed counts: flushing takes far longer than closing a small page.
BENCHMARK(BM_OpenCold)->Apply(Sizes)->Iterations(12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseCold)->Apply(Sizes)->Iterations(12)->Unit(benchmark::kMillisecond);

long MaxRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The growth of peak memory while one page is open, measured in a child of its own so that
// no earlier page's peak hides it.
void ReportPeakMemory(Shape shape, long objects) {
    PageFile(shape, objects); // written before the fork
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const long before = MaxRssKb();
        XDO* page = Open(shape, objects);
        const long after = MaxRssKb();
        std::printf("peak memory, %s page of %ld objects: %.1f MB (%.0f bytes per object)\n",
                    shape == Named ? "named" : "grouped",
                    objects,
                    (after - before) / 1024.0,
                    (after - before) * 1024.0 / static_cast<double>(objects));
        std::fflush(stdout);
        orvo::DestroyObject(page);
        _exit(page ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

int main(int argc, char** argv) {
    plat::SetHeapPolicy(); // as the host does
    // A run narrowed to some benchmarks measures only those.
    bool filtered = false;
    for (int i = 1; i < argc; ++i)
        filtered = filtered || std::string_view(argv[i]).starts_with("--benchmark_filter");
    for (Shape shape : {Named, Grouped}) {
        for (long n : {1000L, 10000L, 100000L}) {
            if (!filtered)
                ReportPeakMemory(shape, n);
        }
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* what : {"BM_Open", "BM_Close", "BM_OpenCold", "BM_CloseCold"}) {
        for (int shape : {Named, Grouped}) {
            const std::string base = std::string(what) + "/" + std::to_string(shape) + "/";
            pairs.push_back({base + "10000", base + "1000"});
            pairs.push_back({base + "100000", base + "10000"});
        }
    }
    for (const char* size : {"1000", "10000", "100000"}) {
        pairs.push_back({std::string("BM_Open/0/") + size, std::string("BM_Libxml2/") + size});
        pairs.push_back({std::string("BM_Open/1/") + size, std::string("BM_Libxml2/") + size});
    }
    pairs.push_back({"BM_Libxml2/10000", "BM_Libxml2/1000"});
    pairs.push_back({"BM_Libxml2/100000", "BM_Libxml2/10000"});
    pairs.push_back({"BM_Open/0/10000", "BM_Parse/10000"});
    pairs.push_back({"BM_Close/0/100000", "BM_Open/0/100000"});
    pairs.push_back({"BM_Close/1/100000", "BM_Open/1/100000"});
    return orvo::bench::RunWithRatios(argc, argv, pairs);
}
