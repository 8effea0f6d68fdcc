// A user library of "Class" implementations for the class tests, loaded beside the test
// program as "OrvoTestClass.dll". Each implementation writes what reaches it into a log that
// the test reads back through the "Log" method, as a screen author would see it.
//
//   CreateRecorder  no window; "Param" "source=NAME" makes InitDataSource answer the object
//                   NAME, found from the owner
//   CreateWindowed  a window: CreateUI makes a shown child of the host window
//   CreateNothing   the factory gives no implementation
#include <memory>
#include <string>

#include "core/xdo.h"
#include "data/meta_io_data.h"
#include "platform/gui/window.h"
#include "ui/class_interface.h"

namespace {

class Recorder : public CClassInterface {
public:
    Recorder(XDO* owner, const wchar_t* param) : CClassInterface(owner), m_param(param) {}

    XMetaIOData* InitDataSource(const wchar_t* param) override {
        Log(L"init:" + std::wstring(param));
        const std::wstring prefix = L"source=";
        if (m_param.rfind(prefix, 0) != 0)
            return nullptr;
        return AsMetaIOData(FindLink(m_pOwner, m_param.substr(prefix.size())));
    }
    void SetDataSource(XMetaIOData* source) override {
        Log(L"source:" + (source ? source->GetName() : std::wstring(L"null")));
    }
    int RunObjectEvent(int event) override {
        Log(L"event:" + std::to_wstring(event));
        return 1;
    }
    int RunMsg(int fromUp, XElement* msg, XDO* sender, XDO*, int& sendDown) override {
        Log(L"msg:" + msg->GetTagName() + L"," + std::to_wstring(fromUp) + L"," +
            (sender ? sender->GetName() : std::wstring(L"null")));
        sendDown = 0;
        return 1;
    }
    void OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) override {
        Log(L"notify:" + notifier->GetName() + L"," + std::to_wstring(notifyId) + L"," +
            std::to_wstring(a) + L"," + std::to_wstring(b));
    }
    void SetData(const wchar_t* data) override {
        Log(L"set:" + std::wstring(data));
        CClassInterface::SetData(data);
    }
    void GetData(std::wstring* out) override {
        Log(L"get");
        CClassInterface::GetData(out);
        if (out)
            *out = L"[" + *out + L"]";
    }
    std::wstring RunMethod(const wchar_t* name, XElement* params) override {
        const std::wstring method(name);
        if (method == L"Log")
            return m_log;
        if (method == L"Raise") {
            XElement evt(L"Raised");
            evt.SetValue(L"from", L"class");
            SendEvent(&evt);
            return L"raised";
        }
        std::wstring price;
        if (params)
            params->GetValue(L"price", price);
        Log(L"method:" + method + L"(" + price + L")");
        return method + L" done";
    }

protected:
    void Log(const std::wstring& entry) { m_log += entry + L";"; }

private:
    std::wstring m_param;
    std::wstring m_log;
};

class Windowed : public Recorder {
public:
    using Recorder::Recorder;
    int HasUI() const override { return 1; }
    plat::Window* CreateUI(plat::Window* parent) override {
        Log(L"ui");
        m_window = std::make_unique<plat::Window>(plat::WindowKind::Child, parent);
        m_window->Show();
        return m_window.get();
    }

private:
    std::unique_ptr<plat::Window> m_window;
};

} // namespace

extern "C" __attribute__((visibility("default"))) CClassInterface*
CreateRecorder(XDO* owner, const wchar_t* param) {
    return new Recorder(owner, param);
}

extern "C" __attribute__((visibility("default"))) CClassInterface*
CreateWindowed(XDO* owner, const wchar_t* param) {
    return new Windowed(owner, param);
}

extern "C" __attribute__((visibility("default"))) CClassInterface* CreateNothing(XDO*,
                                                                                 const wchar_t*) {
    return nullptr;
}
