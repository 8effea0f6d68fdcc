// A user library as screen authors write them, loaded by "User." and "Message." actions in
// the core tests ("OrvoTestActions.dll"). What the functions do is written to one log, which
// the tests read back through the same library.
#include <string>
#include <string_view>

#include "core/user_function.h"
#include "core/xdo.h"
#include "platform/base/lenient.h"

namespace {

std::wstring g_log;

void Append(std::wstring_view entry) {
    if (!g_log.empty())
        g_log += L' ';
    g_log += entry;
}

std::wstring NameOf(const XDO* object) {
    return object ? object->GetName() : L"-";
}

// "Name:k=v,..." -> the name and the items.
void SplitNameAndItems(const wchar_t* parameter, std::wstring& name, std::wstring& items) {
    std::wstring_view text(parameter ? parameter : L"");
    std::size_t colon = text.find(L':');
    name.assign(text.substr(0, colon));
    items.assign(colon == std::wstring_view::npos ? std::wstring_view() : text.substr(colon + 1));
}

} // namespace

extern "C" {

const wchar_t* TestLog() {
    return g_log.c_str();
}

void ClearTestLog() {
    g_log.clear();
}

void AppendToTestLog(const wchar_t* entry) {
    Append(entry ? entry : L"");
}

// The object's name, and the parameter after a colon when there is one.
int AppendName(XDO* object, const wchar_t* parameter) {
    std::wstring entry = NameOf(object);
    if (parameter && *parameter)
        entry += L':' + std::wstring(parameter);
    Append(entry);
    return 1;
}

int AppendMsgItem(XDO* object, const wchar_t* key) {
    Append(object->GetMsgItem(key));
    return 1;
}

int AppendEvtItem(XDO* object, const wchar_t* key) {
    Append(object->GetEvtItem(key));
    return 1;
}

int ReturnNumber(XDO*, const wchar_t* number) {
    return plat::_wtoi(number ? number : L"");
}

int BroadcastFromHere(XDO* object, const wchar_t* parameter) {
    std::wstring name, items;
    SplitNameAndItems(parameter, name, items);
    object->BroadcastMsgVB(name.c_str(), items.c_str());
    return 1;
}

// Destroys the object of that name anywhere in the screen, or the calling object itself.
int DestroyNamed(XDO* object, const wchar_t* name) {
    XDO* victim = name && *name ? object->GetTopParent()->GetObjByNameDown(name) : object;
    if (victim)
        victim->LinkCut(1, nullptr);
    return 1;
}

void AppendContext(XDO* object, XMessageContext* context, const wchar_t*) {
    Append(NameOf(object) + L"<" + (context->element ? context->element->GetTagName() : L"-") +
           L",up=" + std::to_wstring(context->fromUp) + L",sender=" + NameOf(context->sender) +
           L",origin=" + NameOf(context->origin) + L">");
}

} // extern "C"
