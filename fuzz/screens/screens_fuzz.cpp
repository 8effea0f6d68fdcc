// Pages built from arbitrary markup: every tag, declaration, event and message the input
// names is built, created, started and destroyed. Two things only a harness can give are
// offered to the input:
//   - the path alias "screen", a folder holding a page, a malformed page and a page whose
//     include is malformed, so includes and loaders meet real files;
//   - the tag "FuzzDestroyer": When="n" destroys, when its object event n runs (or at message
//     "Kill" for When="msg"), the object its Target names ("page", "self", "parent" or a
//     name), so pages are destroyed from inside their own events and messages.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/lib.h"
#include "core/notice_man.h"
#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "fuzz_support.h"
#include "object_fuzz_support.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

namespace {

class FuzzProject : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int GetPath(const wchar_t* alias, std::wstring* out) {
        if (!alias || !plat::EqualsNoCase(alias, L"screen"))
            return alias ? 0 : (out ? (*out = folder, 1) : 1);
        if (out)
            *out = folder;
        return 1;
    }
    std::wstring folder;
};

ORVO_DISPATCH(FuzzProject, IXO, ORVO_METHOD(GetPath))

class FuzzDestroyer : public XDO {
public:
    ORVO_KEY(L"FuzzDestroyer")

    int SetElement(XElement* e) override {
        XDO::SetElement(e);
        if (e) {
            e->GetValue(L"When", m_when);
            e->GetValue(L"Target", m_target);
        }
        return 1;
    }
    int RunObjectEvent(int n) override {
        const int result = XDO::RunObjectEvent(n);
        if (!IsTornDown() && m_when == std::to_wstring(n))
            orvo::DestroyObject(Target());
        return result;
    }
    int RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) override {
        const int result = XDO::RunMsg(fromUp, msg, sender, origin, sendDown);
        if (!IsTornDown() && msg && plat::EqualsNoCase(m_when, L"msg") &&
            plat::EqualsNoCase(msg->GetTagName(), L"Kill"))
            orvo::DestroyObject(Target());
        return result;
    }

private:
    XDO* Target() {
        if (plat::EqualsNoCase(m_target, L"page"))
            return GetTopParent();
        if (plat::EqualsNoCase(m_target, L"self"))
            return this;
        if (plat::EqualsNoCase(m_target, L"parent"))
            return parent();
        return FindLink(this, m_target);
    }

    std::wstring m_when;
    std::wstring m_target;
};

void Write(const std::filesystem::path& file, std::string_view text) {
    std::ofstream(file, std::ios::binary) << text;
}

// Registered once for the whole run: the alias folder and the destroyer tag.
struct Setting {
    Setting() {
        XNoticeMan::Instance().SetPresenter(&silent);
        const auto dir = std::filesystem::temp_directory_path() / "orvo_screens_fuzz";
        std::filesystem::create_directories(dir);
        Write(dir / "page.xml",
              "<lib Name=\"loaded\"><FuzzDestroyer Name=\"d\" When=\"9\"/></lib>");
        Write(dir / "malformed.xml", "<lib Name=\"bad\"><x></lib>");
        Write(dir / "with_bad_include.xml",
              "<lib Name=\"outer\"><Include File=\"malformed.xml\" Path=\"screen\"/><lib "
              "Name=\"x\"/></lib>");
        project.folder = plat::FromFsPath(dir) + L"/";
        IXO::Register(L"Project", &project);
        orvo::RegisterFactory<FuzzDestroyer>();
    }
    orvo::fuzz::SilentPresenter silent;
    FuzzProject project;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (orvo::fuzz::NamesUserLibraries(bytes))
        return 0;
    static Setting setting;
    static XMLParser parser;
    XElement* root = nullptr;
    if (!parser.ParseMemory(bytes, &root))
        return 0;
    // A file whose root is a service fills that service for the rest of the run.
    if (IXO::FindInstance(root->GetTagName())) {
        delete root;
        return 0;
    }
    XElement parameters(L"param");
    parameters.SetValue(L"code", L"005930");
    XDO* opened = XScrMan::Instance().OpenPageMem(root, nullptr, &parameters);
    orvo::fuzz::Check(!opened || IsLiveXdo(opened));
    const orvo::IXORef page = opened ? opened->WeakRef() : orvo::IXORef();
    if (auto* p = static_cast<XDO*>(page.Get())) {
        p->GetNearObjByName(L"a");
        p->BroadcastMsgVB(L"Ping", L"x=1");
    }
    // Focus travel over whatever tab stops the page declares: Tab, Shift+Tab's path, Enter,
    // Space.
    if (auto* lib = dynamic_cast<XLib*>(static_cast<XDO*>(page.Get()))) {
        lib->InitFocus();
        const orvo::IXORef alive = lib->WeakRef();
        for (unsigned key : {9u, 13u, 32u}) {
            if (alive.Alive())
                lib->FocusKeyProc(key);
        }
        if (alive.Alive())
            lib->TabNavi(false);
    }
    if (auto* p = static_cast<XDO*>(page.Get()))
        p->BroadcastMsgVB(L"Kill", L"");
    if (auto* p = static_cast<XDO*>(page.Get()))
        p->SendEvtVB(L"Done", L"");
    orvo::DestroyObject(static_cast<XDO*>(page.Get()));
    orvo::fuzz::Check(orvo::PendingDeletes() == 0);
    return 0;
}
