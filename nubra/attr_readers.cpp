#include "nubra/attr_readers.h"

#include <cfloat>
#include <cmath>

#include "nubra/trim_blanks.h"
#include "platform/base/codepage.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace {

const std::wstring* Lookup(const CMapStringToString* map, std::wstring_view key) {
    return map ? map->Find(key) : nullptr;
}

bool IsNumberStart(std::wstring_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        ++i;
    }
    if (i < text.size() && text[i] == L'.') {
        ++i;
    }
    return i < text.size() && text[i] >= L'0' && text[i] <= L'9';
}

bool TextIsTrue(std::wstring_view raw) {
    const std::wstring_view text = orvo::TrimBlanks(raw);
    for (std::wstring_view word : {L"true", L"yes", L"on", L"t", L"y"}) {
        if (text.size() == word.size() && plat::EqualsNoCase(text, word)) {
            return true;
        }
    }
    // "0.0" is false and "2" is true, so compare the value, not the text.
    return IsNumberStart(text) && plat::_wtof(text) != 0.0;
}

} // namespace

int GetValue(const CMapStringToString* map, std::wstring_view key, std::wstring& out) {
    const std::wstring* text = Lookup(map, key);
    if (!text) {
        return 0;
    }
    out = *text;
    return 1;
}

int GetValue(const CMapStringToString* map, std::wstring_view key, int& out) {
    const std::wstring* text = Lookup(map, key);
    if (!text) {
        return 0;
    }
    out = plat::_wtoi(std::wstring_view(*text));
    return 1;
}

int GetValue(const CMapStringToString* map, std::wstring_view key, float& out) {
    const std::wstring* text = Lookup(map, key);
    if (!text) {
        return 0;
    }
    const double value = plat::_wtof(std::wstring_view(*text));
    // Narrowing a finite double beyond float's range is not defined; saturate to infinity.
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX) {
        out = value > 0 ? HUGE_VALF : -HUGE_VALF;
    } else {
        out = static_cast<float>(value);
    }
    return 1;
}

int GetValue(const CMapStringToString* map, std::wstring_view key, double& out) {
    const std::wstring* text = Lookup(map, key);
    if (!text) {
        return 0;
    }
    out = plat::_wtof(std::wstring_view(*text));
    return 1;
}

int GetBool(const CMapStringToString* map, std::wstring_view key, bool& out) {
    const std::wstring* text = Lookup(map, key);
    if (!text) {
        return 0;
    }
    out = TextIsTrue(*text);
    return 1;
}

int GetBool(const CMapStringToString* map, std::wstring_view key, int& out) {
    bool value = false;
    if (!GetBool(map, key, value)) {
        return 0;
    }
    out = value ? 1 : 0;
    return 1;
}

int GetChar(const CMapStringToString* map, std::wstring_view key, char& out) {
    const std::wstring* text = Lookup(map, key);
    if (!text) {
        return 0;
    }
    if (text->empty()) {
        out = 0;
        return 1;
    }
    const std::string bytes = plat::ToAnsi(std::wstring_view(*text).substr(0, 1));
    out = bytes.empty() ? 0 : bytes.front();
    return 1;
}

int GetChar(const CMapStringToString* map, std::wstring_view key, wchar_t& out) {
    const std::wstring* text = Lookup(map, key);
    if (!text) {
        return 0;
    }
    out = text->empty() ? L'\0' : text->front();
    return 1;
}

int GetUInt(const CMapStringToString* map, std::wstring_view key, unsigned& out) {
    const std::wstring* text = Lookup(map, key);
    if (!text) {
        return 0;
    }
    unsigned value = 0;
    if (!plat::ScanUnsigned(*text, value)) {
        value = 0;
    }
    out = value;
    return 1;
}

int GetInt64(const CMapStringToString* map, std::wstring_view key, std::int64_t& out) {
    const std::wstring* text = Lookup(map, key);
    if (!text) {
        return 0;
    }
    out = plat::_wtoi64(std::wstring_view(*text));
    return 1;
}
