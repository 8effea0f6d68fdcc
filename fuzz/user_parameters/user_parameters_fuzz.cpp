// Parameter texts of the exported user functions: how they split, and every function that
// acts on a screen given the text, over a small fixed screen of plain objects. The first
// byte picks the function; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/element.h"
#include "core/notice_man.h"
#include "core/object_lifetime.h"
#include "core/xdo.h"
#include "fuzz_support.h"
#include "object_fuzz_support.h"
#include "shell/user_functions.h"
#include "shell/user_parameters.h"

using orvo::fuzz::Check;
using orvo::fuzz::Widen;

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

void CheckSplit(const std::wstring& text) {
    const orvo::UserParameters parameters(text.c_str());
    std::size_t length = 0;
    for (std::size_t i = 0; i < parameters.Count(); ++i) {
        const std::wstring& piece = parameters.At(i);
        length += piece.size();
        Check(piece.empty() || (!IsBlank(piece.front()) && !IsBlank(piece.back())));
        if (parameters.IsBalanced() && !piece.empty()) {
            // A piece of a balanced text holds no comma at its outer level.
            const orvo::UserParameters again(piece.c_str());
            Check(again.IsBalanced() && again.Count() == 1 && again.At(0) == piece);
        }
    }
    Check(length + (parameters.Count() ? parameters.Count() - 1 : 0) <= text.size());
    Check(parameters.At(parameters.Count()).empty());

    XElement items(L"param", nullptr);
    std::wstring why;
    const bool read = parameters.ItemsFrom(0, items, why);
    Check(read ? why.empty() : (!why.empty() && items.GetSize() == 0));
    Check(!read || items.GetSize() <= static_cast<int>(parameters.Count()));
}

// screen (price, qty)
struct Screen {
    Screen() : root(orvo::XDOPtr(new XDO())) {
        XNoticeMan::Instance().SetPresenter(&silent);
        root->SetName(L"screen");
        for (const wchar_t* name : {L"price", L"qty"}) {
            auto* node = new XDO();
            node->SetName(name);
            node->SetData(L"71000");
            root->AddChild(node);
        }
        price = root->GetObjByNameDown(L"price");
    }
    orvo::fuzz::SilentPresenter silent;
    orvo::XDOPtr root;
    XDO* price = nullptr;
};

using UserFunction = int (*)(XDO*, const wchar_t*);

// Functions that open files or screens by name are left out: the input would pick them.
constexpr UserFunction kFunctions[] = {
    PostMsg,         BroadcastMsg,  LibNotifyEvent, LibRelayEvent,  LoaderRunMethod,
    MsgBox,          DisplayMsg,    SetTextCaption, SetFocusUI,     SetObjTimer,
    SetUserState,    SetData,       CopyDataValue,  ClearStruct,    StructData2Text,
    SetSTFieldValue, SpinUp,        SpinDown,       ScrollUp,       ScrollDown,
    ScrollNumUp,     ScrollNumDown, ScrollPage,     SelectTabPanel, TopmostStyle,
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Screen screen;
    if (size == 0)
        return 0;
    const std::wstring text = Widen(data + 1, size - 1);
    CheckSplit(text);
    const UserFunction function = kFunctions[data[0] % std::size(kFunctions)];
    const int result = function(screen.price, text.c_str());
    Check(result == 0 || result == 1);
    return 0;
}
