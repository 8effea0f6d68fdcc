#pragma once
// XScript ("Script"): the object a <Script> element makes. It runs the element's text in its
// own script engine and lets that code reach the screen's objects by name; markup reaches
// the script's functions through "Script." event actions and the published methods below.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/xdo.h"
#include "nubra/disp_variant.h"
#include "platform/base/nocase.h"

namespace vbs {
class Engine;
} // namespace vbs

class XScript : public XDO {
    ORVO_DISPATCH_MAP()

public:
    XScript();
    ~XScript() override;

    ORVO_KEY(L"Script")

    // The element's text is the code: compiled and its global code run at once; failures are
    // shown together.
    int SetElement(XElement* e) override;
    // Exposes the screen, its library, loader and opener and the services.
    int CreateInstance() override;

    // ---- published --------------------------------------------------------------------------
    // Whether the started script defines a Sub or Function `name`.
    int HaveFunction(const wchar_t* name);
    // Shows `object` to the script as `name`, replacing an earlier object of that name.
    int RegObject(const wchar_t* name, IXO* object);
    int UnregObject(const wchar_t* name);
    // Calls the function with `object` as its one argument (none when it declares none).
    int RunFunction(const wchar_t* name, IXO* object);
    // The same, with the function's result in `result`; 0 when the call failed.
    int RunFunctionRet(const wchar_t* name, IXO* object, orvo::DispVariant& result);

    // ---- state --------------------------------------------------------------------------------
    // The names the host shows the script, folded to lower case and sorted.
    std::vector<std::wstring> GetExposedNames() const;
    bool IsStarted() const { return m_started; }

private:
    // Runs the function; false (with the error collected) when it fails.
    bool Call(const wchar_t* name, IXO* object, orvo::DispVariant* result);
    void Expose(std::wstring_view name, IXO* object);
    // Exposes unless an object of the screen already took the name.
    void ExposeUnlessTaken(std::wstring_view name, IXO* object);
    bool IsExposed(std::wstring_view name) const;
    void ShowErrors();

    // Shared so a call keeps them alive when the script unloads the page that holds it.
    std::shared_ptr<vbs::Engine> m_engine;
    std::shared_ptr<const std::wstring> m_source; // for the source line of a run-time error
    std::vector<std::wstring> m_errors;
    bool m_started = false; // the code compiled and its global code ran
};
