#pragma once
// CClassInterface: what a user library implements for a "Class" element of a screen. The
// "Class" object (XClass) makes one through the library's factory when the screen is built,
// forwards its data, object events, messages, change notices and method calls to it, and
// deletes it before it frees the library.
//
//   <Class Name="ladder" Instance="PriceLadder.dll,CreatePriceLadder" DataSource="quote"
//          Param="levels=5" Rect="0,0,200,240"/>
//
//   class Ladder : public CClassInterface {
//   public:
//       using CClassInterface::CClassInterface;
//       int HasUI() const override { return 1; }
//       plat::Window* CreateUI(plat::Window* parent) override;   // a child of `parent`
//   };
//   extern "C" CClassInterface* CreatePriceLadder(XDO* owner, const wchar_t* param) {
//       return new Ladder(owner);
//   }
//
// Windows are the framework's platform windows (plat::Window, platform/gui/window.h), where a
// Windows build would pass a CWnd and answer an HWND: CreateUI receives the window of the
// window host that holds the implementation and answers a child of it. The implementation
// owns that window and destroys it with itself; the framework only places it and may outlive
// it (its handle to the window is weak).
//
// Everything runs on the UI thread. The implementation must not delete itself: the owner
// does, first thing in its destructor.
#include <string>

class XDO;
class XElement;
class XMetaIOData;
namespace plat {
class Window;
} // namespace plat

class CClassInterface {
public:
    explicit CClassInterface(XDO* owner) : m_pOwner(owner) {}
    CClassInterface(const CClassInterface&) = delete;
    CClassInterface& operator=(const CClassInterface&) = delete;

    // The virtual operations, in this order; each answers what a class without the
    // operation needs.
    virtual ~CClassInterface() = default;
    // Non-zero: the owner gets a window host child that asks CreateUI for the window.
    virtual int HasUI() const { return 0; }
    virtual plat::Window* CreateUI(plat::Window* /*parent*/) { return nullptr; }
    // Asked once, with the element's "Param", right after the factory; a non-null answer
    // becomes the owner's data source instead of the one its "DataSource" names.
    virtual XMetaIOData* InitDataSource(const wchar_t* /*param*/) { return nullptr; }
    virtual XMetaIOData* GetDataSource() { return nullptr; }
    // The owner tells the data source its "DataSource" named when InitDataSource gave none.
    virtual void SetDataSource(XMetaIOData* /*source*/) {}
    // Object events of the owner (EVT_* of core/xdo.h) after the owner's own handlers ran.
    virtual int RunObjectEvent(int /*event*/) { return 1; }
    virtual int
    RunMsg(int /*fromUp*/, XElement* /*msg*/, XDO* /*sender*/, XDO* /*origin*/, int& /*sendDown*/) {
        return 1;
    }
    // A change told by an object the owner listens to.
    virtual void OnNotifierChanged(XDO* /*notifier*/, int /*notifyId*/, int /*a*/, int /*b*/) {}
    // The owner's data: set by markup, scripts and saved settings, read for saving.
    virtual void SetData(const wchar_t* data) { m_strData = data ? data : L""; }
    virtual void GetData(std::wstring* out) {
        if (out)
            *out = m_strData;
    }
    // A method called by name from markup or a script; `params` holds its items.
    virtual std::wstring RunMethod(const wchar_t* /*name*/, XElement* /*params*/) { return {}; }

    // Raises a markup event on the owner, as its own handlers would.
    void SendEvent(XElement* evt);
    XDO* GetOwner() const { return m_pOwner; }

protected:
    XDO* m_pOwner;
    std::wstring m_strData;
};

// What "Instance" names: extern "C" in the library, found by its name.
using ClassFactory = CClassInterface* (*)(XDO* owner, const wchar_t* param);
