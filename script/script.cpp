#include "script/script.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

#include "core/contracts.h"
#include "core/notice_messages.h"
#include "platform/base/nocase.h"
#include "script/error_texts.h"
#include "vbscript/engine.h"
#include "vbscript/host_object.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XScript>();

XDO* FindFrame(XDO* start) {
    if (XDO* frame = start->GetXDO(XDO_STYLE_FRAME, 0))
        return frame;
    return start->find_parent([](XDO* n) { return plat::EqualsNoCase(n->GetIXOKey(), L"Frame"); });
}

} // namespace

ORVO_DISPATCH(XScript,
              XDO,
              ORVO_PROVIDE(orvo::contract::ScriptHaveFunction, HaveFunction),
              ORVO_PROVIDE(orvo::contract::ScriptRegObject, RegObject),
              ORVO_PROVIDE(orvo::contract::ScriptUnregObject, UnregObject),
              ORVO_PROVIDE(orvo::contract::ScriptRunFunction, RunFunction),
              ORVO_PROVIDE(orvo::contract::ScriptRunFunctionRet, RunFunctionRet))

XScript::XScript()
    : m_engine(std::make_shared<vbs::Engine>()), m_source(std::make_shared<std::wstring>()) {
    m_nStyle |= XDO_STYLE_SCRIPT;
    // MsgBox is a confirmation like every other message the author sees, so it never blocks
    // a headless run and tests can record it.
    m_engine->GetRuntime().SetMessageBox(
        [](std::wstring_view text, int buttons, std::wstring_view) {
            return ConfirmMsg(text, static_cast<unsigned>(buttons), 0);
        });
}

XScript::~XScript() {
    // The engine's end runs Class_Terminate handlers, which may call back: this object
    // refuses calls from now on and stays whole while they run. When the script closed its
    // own page, the call under way ends the engine as it returns.
    m_started = false;
    m_engine->End();
}

int XScript::SetElement(XElement* e) {
    int result = XDO::SetElement(e);
    vbs::SyntaxError error;
    m_source = std::make_shared<const std::wstring>(e ? e->GetText() : std::wstring());
    if (m_engine->AddCode(*m_source, &error)) {
        m_started = true;
    } else {
        m_started = false;
        orvo::AppendCodeError(error, m_errors);
        // A compile error has a position; an error of the running global code has none.
        m_errors.push_back(error.column > 0 ? orvo::kScriptParseFailed : orvo::kScriptRunFailed);
    }
    ShowErrors();
    return result;
}

int XScript::CreateInstance() {
    int result = XDO::CreateInstance();
    if (XDO* start = parent()) {
        if (XDO* frame = FindFrame(start)) {
            ExposeUnlessTaken(L"Screen", frame);
            if (frame->GetObjectStyle() & XDO_STYLE_WINDOWHOST)
                ExposeUnlessTaken(L"ProxyScreen", frame);
        }
        if (XDO* lib = start->GetXDO(XDO_STYLE_SCREEN, 0))
            ExposeUnlessTaken(L"Lib", lib);
        if (XDO* loader = start->GetXDO(XDO_STYLE_LOADER, 0))
            ExposeUnlessTaken(L"Loader", loader);
    }
    if (XDO* opener = GetOpener(this))
        ExposeUnlessTaken(L"Opener", opener);
    for (const auto& [name, service] : IXO::Instances())
        ExposeUnlessTaken(name, service);
    return result;
}

int XScript::HaveFunction(const wchar_t* name) {
    return m_started && name && m_engine->HasFunction(name) ? 1 : 0;
}

int XScript::RegObject(const wchar_t* name, IXO* object) {
    if (!name || !*name)
        return 0;
    Expose(name, object);
    return 1;
}

int XScript::UnregObject(const wchar_t* name) {
    if (!name)
        return 0;
    m_engine->RemoveNamedItem(name);
    return 1;
}

int XScript::RunFunction(const wchar_t* name, IXO* object) {
    return Call(name, object, nullptr) ? 1 : 0;
}

int XScript::RunFunctionRet(const wchar_t* name, IXO* object, orvo::DispVariant& result) {
    return Call(name, object, &result) ? 1 : 0;
}

bool XScript::Call(const wchar_t* name, IXO* object, orvo::DispVariant* result) {
    if (!m_started || !name)
        return false;
    const int parameters = m_engine->ParameterCount(name);
    if (parameters < 0)
        return false;
    std::array<vbs::Value, 1> argument{vbs::HostValue(object)};
    std::span<vbs::Value> arguments;
    if (parameters > 0)
        arguments = argument;
    vbs::Value value;
    vbs::ScriptError error{0, {}};
    // The script may unload the page this object lives on; the engine and source then
    // outlive it until the call is over, and nothing of this object is touched again.
    orvo::DispatchScope scope; // the script may destroy this object; it is freed after the call
    const std::shared_ptr<vbs::Engine> engine = m_engine;
    const std::shared_ptr<const std::wstring> source = m_source;
    const orvo::IXORef self = WeakRef();
    bool ok = engine->Call(name, arguments, &value, &error);
    if (ok && result) {
        try {
            *result = vbs::ToDispVariant(value);
        } catch (const vbs::ScriptError& e) {
            // A script's own object cannot leave the script.
            error = e;
            ok = false;
        }
    }
    if (ok)
        return true;
    if (self.Alive()) {
        orvo::AppendCallError(name, error, *source, m_errors);
        ShowErrors();
    } else {
        std::vector<std::wstring> texts;
        orvo::AppendCallError(name, error, *source, texts);
        ConfirmMsg(orvo::JoinErrorTexts(texts), 0, 0);
    }
    return false;
}

void XScript::Expose(std::wstring_view name, IXO* object) {
    m_engine->AddNamedItem(name, vbs::HostValue(object));
}

void XScript::ExposeUnlessTaken(std::wstring_view name, IXO* object) {
    if (!IsExposed(name))
        Expose(name, object);
}

std::vector<std::wstring> XScript::GetExposedNames() const {
    std::vector<std::wstring> names = m_engine->NamedItems();
    std::sort(names.begin(), names.end());
    return names;
}

bool XScript::IsExposed(std::wstring_view name) const {
    return m_engine->HasNamedItem(name);
}

void XScript::ShowErrors() {
    if (m_errors.empty())
        return;
    // Taken first: the message box may run code that reports again.
    std::vector<std::wstring> texts = std::move(m_errors);
    m_errors.clear();
    ConfirmMsg(orvo::JoinErrorTexts(texts), 0, 0);
}
