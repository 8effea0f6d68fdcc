#pragma once
// XClass ("Class"): an object of a screen implemented in a user library. "Instance" names the
// library and its factory, "library,function"; the factory makes a CClassInterface
// (class_interface.h) that receives the object's data, events, messages, change notices and
// method calls. The object is IO data standing for its data source (the object "DataSource",
// else "Data", names, or the one the implementation gives), so it can be bound where data is
// expected. An implementation with a user interface gets a window host child
// (XWindowHandler) whose window it makes through CreateUI.
//
// A missing library or function leaves a plain data object, with a notice saying why.
#include <memory>
#include <string>

#include "data/proxy_io_data.h"
#include "nubra/ixo_ref.h"
#include "platform/base/module.h"
#include "ui/class_interface.h"

class XClass : public XProxyIOData {
    ORVO_DISPATCH_MAP()

public:
    XClass();
    ORVO_KEY(L"Class")

    // Only the object's own part of the element: the data source text is kept for creation.
    int SetElement(XElement* e) override;
    // Resolves the data source, makes the implementation and, when it has a user interface,
    // its window host.
    int CreateInstance() override;
    // The object's own handler first; a handler answering 0 keeps the event from the
    // implementation.
    int RunObjectEvent(int n) override;
    int RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) override;
    void OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) override;
    // Saved settings reach the implementation through SetData and GetData.
    void LoadObject(XElement* settings) override;
    void SaveObject(XElement* settings) override;
    void SetData(const wchar_t* value) override;
    void GetData(std::wstring* out) override;
    // The data source held, or null when none or destroyed.
    XMetaIOData* GetDataSource() override;

    // The implementation's answer; empty without one.
    std::wstring RunMethod(const wchar_t* name, XElement* params);
    // "RunMethod"(name, "key=value,...") for scripts and markup.
    std::wstring RunMethodVB(const wchar_t* name, const wchar_t* items);
    CClassInterface* GetClassInterface() const { return m_interface.get(); }

    // Gates live beside the UI layer: whoever links both installs the function that lets
    // objects of a key receive the gate element while gates apply. The key is registered
    // once, by the first object made after the installation.
    using GateRegistrar = int (*)(const wchar_t* key);
    static void SetGateRegistrar(GateRegistrar registrar);

protected:
    ~XClass() override;

private:
    // True when holding `candidate` would make reading through this object come back to it.
    bool LeadsBackHere(XMetaIOData* candidate);
    void HoldDataSource(XMetaIOData* source);
    void MakeWindowHost();

    static inline GateRegistrar s_gateRegistrar = nullptr;
    static inline bool s_registeredWithGates = false;

    orvo::IXORef m_dataSource;
    std::wstring m_strDataSource;
    // The layout attributes of the element, for the window host of a user interface.
    std::unique_ptr<XElement> m_layout;
    // Freed after the implementation: its code lives in the library.
    plat::Module m_library;
    ClassFactory m_factory = nullptr;
    std::unique_ptr<CClassInterface> m_interface;
};
