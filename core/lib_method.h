#pragma once
// XLibMethod: a method a screen publishes to whoever opened or loaded it, declared as
//   <lib.method Name="Buy" Method="Script,code,OnBuy,qty=1"/>
// "Script" runs a function of a script object of the screen; "User" names a function of a
// user library. The pairs after the function are its default parameters, which the caller's
// parameters override; the function reads them as the current method element.
#include <memory>
#include <string>

#include "core/element.h"
#include "nubra/disp_variant.h"
#include "nubra/ixo_ref.h"
#include "platform/base/module.h"

class XDO;

class XLibMethod {
public:
    enum Kind : int { KIND_SCRIPT = 1, KIND_USER = 2 };

    // 0 rejects the declaration (a message says why when the name is missing).
    int SetElement(XElement* e);
    // Finds the script object among the screen's objects.
    void LinkObject(XDO* lib);
    // 1 when the method ran; `result` takes the function's value.
    int Run(XDO* caller, XElement* params, orvo::DispVariant* result);

    const std::wstring& Name() const { return m_name; }
    Kind GetKind() const { return m_kind; }

private:
    std::wstring m_name; // lower case
    Kind m_kind = KIND_SCRIPT;
    std::wstring m_scriptName;
    std::wstring m_library;
    std::wstring m_function;
    orvo::IXORef m_script;
    std::unique_ptr<XElement> m_defaults;
    // A user library's function, loaded on first use; the library goes with the method.
    using UserFunction = int (*)(XDO* caller, XElement* method);
    plat::Module m_module;
    UserFunction m_userFunction = nullptr;
    bool m_loadTried = false;
};
