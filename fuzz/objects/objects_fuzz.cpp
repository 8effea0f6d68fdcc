// Texts that address objects and run actions, from untrusted input, over a small fixed
// screen: links, data references, forged object addresses, actions and event declarations.
// User and message actions are left out: they would load whatever library the input names.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/event.h"
#include "core/notice_man.h"
#include "core/object_lifetime.h"
#include "core/xdo.h"
#include "fuzz_support.h"
#include "nubra/trim_blanks.h"
#include "object_fuzz_support.h"
#include "platform/base/nocase.h"

namespace {

// A script that has one function, so script actions can get past the lookups.
class FuzzScript : public XDO {
    ORVO_DISPATCH_MAP()

public:
    FuzzScript() { m_nStyle |= XDO_STYLE_SCRIPT; }
    ORVO_KEY(L"Script")
    int HaveFunction(const wchar_t* name) { return std::wstring_view(name) == L"OnClick"; }
    int RunFunction(const wchar_t*, IXO*) { return 1; }
};

ORVO_DISPATCH(FuzzScript, XDO, ORVO_METHOD(HaveFunction), ORVO_METHOD(RunFunction))

XDO* AddNamed(XDO* parent, const wchar_t* name, XDO* node = nullptr) {
    if (!node)
        node = new XDO();
    node->SetName(name);
    node->SetData(name);
    parent->AddChild(node);
    return node;
}

// opener (code)  <- screen's "__Opener"
// screen (script, panel (price, qty))
struct Screen {
    Screen() : opener(orvo::XDOPtr(new XDO())), root(orvo::XDOPtr(new XDO())) {
        XNoticeMan::Instance().SetPresenter(&silent);
        opener->SetName(L"opener");
        AddNamed(opener.get(), L"code");
        root->SetName(L"screen");
        AddNamed(root.get(), L"script", new FuzzScript());
        XDO* panel = AddNamed(root.get(), L"panel");
        price = AddNamed(panel, L"price");
        AddNamed(panel, L"qty");
        root->SetScreenItemString(L"__Opener", XdoToPtr(opener.get()).c_str());
        XDO* gone = AddNamed(root.get(), L"gone");
        goneText = XdoToPtr(gone);
        orvo::DestroyObject(gone);
        priceText = XdoToPtr(price);
        reusedText = L"ptr:" + std::to_wstring(reinterpret_cast<std::uintptr_t>(price)) + L":" +
                     std::to_wstring(price->GetSerial() + 1);
    }
    ~Screen() { XNoticeMan::Instance().SetPresenter(nullptr); }

    orvo::fuzz::SilentPresenter silent;
    orvo::XDOPtr opener;
    orvo::XDOPtr root;
    XDO* price = nullptr;
    // Address texts the input may use: "{price}" (a live object), "{gone}" (a destroyed
    // one), "{reused}" (price's address with another object's serial).
    std::wstring priceText, goneText, reusedText;
};

void ReplaceAll(std::wstring& text, std::wstring_view token, const std::wstring& with) {
    for (std::size_t at = text.find(token); at != std::wstring::npos;
         at = text.find(token, at + with.size()))
        text.replace(at, token.size(), with);
}

// "User." and "Message." actions, read the way actions are parsed (blanks allowed here too,
// to stay on the safe side).
bool LoadsLibrary(std::wstring_view action) {
    std::wstring_view kind = orvo::TrimBlanks(action.substr(0, action.find(L'.')));
    return plat::EqualsNoCase(kind, L"User") || plat::EqualsNoCase(kind, L"Message");
}

void CheckLiveOrNull(const XDO* found) {
    orvo::fuzz::Check(!found || IsLiveXdo(found));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Screen screen;
    std::wstring text = orvo::fuzz::Widen(data, size);
    ReplaceAll(text, L"{price}", screen.priceText);
    ReplaceAll(text, L"{gone}", screen.goneText);
    ReplaceAll(text, L"{reused}", screen.reusedText);
    orvo::fuzz::Check(PtrToXdo(screen.goneText) == nullptr &&
                      PtrToXdo(screen.reusedText) == nullptr);
    for (XDO* from : {screen.root.get(), screen.price}) {
        CheckLiveOrNull(FindLink(from, text));
        FindData(from, text);
    }
    CheckLiveOrNull(PtrToXdo(text));

    // Actions take C strings: judge the text the action will see.
    const std::wstring action(text.c_str());
    if (!LoadsLibrary(action))
        screen.price->Action(action.c_str());

    // An event declared with the trigger before the first line break and the action after.
    const std::size_t cut = text.find(L'\n');
    XElement declaration(L"Event");
    declaration.SetValue(L"Trigger", text.substr(0, cut));
    if (cut != std::wstring::npos)
        declaration.SetValue(L"Action", text.substr(cut + 1));
    XEvent evt;
    if (evt.SetElement(&declaration) && evt.GetActionKind() != XEvent::ActionUser &&
        evt.GetActionKind() != XEvent::ActionMessage) {
        evt.SetContext(0, &declaration, screen.price, screen.root.get());
        evt.Run(screen.price);
    }
    return 0;
}
