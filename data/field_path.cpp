// Cell paths: alternating row numbers and field names, "[2].price", "qty", "items[3].code".
// A name without its row reads as row 0 ("qty" is "[0].qty", "a.b" is "[0].a[0].b").
#include <climits>

#include "data/inner_struct.h"
#include "data/record.h"

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'[' || c == L']' || c == L'.' || c == L' ' || c == L'\t';
}

// A row is a plain decimal number that fits an int; "-1", "x" or eleven digits name no row.
bool ReadRow(std::wstring_view token, int& row) {
    long long value = 0;
    for (wchar_t c : token) {
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + (c - L'0');
        if (value > INT_MAX)
            return false;
    }
    row = static_cast<int>(value);
    return true;
}

} // namespace

// Resolved for every bound cell, so the path is read in one pass without allocating: the
// implied rows are produced as tokens "0" where a name has none.
bool CRecord::GetRowFieldIndex(const wchar_t* path, std::vector<int>& out) const {
    out.clear();
    if (!path)
        return false;
    const std::wstring_view text(path);
    const CRecord* record = this;
    bool failed = false;
    std::size_t count = 0;
    int row = 0;
    auto token = [&](std::wstring_view t) {
        if (failed)
            return;
        if (count++ % 2 == 0) {
            failed = !ReadRow(t, row);
            return;
        }
        const int field = record ? record->GetFieldIndex(t) : -1;
        if (field < 0) {
            failed = true;
            return;
        }
        out.push_back(row);
        out.push_back(field);
        const CField* f = record->GetField(field);
        record = f->Type == DT_STRUCT && f->InnerStruct ? &f->InnerStruct->record : nullptr;
    };
    if (text.empty() || text.front() != L'[')
        token(L"0");
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !IsSeparator(text[i]))
            continue;
        if (i > start)
            token(text.substr(start, i - start));
        if (i < text.size() && text[i] == L'.' && i > 0 && text[i - 1] != L']')
            token(L"0");
        start = i + 1;
    }
    if (failed || count < 2 || count % 2 != 0) {
        out.clear();
        return false;
    }
    return true;
}
