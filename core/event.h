#pragma once
// XEvent: one "Event" element. It binds a trigger (an object life-cycle occasion, a mouse
// action, a message, a communication phase or a named event) to an action (a system command,
// a menu command, a command id, a user-library function or a script function).
#include <string>

#include "core/user_function.h"
#include "platform/base/module.h"

class XDO;
class XElement;

class XEvent {
public:
    enum TriggerKind {
        TriggerNone = -1,
        TriggerObject = 0,
        TriggerMouse = 1,
        TriggerMessage = 3,
        TriggerComm = 4,
        TriggerEvent = 5
    };
    enum ActionKind {
        ActionNone = -1,
        ActionSys = 0,
        ActionMenu = 1,
        ActionCmd = 2,
        ActionUser = 3,
        ActionMessage = 4,
        ActionScript = 5
    };
    enum MouseFlag { MouseDown = 4, MouseClick = 16, MouseDoubleClick = 64 };
    static constexpr int kObjectEventCount = 22;

    XEvent() = default;
    XEvent(const XEvent&) = delete;
    XEvent& operator=(const XEvent&) = delete;

    // 1 when the element declares a usable event; 0 rejects it (no "Trigger" or "Action", a
    // malformed trigger, or "Enable" false).
    int SetElement(XElement* e);
    // Splits "Kind.rest" into the action kind and text.
    void ParseAction(const wchar_t* action);
    int Run(XDO* object);

    int RunSys(XDO* object, const std::wstring& action);
    int RunMenu(XDO* object, const std::wstring& action);
    int RunCmd(XDO* object, const std::wstring& action);
    int RunUser(XDO* object, const std::wstring& action);
    int RunMsg(XDO* object, const std::wstring& action);
    int RunScript(XDO* object, const std::wstring& action);

    // Object event number of a name ("AfterCreate" -> 1), or -1.
    static int GetEvtObj(const wchar_t* name);
    // Communication phase of a name ("Receive" -> 0), or -1.
    static int GetCommPhase(const wchar_t* name);

    void SetContext(int fromUp, XElement* element, XDO* sender, XDO* origin) {
        m_context = {fromUp, element, sender, origin};
    }

    const std::wstring& GetAction() const { return m_action; }
    const std::wstring& GetParameter() const { return m_parameter; }
    const std::wstring& GetTriggerName() const { return m_triggerName; }
    int GetTriggerKind() const { return m_triggerKind; }
    int GetTriggerID() const { return m_triggerId; }
    int GetMouseFlags() const { return m_mouseFlags; }
    int GetActionKind() const { return m_actionKind; }
    const XMessageContext& GetContext() const { return m_context; }
    bool FromUp() const { return m_fromUp; }
    bool FromDown() const { return m_fromDown; }
    bool FromSelf() const { return m_fromSelf; }

private:
    // "Run(library, function, parameter)": false when the text has another shape.
    static bool ParseRunCall(const std::wstring& action,
                             std::wstring& library,
                             std::wstring& function,
                             std::wstring& parameter);
    // Loads the library once per event; null when it or the function is missing.
    void* LoadFunction(const std::wstring& library, const std::wstring& function);

    std::wstring m_action;
    std::wstring m_parameter;
    std::wstring m_triggerName;
    int m_triggerKind = TriggerNone;
    int m_triggerId = -1;
    int m_mouseFlags = 0;
    int m_actionKind = ActionNone;
    plat::Module m_library;
    XUserFunction m_userFunction = nullptr;
    XMessageFunction m_messageFunction = nullptr;
    XMessageContext m_context;
    bool m_fromUp = true;
    bool m_fromDown = true;
    bool m_fromSelf = true;
};
