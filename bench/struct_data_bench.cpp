// Structure rows under load: received records mapped in, tab-separated text mapped in, every
// cell read, rows sorted by a numeric text field and a ring taking updates. Each is reported
// against the plain C++ work that does the same job without a structure.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/element.h"
#include "data/struct.h"
#include "data/variant.h"
#include "platform/base/codepage.h"
#include "platform/base/format.h"
#include "ratio_main.h"

namespace {

constexpr int kRows = 10'000;
constexpr int kRecordSize = 64;
constexpr int kSortRows = 100'000;
constexpr int kRingRows = 1'000;
constexpr int kRingUpdates = 1'000'000;

struct FieldDef {
    const wchar_t* name;
    DT_DATA_TYPE type;
    int size;
};

// A quote as a feed sends it: 64 packed bytes.
enum QuoteField { kCode, kBid, kAsk, kBidQty, kAskQty, kPrice, kChange, kRate, kAmount, kName };
constexpr FieldDef kQuoteFields[] = {
    {L"code", DT_STR, 6},
    {L"bid", DT_INT, 4},
    {L"ask", DT_INT, 4},
    {L"bidqty", DT_INT, 4},
    {L"askqty", DT_INT, 4},
    {L"price", DT_DOUBLE, 8},
    {L"change", DT_DOUBLE, 8},
    {L"rate", DT_DOUBLE, 8},
    {L"amount", DT_INT64, 8},
    {L"name", DT_STR, 10},
};
constexpr int kQuoteFieldCount = static_cast<int>(std::size(kQuoteFields));

// A daily summary keyed by its volume written as text with thousands separators; 64 bytes.
enum SummaryField { kVolume = 1 };
constexpr FieldDef kSummaryFields[] = {
    {L"code", DT_STR, 6},
    {L"volume", DT_STR, 14},
    {L"open", DT_INT, 4},
    {L"close", DT_INT, 4},
    {L"high", DT_DOUBLE, 8},
    {L"low", DT_DOUBLE, 8},
    {L"avg", DT_DOUBLE, 8},
    {L"amount", DT_INT64, 8},
    {L"seq", DT_INT, 4},
};

struct Quote {
    std::string code;
    int bid = 0;
    int ask = 0;
    int bidQty = 0;
    int askQty = 0;
    double price = 0;
    double change = 0;
    double rate = 0;
    std::int64_t amount = 0;
    std::string name;
};

CRecord MakeRecord(std::span<const FieldDef> fields) {
    CRecord record;
    for (const FieldDef& f : fields)
        record.AddNewField(L"", f.name, nullptr, f.type, f.size);
    record.CalcInternals();
    return record;
}

const CRecord& QuoteRecord() {
    static const CRecord record = MakeRecord(kQuoteFields);
    return record;
}

const std::vector<Quote>& Quotes() {
    static const std::vector<Quote> quotes = [] {
        std::vector<Quote> all(kRows);
        char text[16];
        for (int i = 0; i < kRows; ++i) {
            Quote& q = all[static_cast<std::size_t>(i)];
            std::snprintf(text, sizeof text, "%06d", (100'000 + i * 7) % 1'000'000);
            q.code = text;
            q.bid = 50'000 + i % 977;
            q.ask = q.bid + 5;
            q.bidQty = 100 + i % 313;
            q.askQty = 200 + i % 271;
            q.price = q.bid / 100.0;
            q.change = (i % 41 - 20) * 0.25;
            q.rate = q.change / q.price * 100;
            q.amount = static_cast<std::int64_t>(q.bid) * 1000 * (i % 1000 + 1);
            std::snprintf(text, sizeof text, "ITEM%05d", i);
            q.name = text;
        }
        return all;
    }();
    return quotes;
}

// The quotes in the record layout, one after the other, as MapData receives them.
const std::vector<unsigned char>& PackedQuotes() {
    static const std::vector<unsigned char> bytes = [] {
        const CRecord& r = QuoteRecord();
        std::vector<unsigned char> all(static_cast<std::size_t>(kRows) * kRecordSize, 0);
        for (int i = 0; i < kRows; ++i) {
            const Quote& q = Quotes()[static_cast<std::size_t>(i)];
            unsigned char* row = all.data() + static_cast<std::size_t>(i) * kRecordSize;
            auto put = [&](int field, const void* value, std::size_t size) {
                std::memcpy(row + r.GetOffSet(field), value, size);
            };
            put(kCode, q.code.data(), q.code.size());
            put(kBid, &q.bid, 4);
            put(kAsk, &q.ask, 4);
            put(kBidQty, &q.bidQty, 4);
            put(kAskQty, &q.askQty, 4);
            put(kPrice, &q.price, 8);
            put(kChange, &q.change, 8);
            put(kRate, &q.rate, 8);
            put(kAmount, &q.amount, 8);
            put(kName, q.name.data(), q.name.size());
        }
        return all;
    }();
    return bytes;
}

// The same quotes as tab-separated text, one line each.
const std::string& QuoteText() {
    static const std::string text = [] {
        std::string all;
        char line[256];
        for (const Quote& q : Quotes()) {
            std::snprintf(line,
                          sizeof line,
                          "%s\t%d\t%d\t%d\t%d\t%.2f\t%.2f\t%.6f\t%lld\t%s\n",
                          q.code.c_str(),
                          q.bid,
                          q.ask,
                          q.bidQty,
                          q.askQty,
                          q.price,
                          q.change,
                          q.rate,
                          static_cast<long long>(q.amount),
                          q.name.c_str());
            all += line;
        }
        return all;
    }();
    return text;
}

bool WriteQuote(XStruct& s, int row, const Quote& q) {
    return s.SetValBin(row, kCode, q.code.data(), static_cast<int>(q.code.size())) &&
           s.SetVal(row, kBid, q.bid) && s.SetVal(row, kAsk, q.ask) &&
           s.SetVal(row, kBidQty, q.bidQty) && s.SetVal(row, kAskQty, q.askQty) &&
           s.SetVal(row, kPrice, q.price) && s.SetVal(row, kChange, q.change) &&
           s.SetVal(row, kRate, q.rate) && s.SetValInt64(row, kAmount, q.amount) &&
           s.SetValBin(row, kName, q.name.data(), static_cast<int>(q.name.size()));
}

// A structure of the quote layout with `rows` rows; null when the rows cannot be made.
std::unique_ptr<XStruct> QuoteStruct(int rows) {
    auto s = std::make_unique<XStruct>();
    s->GetRecord() = QuoteRecord();
    if (s->GetRecordSize() != kRecordSize || !s->ConfirmDataMem(rows))
        return nullptr;
    return s;
}

// Whether `s` holds exactly the quotes, judged by two cells of the first and last rows.
bool HoldsQuotes(XStruct& s) {
    const Quote& last = Quotes().back();
    int bid = 0;
    std::wstring name;
    return s.GetRecordCount() == kRows && s.GetVal(kRows - 1, kBid, bid) && bid == last.bid &&
           s.GetVal(0, kName, name) && name == plat::FromAnsi(Quotes().front().name);
}

// ---- received records ----------------------------------------------------------------------

void BM_MemcpyRecords(benchmark::State& state) {
    const std::vector<unsigned char>& source = PackedQuotes();
    std::vector<unsigned char> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(source.size()));
}
BENCHMARK(BM_MemcpyRecords);

// The least a receiver without rows to reuse pays: new memory, then the copy.
void BM_AllocateAndCopyRecords(benchmark::State& state) {
    const std::vector<unsigned char>& source = PackedQuotes();
    std::unique_ptr<std::vector<unsigned char>> target;
    for (auto _ : state) {
        state.PauseTiming();
        target.reset();
        state.ResumeTiming();
        target = std::make_unique<std::vector<unsigned char>>(source.begin(), source.end());
        benchmark::DoNotOptimize(target->data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(source.size()));
}
BENCHMARK(BM_AllocateAndCopyRecords);

bool MapQuotes(XStruct& s) {
    const std::vector<unsigned char>& bytes = PackedQuotes();
    return s.MapData(
        kRows, static_cast<int>(bytes.size()), reinterpret_cast<const char*>(bytes.data()));
}

void BM_MapDataIntoExistingRows(benchmark::State& state) {
    std::unique_ptr<XStruct> s = QuoteStruct(kRows);
    if (!s || !MapQuotes(*s) || !HoldsQuotes(*s)) {
        state.SkipWithError("MapData failed or mapped the wrong cells");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(MapQuotes(*s));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRows) * kRecordSize);
}
BENCHMARK(BM_MapDataIntoExistingRows);

// The quote layout with its two quantities read as flags: received booleans are stored as
// 0 or 1. Every flag here arrives as a word other than 0 or 1, so every one is rewritten.
void BM_MapDataWithBooleansIntoExistingRows(benchmark::State& state) {
    FieldDef fields[std::size(kQuoteFields)];
    std::copy(std::begin(kQuoteFields), std::end(kQuoteFields), fields);
    fields[kBidQty].type = fields[kAskQty].type = DT_BOOL;
    XStruct s;
    s.GetRecord() = MakeRecord(fields);
    bool flag = false;
    if (s.GetRecordSize() != kRecordSize || !s.ConfirmDataMem(kRows) || !MapQuotes(s) ||
        !s.GetValBool(kRows - 1, kBidQty, flag) || !flag) {
        state.SkipWithError("MapData failed or mapped the wrong cells");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(MapQuotes(s));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRows) * kRecordSize);
}
BENCHMARK(BM_MapDataWithBooleansIntoExistingRows);

// Each run maps into a structure as its declaration leaves it (one row); making and
// destroying it is not timed, but its row memory is new every time.
void BM_MapDataIntoFreshStructure(benchmark::State& state) {
    std::unique_ptr<XStruct> declared = QuoteStruct(1);
    std::unique_ptr<XStruct> check = QuoteStruct(1);
    if (!declared || !check || !MapQuotes(*check) || !HoldsQuotes(*check)) {
        state.SkipWithError("MapData failed or mapped the wrong cells");
        return;
    }
    std::unique_ptr<XStruct> fresh;
    for (auto _ : state) {
        state.PauseTiming();
        fresh.reset();
        fresh = std::make_unique<XStruct>();
        fresh->CopyStruct(*declared);
        state.ResumeTiming();
        benchmark::DoNotOptimize(MapQuotes(*fresh));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRows) * kRecordSize);
}
BENCHMARK(BM_MapDataIntoFreshStructure);

// ---- tab-separated text --------------------------------------------------------------------

// Tabs and line feeds in one pass: what any reader of the text has to find at least.
std::size_t CountSeparators(const char* p, const char* end) {
    std::size_t count = 0;
    while (p < end) {
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
        const char* lineEnd = lf ? lf : end;
        for (const char* t = p;
             (t = static_cast<const char*>(std::memchr(t, '\t', lineEnd - t))) != nullptr;
             ++t)
            ++count;
        count += lf ? 1 : 0;
        p = lineEnd + 1;
    }
    return count;
}

void BM_CopyAndScanDelimitedText(benchmark::State& state) {
    const std::string& text = QuoteText();
    std::vector<char> buffer(text.size() + 1, 0);
    for (auto _ : state) {
        std::memcpy(buffer.data(), text.data(), text.size());
        benchmark::DoNotOptimize(CountSeparators(buffer.data(), buffer.data() + text.size()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_CopyAndScanDelimitedText);

// The text is copied into the buffer every run because mapping overwrites its separators.
void MapDelimited(benchmark::State& state, std::unique_ptr<XStruct> s) {
    const std::string& text = QuoteText();
    std::vector<char> buffer(text.size() + 1, 0);
    auto map = [&] {
        std::memcpy(buffer.data(), text.data(), text.size());
        return s->MapDelimiterData(kRows, static_cast<int>(text.size()), buffer.data(), 'T');
    };
    if (!s || !map() || !HoldsQuotes(*s)) {
        state.SkipWithError("MapDelimiterData failed or mapped the wrong cells");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(map());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_MapDelimiterData(benchmark::State& state) {
    MapDelimited(state, QuoteStruct(kRows));
}
BENCHMARK(BM_MapDelimiterData);

// The same text into a layout the whole-line vector form does not take (one quantity read as
// an unsigned integer), so every line goes field by field.
void BM_MapDelimiterDataFieldByField(benchmark::State& state) {
    FieldDef fields[std::size(kQuoteFields)];
    std::copy(std::begin(kQuoteFields), std::end(kQuoteFields), fields);
    fields[kBidQty].type = DT_UINT;
    auto s = std::make_unique<XStruct>();
    s->GetRecord() = MakeRecord(fields);
    if (s->GetRecordSize() != kRecordSize || !s->ConfirmDataMem(kRows))
        s.reset();
    MapDelimited(state, std::move(s));
}
BENCHMARK(BM_MapDelimiterDataFieldByField);

// ---- reading cells ---------------------------------------------------------------------------

XStruct* FilledQuoteStruct() {
    static const std::unique_ptr<XStruct> s = [] {
        std::unique_ptr<XStruct> filled = QuoteStruct(kRows);
        for (int row = 0; filled && row < kRows; ++row) {
            if (!WriteQuote(*filled, row, Quotes()[static_cast<std::size_t>(row)]))
                filled.reset();
        }
        return filled;
    }();
    return s.get();
}

constexpr std::int64_t kCellsPerRun = static_cast<std::int64_t>(kRows) * kQuoteFieldCount;

// The same text forms a cell gives, made from plain values.
void BM_FormatPlainCells(benchmark::State& state) {
    const std::vector<Quote>& quotes = Quotes();
    std::wstring out;
    auto use = [&out](std::wstring text) {
        out = std::move(text);
        benchmark::DoNotOptimize(out.data());
    };
    for (auto _ : state) {
        for (const Quote& q : quotes) {
            use(plat::FromAnsi(q.code));
            use(plat::FormatInt(q.bid));
            use(plat::FormatInt(q.ask));
            use(plat::FormatInt(q.bidQty));
            use(plat::FormatInt(q.askQty));
            use(plat::FormatDouble(q.price));
            use(plat::FormatDouble(q.change));
            use(plat::FormatDouble(q.rate));
            use(plat::FormatInt64(q.amount));
            use(plat::FromAnsi(q.name));
        }
    }
    state.SetItemsProcessed(state.iterations() * kCellsPerRun);
}
BENCHMARK(BM_FormatPlainCells);

// The same variants a cell gives, made from plain values.
void BM_VariantFromPlainCells(benchmark::State& state) {
    const std::vector<Quote>& quotes = Quotes();
    CVariant out;
    auto use = [&out](bool) { benchmark::DoNotOptimize(&out); };
    for (auto _ : state) {
        for (const Quote& q : quotes) {
            use(out.SetString(plat::FromAnsi(q.code)));
            use(out.SetInt(q.bid));
            use(out.SetInt(q.ask));
            use(out.SetInt(q.bidQty));
            use(out.SetInt(q.askQty));
            use(out.SetDouble(q.price));
            use(out.SetDouble(q.change));
            use(out.SetDouble(q.rate));
            use(out.SetInt64(q.amount));
            use(out.SetString(plat::FromAnsi(q.name)));
        }
    }
    state.SetItemsProcessed(state.iterations() * kCellsPerRun);
}
BENCHMARK(BM_VariantFromPlainCells);

// Reads every cell of the filled structure into `Out`; false when a cell cannot be read.
template <class Out> bool ReadAllCells(XStruct& s, Out& out) {
    bool ok = true;
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kQuoteFieldCount; ++col) {
            ok &= s.GetVal(row, col, out);
            benchmark::DoNotOptimize(&out);
        }
    }
    return ok;
}

template <class Out> void ReadCells(benchmark::State& state) {
    XStruct* s = FilledQuoteStruct();
    Out out;
    if (!s || !ReadAllCells(*s, out)) {
        state.SkipWithError("filling or reading the cells failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAllCells(*s, out));
    state.SetItemsProcessed(state.iterations() * kCellsPerRun);
}

void BM_GetValText(benchmark::State& state) {
    ReadCells<std::wstring>(state);
}
BENCHMARK(BM_GetValText);

void BM_GetValVariant(benchmark::State& state) {
    ReadCells<CVariant>(state);
}
BENCHMARK(BM_GetValVariant);

// ---- sorting by a numeric text field -------------------------------------------------------

std::string WithThousands(int value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}

// Volumes in a fixed pseudo-random order.
const std::vector<int>& Volumes() {
    static const std::vector<int> volumes = [] {
        std::vector<int> all(kSortRows);
        std::uint32_t x = 12345;
        for (int& v : all) {
            x = x * 1'103'515'245u + 12'345u;
            v = static_cast<int>((x >> 1) % 100'000'000u);
        }
        return all;
    }();
    return volumes;
}

// The summary rows in the unsorted order; null when they cannot be made.
const XStruct* UnsortedSummaries() {
    static const std::unique_ptr<XStruct> s = [] {
        auto rows = std::make_unique<XStruct>();
        rows->GetRecord() = MakeRecord(kSummaryFields);
        if (rows->GetRecordSize() != kRecordSize || !rows->ConfirmDataMem(kSortRows))
            return std::unique_ptr<XStruct>();
        for (int row = 0; row < kSortRows; ++row) {
            const std::string volume = WithThousands(Volumes()[static_cast<std::size_t>(row)]);
            if (!rows->SetValBin(row, kVolume, volume.data(), static_cast<int>(volume.size())))
                return std::unique_ptr<XStruct>();
        }
        return rows;
    }();
    return s.get();
}

// Whether the volumes run one way, whichever the order chose.
bool VolumesOrdered(XStruct& s) {
    std::vector<int> keys(kSortRows);
    std::wstring text;
    for (int row = 0; row < kSortRows; ++row) {
        if (!s.GetVal(row, kVolume, text))
            return false;
        std::erase(text, L',');
        keys[static_cast<std::size_t>(row)] = std::stoi(text);
    }
    return std::is_sorted(keys.begin(), keys.end()) || std::is_sorted(keys.rbegin(), keys.rend());
}

void BM_StableSortIntKeys(benchmark::State& state) {
    std::vector<int> keys;
    for (auto _ : state) {
        state.PauseTiming();
        keys = Volumes();
        state.ResumeTiming();
        std::stable_sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
    state.SetItemsProcessed(state.iterations() * kSortRows);
}
BENCHMARK(BM_StableSortIntKeys);

// The unsorted rows are copied back, untimed, before every sort.
void BM_SortTextAsIntRestoredEachRun(benchmark::State& state) {
    const XStruct* unsorted = UnsortedSummaries();
    XStruct rows;
    if (!unsorted) {
        state.SkipWithError("the summary rows could not be made");
        return;
    }
    rows.CopyStruct(*unsorted);
    if (rows.Sort(kVolume, SORT_INT, SORT_ASC) != 1 || !VolumesOrdered(rows)) {
        state.SkipWithError("Sort failed or left the rows unordered");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        rows.CopyStruct(*unsorted);
        state.ResumeTiming();
        benchmark::DoNotOptimize(rows.Sort(kVolume, SORT_INT, SORT_ASC));
    }
    state.SetItemsProcessed(state.iterations() * kSortRows);
}
BENCHMARK(BM_SortTextAsIntRestoredEachRun);

// ---- a ring taking updates -----------------------------------------------------------------

void BM_PlainRingMemcpy(benchmark::State& state) {
    const std::vector<unsigned char>& records = PackedQuotes();
    std::vector<unsigned char> ring(static_cast<std::size_t>(kRingRows) * kRecordSize, 0);
    std::size_t head = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        for (int u = 0; u < kRingUpdates; ++u) {
            head = head == 0 ? kRingRows - 1 : head - 1;
            std::memcpy(
                ring.data() + head * kRecordSize, records.data() + next * kRecordSize, kRecordSize);
            if (++next == kRows)
                next = 0;
        }
        benchmark::DoNotOptimize(ring.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kRingUpdates);
}
BENCHMARK(BM_PlainRingMemcpy);

// The same updates into a plain ring, written a cell at a time through a setter that checks
// what any safe cell write must: the row, the column and the cell's type. What the structure
// adds beyond that is its own cost.
void BM_PlainRingCheckedCells(benchmark::State& state) {
    const CRecord& record = QuoteRecord();
    struct Cell {
        DT_DATA_TYPE type;
        int offset;
        int size;
    };
    std::vector<Cell> cells;
    for (int c = 0; c < kQuoteFieldCount; ++c)
        cells.push_back({kQuoteFields[c].type, record.GetOffSet(c), kQuoteFields[c].size});
    std::vector<unsigned char> ring(static_cast<std::size_t>(kRingRows) * kRecordSize, 0);
    std::size_t head = 0;
    auto cell = [&](std::size_t row, int col, DT_DATA_TYPE type) -> unsigned char* {
        if (row >= kRingRows || col < 0 || col >= kQuoteFieldCount ||
            cells[static_cast<std::size_t>(col)].type != type)
            return nullptr;
        const std::size_t physical = head + row < kRingRows ? head + row : head + row - kRingRows;
        return ring.data() + physical * kRecordSize + cells[static_cast<std::size_t>(col)].offset;
    };
    auto put = [&](int col, DT_DATA_TYPE type, const void* value, std::size_t size) {
        unsigned char* at = cell(0, col, type);
        return at && (std::memcpy(at, value, size), true);
    };
    auto putChars = [&](int col, const std::string& text) {
        unsigned char* at = cell(0, col, DT_STR);
        if (!at)
            return false;
        const auto width = static_cast<std::size_t>(cells[static_cast<std::size_t>(col)].size);
        std::memset(at, 0, width);
        std::memcpy(at, text.data(), std::min(text.size(), width));
        return true;
    };
    const std::vector<Quote>& quotes = Quotes();
    std::size_t next = 0;
    for (auto _ : state) {
        for (int u = 0; u < kRingUpdates; ++u) {
            head = head == 0 ? kRingRows - 1 : head - 1;
            const Quote& q = quotes[next];
            benchmark::DoNotOptimize(
                putChars(kCode, q.code) && put(kBid, DT_INT, &q.bid, 4) &&
                put(kAsk, DT_INT, &q.ask, 4) && put(kBidQty, DT_INT, &q.bidQty, 4) &&
                put(kAskQty, DT_INT, &q.askQty, 4) && put(kPrice, DT_DOUBLE, &q.price, 8) &&
                put(kChange, DT_DOUBLE, &q.change, 8) && put(kRate, DT_DOUBLE, &q.rate, 8) &&
                put(kAmount, DT_INT64, &q.amount, 8) && putChars(kName, q.name));
            if (++next == kRows)
                next = 0;
        }
        benchmark::DoNotOptimize(ring.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kRingUpdates);
}
BENCHMARK(BM_PlainRingCheckedCells);

// A full ring of the quote layout, as markup declares one with "MaxRow".
std::unique_ptr<XStruct> QuoteRing() {
    auto ring = std::make_unique<XStruct>();
    XElement element(L"structure");
    element.SetValue(L"MaxRow", std::to_wstring(kRingRows));
    if (!ring->SetElement(&element))
        return nullptr;
    ring->GetRecord() = QuoteRecord();
    if (!ring->ConfirmDataMem() || !ring->SetRowCount(kRingRows) || ring->GetMaxRow() != kRingRows)
        return nullptr;
    return ring;
}

// Each update moves every row down by one and writes the new quote into row 0, cell by cell.
void BM_RingShiftDownAndWriteCells(benchmark::State& state) {
    std::unique_ptr<XStruct> ring = QuoteRing();
    const std::vector<Quote>& quotes = Quotes();
    auto update = [&ring](const Quote& q) { return ring->ShiftDown(1) && WriteQuote(*ring, 0, q); };
    int newest = 0;
    int previous = 0;
    if (!ring || !update(quotes[0]) || !update(quotes[1]) || !ring->GetVal(0, kBid, newest) ||
        !ring->GetVal(1, kBid, previous) || newest != quotes[1].bid || previous != quotes[0].bid) {
        state.SkipWithError("the ring could not be made or lost an update");
        return;
    }
    std::size_t next = 0;
    for (auto _ : state) {
        for (int u = 0; u < kRingUpdates; ++u) {
            benchmark::DoNotOptimize(update(quotes[next]));
            if (++next == kRows)
                next = 0;
        }
    }
    state.SetItemsProcessed(state.iterations() * kRingUpdates);
}
BENCHMARK(BM_RingShiftDownAndWriteCells);

// Received quotes going in at the top of the ring a whole row at a time, as a tick list takes
// them (an "Add" at the top without fields).
void BM_RingInsertReceivedRows(benchmark::State& state) {
    std::unique_ptr<XStruct> ring = QuoteRing();
    std::unique_ptr<XStruct> received = QuoteStruct(kRows);
    const std::vector<unsigned char>& packed = PackedQuotes();
    const std::vector<Quote>& quotes = Quotes();
    int newest = 0;
    int previous = 0;
    if (!ring || !received ||
        !received->MapData(
            kRows, static_cast<int>(packed.size()), reinterpret_cast<const char*>(packed.data())) ||
        ring->InsertRowsAtTop(*received, 0, 1) != 1 ||
        ring->InsertRowsAtTop(*received, 1, 1) != 1 || !ring->GetVal(0, kBid, newest) ||
        !ring->GetVal(1, kBid, previous) || newest != quotes[1].bid || previous != quotes[0].bid ||
        ring->GetRecordCount() != kRingRows) {
        state.SkipWithError("the ring could not be made or lost an update");
        return;
    }
    int next = 0;
    for (auto _ : state) {
        for (int u = 0; u < kRingUpdates; ++u) {
            benchmark::DoNotOptimize(ring->InsertRowsAtTop(*received, next, 1));
            if (++next == kRows)
                next = 0;
        }
    }
    state.SetItemsProcessed(state.iterations() * kRingUpdates);
}
BENCHMARK(BM_RingInsertReceivedRows);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(
        argc,
        argv,
        {{"BM_MapDataIntoExistingRows", "BM_MemcpyRecords"},
         {"BM_MapDataWithBooleansIntoExistingRows", "BM_MemcpyRecords"},
         {"BM_MapDataIntoFreshStructure", "BM_MemcpyRecords"},
         {"BM_MapDataIntoFreshStructure", "BM_AllocateAndCopyRecords"},
         {"BM_MapDelimiterData", "BM_CopyAndScanDelimitedText"},
         {"BM_MapDelimiterDataFieldByField", "BM_CopyAndScanDelimitedText"},
         {"BM_RingInsertReceivedRows", "BM_PlainRingMemcpy"},
         {"BM_GetValText", "BM_FormatPlainCells"},
         {"BM_GetValVariant", "BM_FormatPlainCells"},
         {"BM_GetValVariant", "BM_VariantFromPlainCells"},
         {"BM_SortTextAsIntRestoredEachRun", "BM_StableSortIntKeys"},
         {"BM_RingShiftDownAndWriteCells", "BM_PlainRingMemcpy"},
         {"BM_RingShiftDownAndWriteCells", "BM_PlainRingCheckedCells"}});
}
