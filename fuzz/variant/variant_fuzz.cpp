// Arbitrary text through the variant's text conversions into every type, back to text, and
// through copies and comparisons. Besides crashes, leaks and double frees it checks the
// round trips that must hold for any value: a number's text reads back as the same number,
// a copy equals its source, a borrowed string is never taken over.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/variant.h"
#include "fuzz_support.h"
#include "platform/base/lenient.h"

namespace {

using orvo::fuzz::Check;

// Copies must compare equal to their source, except where equality never holds.
bool EqualsItsCopy(const CVariant& v) {
    double d = 0;
    if (v.GetType() == DT_NONE)
        return false;
    if ((v.GetType() == DT_DOUBLE || v.GetType() == DT_FLOAT) && v.GetDouble(d) && std::isnan(d))
        return false;
    return true;
}

void CheckCopies(const CVariant& v) {
    CVariant copy(v);
    Check((copy == v) == EqualsItsCopy(v));
    Check(copy.GetType() == v.GetType());
    CVariant assigned(L"owned before");
    assigned = v;
    Check(assigned.GetType() == v.GetType());
    CVariant moved(std::move(copy));
    Check((moved == v) == EqualsItsCopy(v));
    if (v.GetType() == DT_PT_STR)
        Check(moved.GetRawString() == v.GetRawString());
    std::wstring a, b;
    Check(v.Get(a) == moved.Get(b));
    Check(a == b);
}

// "%f" keeps six decimals: the text is within half a millionth plus the value's rounding.
bool ReadsBackAs(const std::wstring& form, double value) {
    const double back = plat::_wtof(form);
    if (std::isnan(value))
        return std::isnan(back);
    if (std::isinf(value))
        return back == value;
    return std::fabs(back - value) <= 1e-6 + std::fabs(value) * 1e-15;
}

CVariant Text(const std::wstring& text) {
    CVariant v;
    v.SetString(std::wstring_view(text));
    return v;
}

// Each conversion from the text, and the converted value's own text read back.
void RoundTrips(const CVariant& text) {
    std::wstring form;
    CVariant v;

    int i = 0;
    Check(text.GetInt(i));
    v.SetInt(i);
    Check(v.Get(form) && plat::_wtoi(form) == i);
    CheckCopies(v);

    unsigned u = 0;
    if (text.GetUInt(u)) {
        v.SetUInt(u);
        unsigned back = 0;
        Check(v.Get(form) && plat::ScanUnsigned(form, back) && back == u);
        CheckCopies(v);
    }

    std::int64_t l = 0;
    Check(text.GetInt64(l));
    v.SetInt64(l);
    Check(v.Get(form) && plat::_wtoi64(form) == l);
    CheckCopies(v);

    double d = 0;
    Check(text.GetDouble(d));
    v.SetDouble(d);
    Check(v.Get(form) && ReadsBackAs(form, d));
    CheckCopies(v);

    float f = 0;
    Check(text.GetFloat(f));
    v.SetFloat(f);
    Check(v.Get(form) && ReadsBackAs(form, f));
    CheckCopies(v);

    int truth = 0;
    if (text.GetBool(truth)) {
        v.SetBool(truth);
        Check(v.Get(form) && Text(form).GetBool() == truth);
        CheckCopies(v);
    }

    char c = 0;
    if (text.GetChar(c)) {
        v.SetChar(c);
        Check(v.Get(form) && form.size() == 1);
        // ASCII survives the code page both ways.
        if (static_cast<unsigned char>(c) < 0x80)
            Check(Text(form).GetChar() == c);
        CheckCopies(v);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first line and the rest are two texts, so that equality and copies meet
    // different strings too.
    std::wstring whole = orvo::fuzz::Widen(data, size);
    const std::size_t cut = whole.find(L'\n');
    std::wstring first = whole.substr(0, cut);
    std::wstring second = cut == std::wstring::npos ? std::wstring() : whole.substr(cut + 1);

    const CVariant owned = Text(first);
    CVariant borrowed;
    Check(borrowed.SetPtStr(&second));
    RoundTrips(owned);
    RoundTrips(borrowed);
    CheckCopies(owned);
    CheckCopies(borrowed);

    // Texts compare as texts, borrowed strings by address.
    Check((owned == Text(second)) == (first == second));
    Check(!(owned == borrowed));

    // A pool of variants of every kind, assigned over each other in an order the input picks.
    std::vector<CVariant> pool(8);
    pool[0] = owned;
    pool[1] = borrowed;
    pool[2].SetDouble(owned.GetDouble());
    pool[3].SetInt64(borrowed.GetInt64());
    pool[4].SetChar(owned.GetChar());
    pool[5].SetBool(borrowed.GetBool());
    pool[6].SetFloat(borrowed.GetFloat());
    for (std::size_t k = 0; k + 1 < size && k < 64; k += 2) {
        CVariant& to = pool[data[k] % pool.size()];
        const CVariant& from = pool[data[k + 1] % pool.size()];
        const bool copied = to.Set(from);
        Check(copied == (&to == &from || from.GetType() != DT_NONE));
        if (copied)
            Check((to == from) == (&to == &from || EqualsItsCopy(from)));
    }
    // Nothing borrowed was ever freed or changed.
    Check(second == (cut == std::wstring::npos ? std::wstring() : whole.substr(cut + 1)));
    return 0;
}
