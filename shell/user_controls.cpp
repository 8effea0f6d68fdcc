// Exported user functions that move scroll bars, spin values and turn tab panels.
//
//   SpinUp, SpinDown          "object[, step]"   a scroll bar moves by step lines (1); any other
//                                                object's data is a number that grows or shrinks
//                                                by step (1), keeping the decimals of both
//   ScrollUp, ScrollDown      "bar"              one line back or on, as the arrows move it
//   ScrollNumUp, ScrollNumDown "bar, lines"      that many lines back or on
//   ScrollPage                "bar, Up|Down"     a page back or on ("Left"/"Right" as well)
//   SelectTabPanel            "panel, page"      the page by index or by its object's name
//   MsgVScrollSet, MsgHScrollSet (message form) "bar, ..." each vertical or horizontal bar named
//                                                takes "MinPos", "MaxPos", "CurPos" and "Page"
//                                                from the message that ran the action
//
// Moves made here tell the bar's listeners and run its "Change" event, as the user's do.
#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <string>

#include "core/element.h"
#include "nubra/trim_blanks.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"
#include "shell/user_call.h"
#include "shell/user_functions.h"
#include "shell/xscroll_bar.h"
#include "shell/xtab_panel.h"

using orvo::UserCall;

namespace {

constexpr std::wstring_view kScrollBar = L"a scroll bar";

int ScrollLines(XScrollBar* bar, int lines, int direction) {
    const long long delta = static_cast<long long>(direction) * lines * bar->GetLine();
    bar->ScrollBy(static_cast<int>(std::clamp<long long>(delta, INT_MIN, INT_MAX)));
    return 1;
}

// A bar and a count of lines: "bar" (one line) or "bar, lines", as `form` says.
int ScrollBy(const UserCall& call, std::size_t pieces, std::wstring_view form, int direction) {
    if (!call.Check(pieces, form))
        return 0;
    if (call.Count() > pieces)
        return call.Refuse(L"expected " + std::wstring(form));
    auto* bar = call.TargetAs<XScrollBar>(0, kScrollBar);
    int lines = 1;
    if (!bar || (pieces > 1 && !call.Integer(1, lines)))
        return 0;
    return ScrollLines(bar, lines, direction);
}

// A number text: optional sign, digits, optional decimals; blanks around allowed.
bool IsNumber(std::wstring_view text) {
    text = orvo::TrimBlanks(text);
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+'))
        text.remove_prefix(1);
    const std::size_t point = text.find(L'.');
    const std::wstring_view whole = text.substr(0, point);
    const std::wstring_view fraction =
        point == std::wstring_view::npos ? std::wstring_view() : text.substr(point + 1);
    auto digits = [](std::wstring_view part) {
        return part.find_first_not_of(L"0123456789") == std::wstring_view::npos;
    };
    return !(whole.empty() && fraction.empty()) && whole.size() + fraction.size() <= 18 &&
           digits(whole) && digits(fraction);
}

// Decimals written after the point of a number text.
int DecimalsOf(std::wstring_view number) {
    number = orvo::TrimBlanks(number);
    const std::size_t point = number.find(L'.');
    return point == std::wstring_view::npos ? 0 : static_cast<int>(number.size() - point - 1);
}

// value + sign * step, printed with as many decimals as the more precise of the two,
// whatever the process locale.
std::wstring SpinNumber(const std::wstring& value, const std::wstring& step, int sign) {
    const double sum = plat::_wtof(value) + sign * plat::_wtof(step);
    const int decimals = std::min(9, std::max(DecimalsOf(value), DecimalsOf(step)));
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), sum, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return value;
    return plat::FromUtf8(std::string_view(buffer.data(), end - buffer.data()));
}

int Spin(const UserCall& call, int sign) {
    XDO* target = call.Check(1, L"object[, step]") ? call.Target(0) : nullptr;
    if (!target)
        return 0;
    if (auto* bar = dynamic_cast<XScrollBar*>(target)) {
        int lines = 1;
        if (call.Count() > 1 && !call.Integer(1, lines))
            return 0;
        return ScrollLines(bar, lines, sign);
    }
    const std::wstring step = call.Count() > 1 ? call.At(1) : L"1";
    if (!IsNumber(step))
        return call.Refuse(L"\"" + step + L"\" is not a number");
    std::wstring value;
    target->GetData(&value);
    if (orvo::TrimBlanks(value).empty())
        value = L"0";
    if (!IsNumber(value))
        return call.Refuse(call.At(0) + L" holds \"" + value + L"\", not a number");
    target->SetData(SpinNumber(value, step, sign).c_str());
    return 1;
}

void ScrollSet(const UserCall& call, const XMessageContext* context, const wchar_t* tag) {
    if (!call.Check(1, L"bar, ..."))
        return;
    if (!context || !context->element) {
        call.Refuse(L"not run by a message");
        return;
    }
    XElement settings(tag);
    for (const wchar_t* item : {L"MinPos", L"MaxPos", L"CurPos", L"Page"})
        if (const std::wstring* value = context->element->FindValue(item))
            settings.SetValue(item, *value);
    for (std::size_t i = 0; i < call.Count(); ++i) {
        // A bar's handler may end the caller's screen; what is gone is not reached.
        if (!IsLiveXdo(call.Caller()))
            return;
        if (auto* bar = call.TargetAs<XScrollBar>(i, kScrollBar)) {
            int sendDown = 0;
            bar->RunMsg(1, &settings, call.Caller(), call.Caller(), sendDown);
        }
    }
}

} // namespace

extern "C" int SpinUp(XDO* caller, const wchar_t* parameter) {
    return Spin(UserCall(L"SpinUp", caller, parameter), 1);
}

extern "C" int SpinDown(XDO* caller, const wchar_t* parameter) {
    return Spin(UserCall(L"SpinDown", caller, parameter), -1);
}

extern "C" int ScrollUp(XDO* caller, const wchar_t* parameter) {
    return ScrollBy(UserCall(L"ScrollUp", caller, parameter), 1, L"bar", -1);
}

extern "C" int ScrollDown(XDO* caller, const wchar_t* parameter) {
    return ScrollBy(UserCall(L"ScrollDown", caller, parameter), 1, L"bar", 1);
}

extern "C" int ScrollNumUp(XDO* caller, const wchar_t* parameter) {
    return ScrollBy(UserCall(L"ScrollNumUp", caller, parameter), 2, L"bar, lines", -1);
}

extern "C" int ScrollNumDown(XDO* caller, const wchar_t* parameter) {
    return ScrollBy(UserCall(L"ScrollNumDown", caller, parameter), 2, L"bar, lines", 1);
}

extern "C" int ScrollPage(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"ScrollPage", caller, parameter);
    auto* bar =
        call.Check(2, L"bar, Up or Down") ? call.TargetAs<XScrollBar>(0, kScrollBar) : nullptr;
    if (!bar)
        return 0;
    const std::wstring& way = call.At(1);
    int direction = 0;
    if (plat::EqualsNoCase(way, L"Up") || plat::EqualsNoCase(way, L"Left"))
        direction = -1;
    else if (plat::EqualsNoCase(way, L"Down") || plat::EqualsNoCase(way, L"Right"))
        direction = 1;
    else
        return call.Refuse(L"expected bar, Up or Down");
    bar->ScrollBy(direction * std::max(1, bar->GetPage()));
    return 1;
}

extern "C" int SelectTabPanel(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"SelectTabPanel", caller, parameter);
    auto* panel =
        call.Check(2, L"panel, page") ? call.TargetAs<XTabPanel>(0, L"a tab panel") : nullptr;
    if (!panel)
        return 0;
    const std::wstring& page = call.At(1);
    const bool byIndex =
        !page.empty() && page.find_first_not_of(L"0123456789") == std::wstring::npos;
    for (int index = 0; index < panel->GetPageCount(); ++index) {
        const XDO* object = panel->GetPageObject(index);
        if (byIndex ? plat::_wtoi(page) == index : plat::EqualsNoCase(object->GetName(), page)) {
            panel->SelectPage(index);
            return 1;
        }
    }
    return call.Refuse(L"no page " + page);
}

extern "C" void MsgVScrollSet(XDO* caller, XMessageContext* context, const wchar_t* parameter) {
    ScrollSet(UserCall(L"MsgVScrollSet", caller, parameter), context, L"#VScrollSet#");
}

extern "C" void MsgHScrollSet(XDO* caller, XMessageContext* context, const wchar_t* parameter) {
    ScrollSet(UserCall(L"MsgHScrollSet", caller, parameter), context, L"#HScrollSet#");
}
