#pragma once
// The methods the core and the layers above it call on each other by name. Callers look them
// up through these contracts (orvo::ContractCall, orvo::ContractMethod); providers publish
// them with ORVO_PROVIDE, which refuses to compile a member of another signature.
#include <string>

#include "nubra/contract.h"

class CFont;
class IXO;
class XDO;
class XElement;

namespace orvo::contract {

// ---- services of the core ---------------------------------------------------------------------
ORVO_CONTRACT(ParserDoParse, L"Parser", DoParse, int(const wchar_t* path, XElement** root))
// Why the last DoParse failed: "there is no such file", "line 3, column 7: ...".
ORVO_CONTRACT(ParserLastError, L"Parser", LastError, std::wstring())
ORVO_CONTRACT(AttributeSetGetAttributeByName,
              L"AttributeSet",
              GetAttributeByName,
              IXO*(const wchar_t* name))
ORVO_CONTRACT(ProjectGetPath, L"Project", GetPath, int(const wchar_t* alias, std::wstring* out))
ORVO_CONTRACT(ProjectGetFile, L"Project", GetFile, int(const wchar_t* kind, std::wstring& out))
ORVO_CONTRACT(
    ProjectGetINIStr,
    L"Project",
    GetINIStr,
    int(const wchar_t* kind, const wchar_t* section, const wchar_t* key, std::wstring& out))
ORVO_CONTRACT(ProjectGetINIStrEx,
              L"Project",
              GetINIStrEx,
              int(const wchar_t* kind1,
                  const wchar_t* section1,
                  const wchar_t* kind2,
                  const wchar_t* section2,
                  const wchar_t* key,
                  std::wstring& out))
ORVO_CONTRACT(ScrManOpenPage,
              L"ScrMan",
              OpenPage,
              XDO*(const wchar_t* path, XDO* parent, XElement* parameters))
ORVO_CONTRACT(ScrManLoadPage, L"ScrMan", LoadPage, XElement*(const wchar_t* path))
ORVO_CONTRACT(MainManGetMainMan, L"MainMan", GetMainMan, IXO*())
ORVO_CONTRACT(MainManPostCommand, L"MainMan", PostCommand, int(int id))
ORVO_CONTRACT(LangManGetText, L"LangMan", GetText, int(int id, std::wstring& out))
ORVO_CONTRACT(LangManGetFont, L"LangMan", GetFont, CFont*(const wchar_t* description))
ORVO_CONTRACT(NoticeManConfirm,
              L"NoticeMan",
              Confirm,
              int(const wchar_t* text, unsigned type, unsigned helpId))
ORVO_CONTRACT(NoticeManNotice, L"NoticeMan", Notice, int(const wchar_t* text))
ORVO_CONTRACT(NoticeManAlert, L"NoticeMan", Alert, int(const wchar_t* text))
ORVO_CONTRACT(NoticeManNews, L"NoticeMan", News, int(const wchar_t* text))
ORVO_CONTRACT(NoticeManNoticeConclude, L"NoticeMan", NoticeConclude, int(const wchar_t* text))

// ---- services of the host and the application shell -----------------------------------------
ORVO_CONTRACT(ApplicationGetValue,
              L"Application",
              GetValue,
              int(const wchar_t* key, std::wstring& out))
// A property: its getter.
ORVO_CONTRACT(SystemDbUserName, L"systemdb", UserName, std::wstring())
ORVO_CONTRACT(MenuManRunByMenuID,
              L"MenuMan",
              RunByMenuID,
              int(const wchar_t* id, const wchar_t* parameter, const wchar_t* options))

// ---- methods of objects met in the tree ------------------------------------------------------
// A "Script" object: the names of a screen and the functions of its code.
ORVO_CONTRACT(ScriptRegObject, nullptr, RegObject, int(const wchar_t* name, IXO* object))
ORVO_CONTRACT(ScriptUnregObject, nullptr, UnregObject, int(const wchar_t* name))
ORVO_CONTRACT(ScriptHaveFunction, nullptr, HaveFunction, int(const wchar_t* name))
ORVO_CONTRACT(ScriptRunFunction, nullptr, RunFunction, int(const wchar_t* name, IXO* caller))
// The same, keeping the function's result.
ORVO_CONTRACT(ScriptRunFunctionRet,
              nullptr,
              RunFunctionRet,
              int(const wchar_t* name, IXO* caller, orvo::DispVariant& result))
// A visual object (style 0x40): the part of it that a sub-name "[" name "]" addresses (a
// grid's column, a table's cell), or null. Formulas link such parts without knowing the UI.
ORVO_CONTRACT(VisualGetSubObject, nullptr, GetSubObject, XDO*(const wchar_t* name))
// A visual object's user state (with `active` set, the state's look applies) and the count of
// paints its update highlight lasts. Data links set both on the objects they write.
ORVO_CONTRACT(VisualSetUserState, nullptr, SetUserState, int(int state, int active))
ORVO_CONTRACT(VisualSetUpdateCount, nullptr, SetUpdateCount, void(int count))
// A frame (style 0x200): the menu number of the screen it shows.
ORVO_CONTRACT(FrameGetFrameID, nullptr, GetFrameID, std::wstring())
// A tab panel selects the page its switches name for a gate element. The object of the page
// it changed to, or null when the page stayed (or the new page has no object).
ORVO_CONTRACT(TabPanelSwitchPage, nullptr, SwitchPage, XDO*(XElement* element))
// A gate: gathers, then applies its gate element; 0 when refused.
ORVO_CONTRACT(GateTrigger, nullptr, Trigger, int())
// A screen root (style 0x20000) takes or refuses the focus for an object inside it.
ORVO_CONTRACT(ScreenNotifySetFocus, nullptr, NotifySetFocus, int(XDO* object))
// A selector (style 0x100000): the visual objects of which at most one is selected. Members
// join it themselves and leave through XDO::RemoveMember.
ORVO_CONTRACT(SelectorAddMember, nullptr, AddMember, int(XDO* member))
// The selected member, or null when the number is not that of a member.
ORVO_CONTRACT(SelectorGetCurUI, nullptr, GetCurUI, XDO*())

} // namespace orvo::contract
