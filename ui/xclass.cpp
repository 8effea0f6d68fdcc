#include "ui/xclass.h"

#include "core/notice_messages.h"
#include "nubra/trim_blanks.h"
#include "platform/base/codepage.h"
#include "platform/base/format.h"
#include "platform/base/text.h"
#include "ui/xwindow_handler.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XClass>();

// Attributes the window host of a user interface takes from the class element.
constexpr const wchar_t* kLayoutKeys[] = {L"Rect", L"Margin", L"Align", L"Dock", L"flag"};

// Asks the implementation of a class object for its window. The object is held weakly: the
// window host may be asked again after the class object has begun to go.
class ClassWindowMaker : public WindowMaker {
public:
    explicit ClassWindowMaker(XClass& owner) : m_owner(owner.WeakRef()) {}
    plat::Window* MakeWindow(XWindowHandler&, plat::Window& host) override {
        auto* owner = static_cast<XClass*>(m_owner.Get());
        CClassInterface* implementation = owner ? owner->GetClassInterface() : nullptr;
        return implementation ? implementation->CreateUI(&host) : nullptr;
    }

private:
    orvo::IXORef m_owner;
};

} // namespace

ORVO_DISPATCH(XClass, XProxyIOData, ORVO_METHOD_AS(RunMethodVB, RunMethod))

XClass::XClass() {
    m_nStyle |= XDO_STYLE_CLASS;
    if (s_gateRegistrar && !s_registeredWithGates)
        s_registeredWithGates = s_gateRegistrar(kIXOKey) != 0;
}

XClass::~XClass() {
    // The implementation's code lives in the library.
    m_interface.reset();
    m_factory = nullptr;
    m_library = plat::Module();
}

void XClass::SetGateRegistrar(GateRegistrar registrar) {
    s_gateRegistrar = registrar;
    s_registeredWithGates = false;
}

int XClass::SetElement(XElement* e) {
    // The proxy's own reading of the element would resolve a target of its own.
    if (!XDO::SetElement(e) || !e)
        return 0;
    m_strDataSource.clear();
    if (!e->GetValue(L"DataSource", m_strDataSource) || m_strDataSource.empty())
        e->GetValue(L"Data", m_strDataSource);
    m_layout = std::make_unique<XElement>(L"WindowHandler");
    for (const wchar_t* key : kLayoutKeys) {
        if (const std::wstring* value = e->FindValue(key))
            m_layout->SetValue(key, *value);
    }
    const std::wstring* instance = e->FindValue(L"Instance");
    // An element given again (a script's SetElement) must not pull the library from under a
    // live implementation.
    if (!instance || m_interface)
        return 1;
    m_factory = nullptr;
    m_library = plat::Module();
    const std::size_t comma = instance->find(L',');
    const std::wstring library(orvo::TrimBlanks(std::wstring_view(*instance).substr(0, comma)));
    const std::wstring function(
        comma == std::wstring::npos
            ? std::wstring()
            : orvo::TrimBlanks(std::wstring_view(*instance).substr(comma + 1)));
    if (library.empty() || function.empty()) {
        NoticeMsg(plat::Format(
            L"Class %s: Instance \"%s\" is not \"library,function\"", m_strName, *instance));
        return 1;
    }
    m_library = plat::Module::Open(library);
    if (!m_library) {
        NoticeMsg(plat::Format(L"Class %s: the library %s could not be loaded (%s)",
                               m_strName,
                               library,
                               plat::FromUtf8(m_library.Error())));
        return 1;
    }
    m_factory = reinterpret_cast<ClassFactory>(m_library.Symbol(plat::ToAnsi(function).c_str()));
    if (!m_factory)
        NoticeMsg(plat::Format(L"Class %s: %s has no function %s", m_strName, library, function));
    return 1;
}

int XClass::CreateInstance() {
    if (!XDO::CreateInstance())
        return 0;
    if (m_interface)
        return 1; // made once, for the object's life
    m_dataSource = orvo::IXORef();
    if (!m_strDataSource.empty()) {
        XDO* found = FindLink(this, m_strDataSource);
        if (orvo::HasStyle(found, XDO_STYLE_IODATA))
            HoldDataSource(AsMetaIOData(found));
    }
    if (!m_factory)
        return 1;
    if (child()) {
        ConfirmMsg(L"<class> 는 child 노드를 가질 수 없습니다.", 0, 0);
        return 1;
    }
    m_interface.reset(m_factory(this, m_strParam.c_str()));
    if (!m_interface)
        return 1;
    if (XMetaIOData* given = m_interface->InitDataSource(m_strParam.c_str()))
        HoldDataSource(given);
    else if (XMetaIOData* named = GetDataSource())
        m_interface->SetDataSource(named);
    if (m_interface->HasUI())
        MakeWindowHost();
    return 1;
}

bool XClass::LeadsBackHere(XMetaIOData* candidate) {
    // Every link was checked when it was made, so a chain ends; the bound only guards
    // against an implementation that changes its answer to GetDataSource.
    int steps = 0;
    for (XMetaIOData* node = candidate; node && steps < 256; ++steps) {
        if (node == this)
            return true;
        auto* proxy = dynamic_cast<XProxyIOData*>(node);
        node = proxy ? proxy->GetDataSource() : nullptr;
    }
    return steps == 256;
}

void XClass::HoldDataSource(XMetaIOData* source) {
    if (source && !LeadsBackHere(source))
        m_dataSource = source->WeakRef();
}

XMetaIOData* XClass::GetDataSource() {
    // Only IO data is ever held.
    return static_cast<XMetaIOData*>(m_dataSource.Get());
}

void XClass::MakeWindowHost() {
    auto* host = new XWindowHandler();
    AddChild(host);
    host->SetElement(m_layout.get());
    host->AttachMaker(std::make_shared<ClassWindowMaker>(*this));
}

int XClass::RunObjectEvent(int n) {
    const orvo::IXORef alive = WeakRef();
    if (!XProxyIOData::RunObjectEvent(n))
        return 0;
    // A handler may have closed the screen.
    if (alive.Alive() && m_interface)
        m_interface->RunObjectEvent(n);
    return 1;
}

int XClass::RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) {
    if (!m_interface)
        return XProxyIOData::RunMsg(fromUp, msg, sender, origin, sendDown);
    return m_interface->RunMsg(fromUp, msg, sender, origin, sendDown);
}

void XClass::OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) {
    if (m_interface)
        m_interface->OnNotifierChanged(notifier, notifyId, a, b);
    else
        XProxyIOData::OnNotifierChanged(notifier, notifyId, a, b);
}

void XClass::LoadObject(XElement* settings) {
    if (settings && m_bSave && !m_strName.empty()) {
        if (const std::wstring* value = settings->FindValue(m_strName))
            SetData(value->c_str());
    }
    _LoadObject(settings);
}

void XClass::SaveObject(XElement* settings) {
    if (settings && m_bSave && !m_strName.empty()) {
        std::wstring value;
        GetData(&value);
        settings->SetValue(m_strName, value);
    }
    _SaveObject(settings);
}

void XClass::SetData(const wchar_t* value) {
    if (m_interface)
        m_interface->SetData(value);
    else
        XProxyIOData::SetData(value);
}

void XClass::GetData(std::wstring* out) {
    if (m_interface)
        m_interface->GetData(out);
    else
        XProxyIOData::GetData(out);
}

std::wstring XClass::RunMethod(const wchar_t* name, XElement* params) {
    return m_interface && name ? m_interface->RunMethod(name, params) : std::wstring();
}

std::wstring XClass::RunMethodVB(const wchar_t* name, const wchar_t* items) {
    XElement params(L"Param");
    params.MakeValue(items ? items : L"");
    return RunMethod(name, &params);
}
