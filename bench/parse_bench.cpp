// Building an element tree from a 5 MB screen-like file against libxml2 parsing the same
// bytes alone (both free what they built).
#include <libxml/parser.h>

#include <memory>
#include <string>

#include "core/element.h"
#include "core/xml_parser.h"
#include "ratio_main.h"

namespace {

// Windows, tables and grids with typical attributes, Korean captions and script text.
std::string ScreenLikeFile(std::size_t targetBytes) {
    std::string s =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<lib Name=\"Board\" Param=\"code,name\">\n";
    int n = 0;
    while (s.size() < targetBytes) {
        std::string id = std::to_string(n++);
        s += "  <Window Name=\"win" + id +
             "\" Rect=\"0,0,100%,100%\" Style=\"board\" Visible=\"True\">\n";
        s += "    <_font face=\"\xEA\xB5\xB4\xEB\xA6\xBC\" size=\"9\"/>\n";
        s += "    <Table Name=\"tbl" + id + "\" Rows=\"4\" Cols=\"3\" Rect=\"2,2,-2,30\">\n";
        for (int r = 0; r < 4; ++r) {
            s += "      <Row Height=\"20\"><Cell Text=\"\xED\x98\x84\xEC\x9E\xAC\xEA\xB0\x80\" "
                 "Align=\"Right\" "
                 "Format=\"#,##0\"/><Cell Data=\"quote.price\" Color=\"#FF0000\"/><Cell/></Row>\n";
        }
        s += "    </Table>\n";
        s += "    <Grid Name=\"grid" + id +
             "\" DataSource=\"out.rows\" Rows=\"20\" HeadHeight=\"22\">\n";
        s += "      <Column Field=\"code\" Width=\"60\"/><Column Field=\"price\" Width=\"80\" "
             "Format=\"#,##0\"/>\n";
        s += "      <Column Field=\"volume\" Width=\"90\"/>\n    </Grid>\n";
        s += "    <Button Name=\"btn" + id +
             "\" Text=\"\xEC\xA1\xB0\xED\x9A\x8C\" OnClick=\"Script(Query)\"/>\n";
        s += "    <Script>Sub Query()\n  board.Request \"" + id + "\"\nEnd Sub</Script>\n";
        s += "  </Window>\n";
    }
    s += "</lib>\n";
    return s;
}

const std::string& File() {
    static const std::string file = ScreenLikeFile(5 * 1024 * 1024);
    return file;
}

void BM_Libxml2ParseAlone(benchmark::State& state) {
    const std::string& f = File();
    for (auto _ : state) {
        xmlDoc* doc =
            xmlReadMemory(f.data(), static_cast<int>(f.size()), nullptr, nullptr, XML_PARSE_NONET);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.size()));
}
BENCHMARK(BM_Libxml2ParseAlone)->Unit(benchmark::kMillisecond);

// The same parse with the compact text-node storage our parser asks for, to show how much of
// the difference is the element tree itself.
void BM_Libxml2ParseAloneCompact(benchmark::State& state) {
    const std::string& f = File();
    for (auto _ : state) {
        xmlDoc* doc = xmlReadMemory(f.data(),
                                    static_cast<int>(f.size()),
                                    nullptr,
                                    nullptr,
                                    XML_PARSE_NONET | XML_PARSE_COMPACT);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.size()));
}
BENCHMARK(BM_Libxml2ParseAloneCompact)->Unit(benchmark::kMillisecond);

void BM_ParseToElementTree(benchmark::State& state) {
    const std::string& f = File();
    XMLParser parser;
    for (auto _ : state) {
        XElement* root = nullptr;
        if (!parser.ParseMemory(f, &root))
            state.SkipWithError("parse failed");
        delete root;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.size()));
}
BENCHMARK(BM_ParseToElementTree)->Unit(benchmark::kMillisecond);

void BM_CloneTree(benchmark::State& state) {
    XMLParser parser;
    XElement* root = nullptr;
    parser.ParseMemory(File(), &root);
    std::unique_ptr<XElement> tree(root);
    for (auto _ : state)
        delete tree->Clone();
}
BENCHMARK(BM_CloneTree)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc,
                                      argv,
                                      {{"BM_ParseToElementTree", "BM_Libxml2ParseAlone"},
                                       {"BM_ParseToElementTree", "BM_Libxml2ParseAloneCompact"},
                                       {"BM_CloneTree", "BM_Libxml2ParseAlone"}});
}
