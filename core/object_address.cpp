// Objects addressed by text: names, "opener.", "ptr:", "Link(...)" and "Data(...)".
#include <cstdint>
#include <string>

#include "core/live_objects.h"
#include "core/xdo.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"

namespace {

constexpr std::wstring_view kPtr = L"ptr:";
constexpr std::wstring_view kOpener = L"opener.";

// "Head(" inner ")" -> inner; false when the text has another shape.
bool Unwrap(std::wstring_view text, std::wstring_view head, std::wstring& inner) {
    if (text.size() < head.size() + 1 || !plat::StartsWithNoCase(text, head) || text.back() != L')')
        return false;
    inner.assign(text.substr(head.size(), text.size() - head.size() - 1));
    return true;
}

// A decimal number of at most 20 digits that fits 64 bits; false for anything else.
bool ReadNumber(std::wstring_view digits, std::uint64_t& value) {
    if (digits.empty() || digits.size() > 20)
        return false;
    value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return false;
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (UINT64_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

} // namespace

// "ptr:" address ":" serial. The serial makes the text name this object only: once it is
// destroyed, an object made later at the same address has another serial.
std::wstring XdoToPtr(const XDO* obj) {
    std::wstring text(kPtr);
    text += std::to_wstring(reinterpret_cast<std::uintptr_t>(obj));
    if (obj)
        text += L':' + std::to_wstring(obj->GetSerial());
    return text;
}

XDO* PtrToXdo(const std::wstring& text) {
    if (!plat::StartsWithNoCase(text, kPtr))
        return nullptr;
    std::wstring_view rest = orvo::TrimBlanks(std::wstring_view(text).substr(kPtr.size()));
    const std::size_t colon = rest.find(L':');
    std::uint64_t address = 0, serial = 0;
    if (!ReadNumber(rest.substr(0, colon), address) || address > UINTPTR_MAX)
        return nullptr;
    const bool withSerial = colon != std::wstring_view::npos;
    if (withSerial && !ReadNumber(rest.substr(colon + 1), serial))
        return nullptr;
    // Only the address is compared; the pointer is used once the live set vouches for it.
    const auto* candidate = reinterpret_cast<const XDO*>(static_cast<std::uintptr_t>(address));
    if (!orvo::LiveObjects::Contains(candidate))
        return nullptr;
    // A bare address (written by hand) names whatever lives there now.
    return !withSerial || candidate->GetSerial() == serial ? const_cast<XDO*>(candidate) : nullptr;
}

bool IsLiveXdo(const XDO* obj) {
    return orvo::LiveObjects::Contains(obj);
}

XDO* GetOpener(XDO* obj) {
    if (!obj)
        return nullptr;
    XElement* params = obj->GetTopParent()->GetParamElement();
    std::wstring opener;
    if (!params || !params->GetValue(L"__Opener", opener) || !plat::StartsWithNoCase(opener, kPtr))
        return nullptr;
    return PtrToXdo(opener);
}

int FrameAutoClose(XDO* obj, int close) {
    if (!obj)
        return 0;
    XDO* top = obj->GetTopParent();
    if (!top->GetParamElement())
        top->SetParamElement(new XElement(L"param"));
    top->GetParamElement()->SetBool(L"Frame_AutoClose", close != 0);
    return 1;
}

XDO* FindLink(XDO* obj, std::wstring expr) {
    std::wstring inner;
    for (;;) {
        while (plat::StartsWithNoCase(expr, kOpener)) {
            obj = GetOpener(obj);
            if (!obj)
                return nullptr;
            expr.erase(0, kOpener.size());
        }
        if (!Unwrap(expr, L"Link(", inner))
            break;
        expr = inner;
    }
    if (plat::StartsWithNoCase(expr, kPtr))
        return PtrToXdo(expr);
    if (!obj || expr.empty())
        return nullptr;
    if (plat::EqualsNoCase(obj->GetName(), expr))
        return obj;
    return obj->GetNearObjByName(expr.c_str());
}

std::wstring FindData(IXO* obj, const std::wstring& expr) {
    std::wstring inner;
    if (!Unwrap(expr, L"Data(", inner))
        return expr;
    XDO* found = FindLink(dynamic_cast<XDO*>(obj), inner);
    if (!found)
        return expr;
    std::wstring value;
    found->GetData(&value);
    return value;
}

int XDO_SetData(XDO* obj, const wchar_t* target, const wchar_t* value) {
    XDO* found = FindLink(obj, target ? target : L"");
    if (!found)
        return 0;
    found->SetData(value ? value : L"");
    return 1;
}
