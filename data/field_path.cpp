// Cell paths: alternating row numbers and field names, "[2].price", "qty", "items[3].code".
#include <climits>

#include "data/inner_struct.h"
#include "data/record.h"

namespace {

// "qty" reads as "[0].qty" and "a.b" as "[0].a[0].b": every name gets its row.
std::wstring Normalise(std::wstring_view path) {
    std::wstring text;
    if (!path.empty() && path.front() == L'.')
        text = L"[0]";
    else if (path.empty() || path.front() != L'[')
        text = L"[0].";
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == L'.' && i > 0 && path[i - 1] != L']')
            text += L"[0]";
        text += path[i];
    }
    return text;
}

std::vector<std::wstring_view> Tokens(std::wstring_view text) {
    std::vector<std::wstring_view> tokens;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool cut = i == text.size() || text[i] == L'[' || text[i] == L']' ||
                         text[i] == L'.' || text[i] == L' ' || text[i] == L'\t';
        if (!cut)
            continue;
        if (i > start)
            tokens.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    return tokens;
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

bool CRecord::GetRowFieldIndex(const wchar_t* path, std::vector<int>& out) const {
    out.clear();
    if (!path)
        return false;
    const std::wstring text = Normalise(path);
    const std::vector<std::wstring_view> tokens = Tokens(text);
    if (tokens.size() < 2 || tokens.size() % 2 != 0)
        return false;
    const CRecord* record = this;
    for (std::size_t i = 0; i < tokens.size(); i += 2) {
        int row = 0;
        const int field = record ? record->GetFieldIndex(tokens[i + 1]) : -1;
        if (!ReadRow(tokens[i], row) || field < 0) {
            out.clear();
            return false;
        }
        out.push_back(row);
        out.push_back(field);
        const CField* f = record->GetField(field);
        record = f->Type == DT_STRUCT && f->InnerStruct ? &f->InnerStruct->record : nullptr;
    }
    return !out.empty();
}
