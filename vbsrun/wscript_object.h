#pragma once
// The "WScript" object a console script sees: Echo, Quit, Arguments, the running script's
// name, and StdOut/StdErr streams. Text goes to sinks the runner supplies, so the object
// does not know about the terminal.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/value.h"

namespace orvo {

// WScript.Quit raises this error so the script stops at once; the runner recognises it and
// ends with the code Quit was given. On Error Resume Next must not catch it.
inline constexpr int kQuitError = 7001;

class WScriptObject : public vbs::Object {
public:
    using Sink = std::function<void(std::wstring_view)>;

    WScriptObject(std::vector<std::wstring> arguments, Sink out, const Sink& err);

    std::wstring ClassName() const override { return L"Object"; }
    vbs::Value
    Invoke(std::wstring_view name, vbs::Access access, std::span<vbs::Value> args) override;
    bool DefaultValue(vbs::Value&) override { return false; }

    // The file now running, for ScriptName (its file name) and ScriptFullName.
    void SetScript(std::wstring name, std::wstring fullName);
    // The code Quit was called with; empty while the script has not called it.
    std::optional<int> QuitCode() const { return m_quitCode; }

private:
    void Echo(std::span<vbs::Value> args);

    Sink m_out;
    std::wstring m_scriptName;
    std::wstring m_scriptFullName;
    vbs::Value m_arguments;
    vbs::Value m_stdOut;
    vbs::Value m_stdErr;
    std::optional<int> m_quitCode;
};

} // namespace orvo
