// Formula evaluation over the rows of a structure, against the same expression written in
// C++ reading the same cells through the structure's typed accessors: what the formula
// engine costs on top of reading the cells themselves.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/struct.h"
#include "flow/formula.h"
#include "ratio_main.h"

namespace {

constexpr int kRows = 1000;
enum Col { PRICE, QTY, FEE, PX };

struct Quotes {
    Quotes() {
        constexpr std::string_view markup = R"(<structure Name="quote" count="1000">
  <this.field item="price" type="Integer"/>
  <this.field item="qty" type="Integer"/>
  <this.field item="fee" type="Integer"/>
  <this.field item="px" type="Double"/>
</structure>)";
        XElement* root = nullptr;
        XMLParser parser;
        if (parser.ParseMemory(markup, &root))
            page.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        s = dynamic_cast<XStruct*>(page.get());
        for (int r = 0; s && r < kRows; ++r) {
            s->SetVal(r, PRICE, CVariant(1000 + r));
            s->SetVal(r, QTY, CVariant(r % 17 + 1));
            s->SetVal(r, FEE, CVariant(r % 5));
            s->SetVal(r, PX, std::to_wstring(r * 0.25 + 1).c_str());
        }
    }
    orvo::XDOPtr page;
    XStruct* s = nullptr;
};

Quotes& Data() {
    static Quotes quotes;
    return quotes;
}

// The formula evaluated over one row after another, as a calculated column is.
void EvaluateRows(benchmark::State& state, CFormula::PRECISION precision, const wchar_t* text) {
    XStruct* s = Data().s;
    CFormula f;
    f.SetPrecision(precision);
    if (!s || !f.SetFormula(s, text)) {
        state.SkipWithError("the formula did not compile");
        return;
    }
    CVariant out;
    int row = 0;
    for (auto _ : state) {
        f.ChangeFieldRow(row, -1, -1);
        f.Evaluate(s, out);
        benchmark::DoNotOptimize(out);
        row = row + 1 == kRows ? 0 : row + 1;
    }
}

void BM_FormulaInt(benchmark::State& state) {
    EvaluateRows(state, CFormula::PRECISION_INT, L"price * qty - fee > 5000 && qty != 3");
}
BENCHMARK(BM_FormulaInt);

void BM_CppInt(benchmark::State& state) {
    XStruct* s = Data().s;
    CVariant out;
    int row = 0;
    for (auto _ : state) {
        int price = 0, qty = 0, fee = 0;
        s->GetVal(row, PRICE, price);
        s->GetVal(row, QTY, qty);
        s->GetVal(row, FEE, fee);
        out.SetInt(price * qty - fee > 5000 && qty != 3);
        benchmark::DoNotOptimize(out);
        row = row + 1 == kRows ? 0 : row + 1;
    }
}
BENCHMARK(BM_CppInt);

void BM_FormulaDouble(benchmark::State& state) {
    EvaluateRows(state, CFormula::PRECISION_DOUBLE, L"px * qty / 2 - fee");
}
BENCHMARK(BM_FormulaDouble);

void BM_CppDouble(benchmark::State& state) {
    XStruct* s = Data().s;
    CVariant out;
    int row = 0;
    for (auto _ : state) {
        double px = 0;
        int qty = 0, fee = 0;
        s->GetVal(row, PX, px);
        s->GetVal(row, QTY, qty);
        s->GetVal(row, FEE, fee);
        out.SetDouble(px * qty / 2 - fee);
        benchmark::DoNotOptimize(out);
        row = row + 1 == kRows ? 0 : row + 1;
    }
}
BENCHMARK(BM_CppDouble);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(
        argc, argv, {{"BM_FormulaInt", "BM_CppInt"}, {"BM_FormulaDouble", "BM_CppDouble"}});
}
