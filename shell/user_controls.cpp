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
#include "core/xdo.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"
#include "shell/user_functions.h"
#include "shell/user_parameters.h"
#include "shell/xscroll_bar.h"
#include "shell/xtab_panel.h"

using orvo::RefuseUserCall;
using orvo::UserParameters;

namespace {

constexpr const wchar_t* kUnbalanced = L"parentheses or quotes do not close";
constexpr const wchar_t* kGone = L"the calling object is gone";

// The object the first piece names, after the checks every control function makes; null
// after telling the author.
XDO* FirstTarget(const wchar_t* function, XDO* caller, const UserParameters& parameters) {
    std::wstring why;
    XDO* target = nullptr;
    if (!orvo::IsUsableCaller(caller))
        why = kGone;
    else if (!parameters.IsBalanced())
        why = kUnbalanced;
    else if (!(target = orvo::FindUserTarget(caller, parameters.At(0))))
        why = L"no object " + parameters.At(0);
    if (!target)
        RefuseUserCall(function, parameters, why);
    return target;
}

XScrollBar* BarOf(const wchar_t* function, XDO* caller, const UserParameters& parameters) {
    XDO* found = FirstTarget(function, caller, parameters);
    if (!found)
        return nullptr;
    auto* bar = dynamic_cast<XScrollBar*>(found);
    if (!bar)
        RefuseUserCall(function, parameters, parameters.At(0) + L" is not a scroll bar");
    return bar;
}

int ScrollLines(const wchar_t* function, XDO* caller, const wchar_t* parameter, int direction) {
    const UserParameters parameters(parameter);
    XScrollBar* bar = BarOf(function, caller, parameters);
    if (!bar)
        return 0;
    const long long lines = parameters.Count() > 1 ? plat::_wtoi(parameters.At(1)) : 1;
    const long long delta = direction * lines * bar->GetLine();
    bar->ScrollBy(static_cast<int>(std::clamp<long long>(delta, INT_MIN, INT_MAX)));
    return 1;
}

// Decimals written after the point of a number text.
int DecimalsOf(const std::wstring& number) {
    const std::size_t point = number.find(L'.');
    return point == std::wstring::npos ? 0 : static_cast<int>(number.size() - point - 1);
}

// value + sign * step, printed with as many decimals as the more precise of the two, whatever
// the process locale.
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

int Spin(const wchar_t* function, XDO* caller, const wchar_t* parameter, int sign) {
    const UserParameters parameters(parameter);
    XDO* target = FirstTarget(function, caller, parameters);
    if (!target)
        return 0;
    if (dynamic_cast<XScrollBar*>(target))
        return ScrollLines(function, caller, parameter, sign);
    const std::wstring step = parameters.Count() > 1 ? parameters.At(1) : L"1";
    std::wstring value;
    target->GetData(&value);
    target->SetData(SpinNumber(value, step, sign).c_str());
    return 1;
}

void ScrollSet(const wchar_t* function,
               XDO* caller,
               XMessageContext* context,
               const wchar_t* parameter,
               const wchar_t* tag) {
    const UserParameters parameters(parameter);
    if (!orvo::IsUsableCaller(caller)) {
        RefuseUserCall(function, parameters, kGone);
        return;
    }
    if (!context || !context->element) {
        RefuseUserCall(function, parameters, L"not run by a message");
        return;
    }
    XElement settings(tag);
    for (const wchar_t* item : {L"MinPos", L"MaxPos", L"CurPos", L"Page"})
        if (const std::wstring* value = context->element->FindValue(item))
            settings.SetValue(item, *value);
    for (std::size_t i = 0; i < parameters.Count(); ++i) {
        auto* bar = dynamic_cast<XScrollBar*>(orvo::FindUserTarget(caller, parameters.At(i)));
        if (!bar) {
            RefuseUserCall(function, parameters, L"no scroll bar " + parameters.At(i));
            continue;
        }
        int sendDown = 0;
        bar->RunMsg(1, &settings, caller, caller, sendDown);
    }
}

} // namespace

extern "C" int SpinUp(XDO* caller, const wchar_t* parameter) {
    return Spin(L"SpinUp", caller, parameter, 1);
}

extern "C" int SpinDown(XDO* caller, const wchar_t* parameter) {
    return Spin(L"SpinDown", caller, parameter, -1);
}

extern "C" int ScrollUp(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    return parameters.Count() > 1 ? RefuseUserCall(L"ScrollUp", parameters, L"expected bar")
                                  : ScrollLines(L"ScrollUp", caller, parameter, -1);
}

extern "C" int ScrollDown(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    return parameters.Count() > 1 ? RefuseUserCall(L"ScrollDown", parameters, L"expected bar")
                                  : ScrollLines(L"ScrollDown", caller, parameter, 1);
}

extern "C" int ScrollNumUp(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    return parameters.Count() != 2
               ? RefuseUserCall(L"ScrollNumUp", parameters, L"expected bar, lines")
               : ScrollLines(L"ScrollNumUp", caller, parameter, -1);
}

extern "C" int ScrollNumDown(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    return parameters.Count() != 2
               ? RefuseUserCall(L"ScrollNumDown", parameters, L"expected bar, lines")
               : ScrollLines(L"ScrollNumDown", caller, parameter, 1);
}

extern "C" int ScrollPage(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"ScrollPage";
    const UserParameters parameters(parameter);
    XScrollBar* bar = BarOf(kName, caller, parameters);
    if (!bar)
        return 0;
    const std::wstring& way = parameters.At(1);
    int direction = 0;
    if (plat::EqualsNoCase(way, L"Up") || plat::EqualsNoCase(way, L"Left"))
        direction = -1;
    else if (plat::EqualsNoCase(way, L"Down") || plat::EqualsNoCase(way, L"Right"))
        direction = 1;
    else
        return RefuseUserCall(kName, parameters, L"expected bar, Up or Down");
    bar->ScrollBy(direction * std::max(1, bar->GetPage()));
    return 1;
}

extern "C" int SelectTabPanel(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"SelectTabPanel";
    const UserParameters parameters(parameter);
    XDO* found = FirstTarget(kName, caller, parameters);
    if (!found)
        return 0;
    auto* panel = dynamic_cast<XTabPanel*>(found);
    if (!panel)
        return RefuseUserCall(kName, parameters, parameters.At(0) + L" is not a tab panel");
    const std::wstring& page = parameters.At(1);
    if (page.empty())
        return RefuseUserCall(kName, parameters, L"expected panel, page");
    for (int index = 0; index < panel->GetPageCount(); ++index) {
        XDO* object = panel->GetPageObject(index);
        if (plat::EqualsNoCase(object->GetName(), page) ||
            (page.find_first_not_of(L"0123456789") == std::wstring::npos &&
             plat::_wtoi(page) == index)) {
            panel->SelectPage(index);
            return 1;
        }
    }
    return RefuseUserCall(kName, parameters, L"no page " + page);
}

extern "C" void MsgVScrollSet(XDO* caller, XMessageContext* context, const wchar_t* parameter) {
    ScrollSet(L"MsgVScrollSet", caller, context, parameter, L"#VScrollSet#");
}

extern "C" void MsgHScrollSet(XDO* caller, XMessageContext* context, const wchar_t* parameter) {
    ScrollSet(L"MsgHScrollSet", caller, context, parameter, L"#HScrollSet#");
}
