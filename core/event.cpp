#include "core/event.h"

#include <array>
#include <string_view>
#include <vector>

#include "core/contracts.h"
#include "core/notice_messages.h"
#include "core/object_lifetime.h"
#include "core/window_hooks.h"
#include "core/xdo.h"
#include "nubra/call_site.h"
#include "nubra/tok.h"
#include "nubra/trim_blanks.h"
#include "platform/base/codepage.h"
#include "platform/base/format.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace {

constexpr std::array<const wchar_t*, XEvent::kObjectEventCount> kObjectEvents = {
    L"BeforeCreate",
    L"AfterCreate",
    L"Initialize",
    L"Run",
    nullptr,
    L"Destroy",
    L"Paint",
    L"Dragging",
    nullptr,
    L"Repeat",
    L"Select",
    L"UnSelect",
    L"Change",
    L"Timer",
    L"GateBeforeInput",
    L"GateAfterInput",
    L"GateBeforeOutput",
    L"GateAfterOutput",
    L"GateBeforeParam",
    L"GateAfterParam",
    L"GateChild",
    L"GateNext",
};

constexpr std::array<const wchar_t*, 4> kCommPhases = {
    L"Receive", L"ReceiveDataProc", L"ReceiveAfterProc", L"Request"};

constexpr std::array<const wchar_t*, 6> kActionKinds = {
    L"Sys", L"Menu", L"Cmd", L"User", L"Message", L"Script"};

// "Head(" inside ")" with the inside returned; the closing ")" is the last one.
bool Call(std::wstring_view text, std::wstring_view head, std::wstring& inside) {
    text = orvo::TrimBlanks(text);
    if (!plat::StartsWithNoCase(text, head))
        return false;
    std::wstring_view rest = orvo::TrimBlanks(text.substr(head.size()));
    if (rest.size() < 2 || rest.front() != L'(' || rest.back() != L')')
        return false;
    inside.assign(rest.substr(1, rest.size() - 2));
    return true;
}

} // namespace

int XEvent::GetEvtObj(const wchar_t* name) {
    if (!name)
        return -1;
    for (std::size_t i = 0; i < kObjectEvents.size(); ++i) {
        if (kObjectEvents[i] && plat::EqualsNoCase(kObjectEvents[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

int XEvent::GetCommPhase(const wchar_t* name) {
    if (!name)
        return -1;
    for (std::size_t i = 0; i < kCommPhases.size(); ++i) {
        if (plat::EqualsNoCase(kCommPhases[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

int XEvent::SetElement(XElement* e) {
    if (!e)
        return 0;
    std::wstring trigger;
    if (!e->GetValue(L"Trigger", trigger))
        return 0;
    std::size_t dot = trigger.find(L'.');
    if (dot == std::wstring::npos || dot == 0 || dot + 1 >= trigger.size())
        return 0;
    std::wstring kind = trigger.substr(0, dot);
    std::wstring name = trigger.substr(dot + 1);
    if (plat::EqualsNoCase(kind, L"Object")) {
        m_triggerKind = TriggerObject;
        m_triggerId = GetEvtObj(name.c_str());
    } else if (plat::EqualsNoCase(kind, L"Mouse")) {
        m_triggerKind = TriggerMouse;
        if (plat::EqualsNoCase(name, L"Click"))
            m_mouseFlags = MouseClick;
        else if (plat::EqualsNoCase(name, L"Down"))
            m_mouseFlags = MouseDown;
        else if (plat::EqualsNoCase(name, L"DoubleClick"))
            m_mouseFlags = MouseDoubleClick;
    } else if (plat::EqualsNoCase(kind, L"Message")) {
        m_triggerKind = TriggerMessage;
        m_triggerName = name;
    } else if (plat::EqualsNoCase(kind, L"Comm")) {
        m_triggerKind = TriggerComm;
        m_triggerId = GetCommPhase(name.c_str());
    } else if (plat::EqualsNoCase(kind, L"Event")) {
        m_triggerKind = TriggerEvent;
        m_triggerName = name;
    }
    bool enabled = true;
    e->GetBool(L"Enable", enabled);
    if (!enabled)
        return 0;
    e->GetBool(L"FromUp", m_fromUp);
    e->GetBool(L"FromDown", m_fromDown);
    e->GetBool(L"FromSelf", m_fromSelf);
    std::wstring action;
    if (!e->GetValue(L"Action", action))
        return 0;
    ParseAction(action.c_str());
    return 1;
}

void XEvent::ParseAction(const wchar_t* action) {
    std::wstring_view text(action ? action : L"");
    std::size_t dot = text.find(L'.');
    std::wstring_view kind = text.substr(0, dot);
    for (std::size_t i = 0; i < kActionKinds.size(); ++i) {
        if (plat::EqualsNoCase(kActionKinds[i], kind)) {
            m_actionKind = static_cast<int>(i);
            break;
        }
    }
    m_action.assign(dot == std::wstring_view::npos ? std::wstring_view() : text.substr(dot + 1));
}

int XEvent::Run(XDO* object) {
    // The action may destroy its own object, or this event with it; both are freed after.
    orvo::DispatchScope scope;
    switch (m_actionKind) {
    case ActionSys:
        return RunSys(object, m_action);
    case ActionMenu:
        return RunMenu(object, m_action);
    case ActionCmd:
        return RunCmd(object, m_action);
    case ActionUser:
        return RunUser(object, m_action);
    case ActionMessage:
        return RunMsg(object, m_action);
    case ActionScript:
        return RunScript(object, m_action);
    default:
        return 1;
    }
}

int XEvent::RunSys(XDO* object, const std::wstring& action) {
    if (!object)
        return 1;
    std::wstring_view name = orvo::TrimBlanks(action);
    auto* frame = dynamic_cast<orvo::FrameHooks*>(object->GetXDO(XDO_STYLE_FRAME, 0));
    auto* host = dynamic_cast<orvo::WindowHostHooks*>(object->GetXDO(XDO_STYLE_WINDOWHOST, 0));
    std::wstring inside;
    if (plat::EqualsNoCase(name, L"FrameMove")) {
        if (frame)
            frame->FrameMove();
    } else if (plat::EqualsNoCase(name, L"FrameMax")) {
        if (frame)
            frame->FrameToggleMaximize();
    } else if (plat::EqualsNoCase(name, L"FrameMin")) {
        if (frame)
            frame->FrameMinimize();
    } else if (plat::EqualsNoCase(name, L"FrameClose")) {
        if (frame)
            frame->FrameClose();
    } else if (Call(name, L"Dragging", inside)) {
        if (host)
            host->DraggingStart(object, plat::_wtoi(inside));
    } else if (Call(name, L"Repeat", inside)) {
        if (host && (object->GetObjectStyle() & XDO_STYLE_UI)) {
            std::vector<int> delays;
            CTok tok(inside, L",");
            int delay = 0;
            while (tok.GetNext(delay))
                delays.push_back(delay);
            host->RepeatStart(object, delays);
        }
    }
    return 1;
}

int XEvent::RunMenu(XDO*, const std::wstring& action) {
    static orvo::ContractCall<orvo::contract::MenuManRunByMenuID> s_run;
    std::wstring inside;
    if (!Call(action, L"RunID", inside))
        return 1;
    std::size_t comma = inside.find(L',');
    std::wstring id(orvo::TrimBlanks(std::wstring_view(inside).substr(0, comma)));
    std::wstring parameter;
    if (comma != std::wstring::npos)
        parameter.assign(orvo::TrimBlanks(std::wstring_view(inside).substr(comma + 1)));
    if (auto run = s_run.Get())
        return run(id.c_str(), parameter.c_str(), L"0");
    return 1;
}

int XEvent::RunCmd(XDO*, const std::wstring& action) {
    // A command id goes to the main window; the terminal gets one with the window host.
    std::wstring inside;
    if (Call(action, L"ID", inside)) {
        static orvo::ContractCall<orvo::contract::MainManPostCommand> s_command;
        if (auto post = s_command.Get())
            post(plat::_wtoi(inside) & 0xFFFF);
    }
    return 1;
}

bool XEvent::ParseRunCall(const std::wstring& action,
                          std::wstring& library,
                          std::wstring& function,
                          std::wstring& parameter) {
    // "Run(" library "," function "," parameter ")": the parameter runs to the last ")", and
    // whatever follows that is not part of the call.
    std::wstring_view text = orvo::TrimBlanks(action);
    if (!plat::StartsWithNoCase(text, L"Run"))
        return false;
    text = orvo::TrimBlanks(text.substr(3));
    const std::size_t close = text.rfind(L')');
    if (text.empty() || text.front() != L'(' || close == std::wstring_view::npos)
        return false;
    const std::wstring inside(text.substr(1, close - 1));
    std::size_t first = inside.find(L',');
    if (first == std::wstring::npos)
        return false;
    std::size_t second = inside.find(L',', first + 1);
    library.assign(orvo::TrimBlanks(std::wstring_view(inside).substr(0, first)));
    std::wstring_view rest = std::wstring_view(inside).substr(first + 1);
    if (second == std::wstring::npos) {
        function.assign(orvo::TrimBlanks(rest));
        parameter.clear();
    } else {
        function.assign(orvo::TrimBlanks(rest.substr(0, second - first - 1)));
        parameter.assign(orvo::TrimBlanks(std::wstring_view(inside).substr(second + 1)));
    }
    return !library.empty() && !function.empty();
}

void* XEvent::LoadFunction(const std::wstring& library, const std::wstring& function) {
    if (!m_library.IsLoaded())
        m_library = plat::Module::Open(library);
    return m_library.IsLoaded() ? m_library.Symbol(plat::ToAnsi(function).c_str()) : nullptr;
}

int XEvent::RunUser(XDO* object, const std::wstring& action) {
    std::wstring library, function, parameter;
    if (!m_userFunction) {
        if (ParseRunCall(action, library, function, parameter))
            m_userFunction = reinterpret_cast<XUserFunction>(LoadFunction(library, function));
        if (!m_userFunction) {
            ConfirmMsg(L"Invalid User Function :\nUser." + action, 0, 0);
            return 1;
        }
        m_parameter = parameter;
    } else if (ParseRunCall(action, library, function, parameter)) {
        m_parameter = parameter;
    }
    return m_userFunction(object, m_parameter.c_str());
}

int XEvent::RunMsg(XDO* object, const std::wstring& action) {
    if (!m_messageFunction) {
        std::wstring library, function, parameter;
        if (!ParseRunCall(action, library, function, parameter))
            return 1;
        m_messageFunction = reinterpret_cast<XMessageFunction>(LoadFunction(library, function));
        if (!m_messageFunction)
            return 1;
        m_parameter = parameter;
    }
    m_messageFunction(object, &m_context, m_parameter.c_str());
    return 1;
}

int XEvent::RunScript(XDO* object, const std::wstring& action) {
    static orvo::ContractMethod<orvo::contract::ScriptHaveFunction> s_have;
    static orvo::ContractMethod<orvo::contract::ScriptRunFunction> s_run;
    std::wstring name(orvo::TrimBlanks(action));
    XDO* script = object ? object->ElderScript() : nullptr;
    if (!script) {
        ConfirmMsg(plat::Format(L"Script.%s : <Script> not found.", name), 0, 0);
        return 0;
    }
    auto have = s_have.Get(script);
    if (!have || !have(name.c_str())) {
        ConfirmMsg(plat::Format(L"Script.%s not found in <Script>.", name), 0, 0);
        return 0;
    }
    auto run = s_run.Get(script);
    return run ? run(name.c_str(), object) : 0;
}
