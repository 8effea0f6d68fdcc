// Opening a 10,000-object page (from the file to every object's "Run") against parsing the
// same file into an element tree alone.
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "platform/base/heap_policy.h"
#include "platform/base/path.h"
#include "ratio_main.h"

namespace {

// A screen with 100 panels of 99 controls each: names, rectangles, data links and events.
const std::wstring& PageFile() {
    static const std::wstring path = [] {
        std::string s = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<lib Name=\"board\">\n";
        for (int p = 0; p < 100; ++p) {
            s += "  <lib Name=\"panel" + std::to_string(p) + "\" Param=\"code\">\n";
            for (int c = 0; c < 99; ++c) {
                std::string id = std::to_string(p) + "_" + std::to_string(c);
                s += "    <lib Name=\"ctl" + id + "\" DataValue=\"" + std::to_string(c * 100) +
                     "\" Format=\"#,##0\" Save=\"False\">";
                if (c % 10 == 0)
                    s += "<Event Trigger=\"Object.Change\" Action=\"Sys.Nothing\"/>";
                s += "</lib>\n";
            }
            s += "  </lib>\n";
        }
        s += "</lib>\n";
        auto file = std::filesystem::temp_directory_path() / "orvo_screen_bench.xml";
        std::ofstream(file, std::ios::binary) << s;
        return plat::FromFsPath(file);
    }();
    return path;
}

void BM_ParseFileAlone(benchmark::State& state) {
    XMLParser parser;
    for (auto _ : state) {
        XElement* root = nullptr;
        parser.DoParse(PageFile().c_str(), &root);
        delete root;
    }
}
BENCHMARK(BM_ParseFileAlone)->Unit(benchmark::kMillisecond);

void BM_OpenPageToRun(benchmark::State& state) {
    long objects = 0;
    for (auto _ : state) {
        orvo::XDOPtr page(XScrMan::Instance().OpenPage(PageFile().c_str(), nullptr, nullptr));
        if (!page) {
            state.SkipWithError("page failed to open");
            break;
        }
        objects = 0;
        page->find_down([&](XDO*) {
            ++objects;
            return false;
        });
    }
    state.counters["objects"] = static_cast<double>(objects);
}
BENCHMARK(BM_OpenPageToRun)->Unit(benchmark::kMillisecond);

long MaxRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Peak memory growth while one page is open, per object.
void ReportMemoryPerObject() {
    long before = MaxRssKb();
    orvo::XDOPtr page(XScrMan::Instance().OpenPage(PageFile().c_str(), nullptr, nullptr));
    long objects = 0;
    if (page)
        page->find_down([&](XDO*) {
            ++objects;
            return false;
        });
    long after = MaxRssKb();
    if (objects > 0)
        std::printf(
            "peak memory while a %ld-object page is open: %.0f bytes per object (parse included)\n",
            objects,
            static_cast<double>(after - before) * 1024.0 / static_cast<double>(objects));
}

} // namespace

int main(int argc, char** argv) {
    plat::SetHeapPolicy(); // as the host does
    ReportMemoryPerObject();
    return orvo::bench::RunWithRatios(argc, argv, {{"BM_OpenPageToRun", "BM_ParseFileAlone"}});
}
