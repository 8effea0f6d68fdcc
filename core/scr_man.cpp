#include "core/scr_man.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/contracts.h"
#include "core/loading_stamp.h"
#include "core/notice_messages.h"
#include "core/xml_parser.h"
#include "nubra/call_site.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"

using namespace std::string_view_literals;

namespace {

XScrMan* g_scrMan = nullptr;
[[maybe_unused]] const int g_registered = [] {
    g_scrMan = new XScrMan(); // lives for the process: pages closing at exit still reach it
    return orvo::RegisterInstance(g_scrMan);
}();

// Includes nest at most this deep, and one page expands at most this many.
constexpr int kMaxIncludeDepth = 32;
constexpr int kMaxIncludes = 10000;

// Why the parser refused the file it was given last.
std::wstring ParseFailure() {
    static orvo::ContractCall<orvo::contract::ParserLastError> s_error;
    auto error = s_error.Get();
    std::wstring reason = error ? error() : std::wstring();
    return reason.empty() ? std::wstring(L"it could not be read") : reason;
}

// The object a method element ("object.method") talks to: "this" is the parent, anything
// else the nearest object upward whose registry key or key text matches.
XDO* MethodTarget(XDO* parent, const std::wstring& object) {
    if (plat::EqualsNoCase(object, L"this"))
        return parent;
    return parent->GetXDO(object.c_str(), 0);
}

void RunEventDown(XDO* start, int event, int below, bool withSiblings, orvo::WalkHints hints = {}) {
    // Depth first: each object, then its children, then (for the start's chain) its next.
    std::vector<XDO*> pending;
    if (withSiblings && start->next())
        pending.push_back(start->next());
    if (start->child())
        pending.push_back(start->child());
    while (!pending.empty()) {
        XDO* node = pending.back();
        pending.pop_back();
        hints.Step();
        if (node->IsTornDown())
            continue; // destroyed by a handler on the way: neither it nor its subtree starts
        if (node->GetCreateState() < below)
            node->RunObjectEvent(event);
        if (node->next())
            pending.push_back(node->next());
        if (node->child())
            pending.push_back(node->child());
    }
}

} // namespace

XScrMan& XScrMan::Instance() {
    return *g_scrMan;
}

ORVO_DISPATCH(XScrMan,
              IXO,
              ORVO_PROVIDE(orvo::contract::ScrManOpenPage, OpenPage),
              ORVO_METHOD(OpenPageMem),
              ORVO_PROVIDE(orvo::contract::ScrManLoadPage, LoadPage),
              ORVO_METHOD(MakeObject),
              ORVO_METHOD(MakeScrObj),
              ORVO_METHOD(CreateScreen),
              ORVO_PROPERTY_EX(GetMaxFrameCount, SetMaxFrameCount, MaxFrameCount),
              ORVO_METHOD(RegisterFrame),
              ORVO_METHOD(UnRegisterFrame),
              ORVO_METHOD(TranslateMsg),
              ORVO_METHOD(SetPaintTime),
              ORVO_METHOD(RegPaint),
              ORVO_METHOD(UnregPaint),
              ORVO_METHOD(SetMainFrame),
              ORVO_METHOD(GetMainFrame),
              ORVO_METHOD_AS(GetMainFrame, MainFrame),
              ORVO_METHOD(ActivateFrame),
              ORVO_METHOD(OnActivateFrame),
              ORVO_METHOD(GetActiveChildFrame),
              ORVO_METHOD(SetFrameText),
              ORVO_METHOD(Lock),
              ORVO_METHOD(CloseMainFrame),
              ORVO_METHOD(CloseAllWindow),
              ORVO_METHOD(EnableAllWindow),
              ORVO_METHOD(MinimizeAllWindow),
              ORVO_METHOD(RestoreAllWindow),
              ORVO_METHOD(SetExitProc),
              ORVO_METHOD(GetExitProc),
              ORVO_METHOD(SetMDI),
              ORVO_METHOD(GetMDI),
              ORVO_METHOD(AddHotKey),
              ORVO_METHOD(DelHotKey),
              ORVO_METHOD(CheckSamePos),
              ORVO_METHOD(SaveScreen),
              ORVO_METHOD(LoadScreen),
              ORVO_METHOD(GetLastSaveScreen),
              ORVO_METHOD(RemoveSaveScreen),
              ORVO_METHOD(MoveSaveScreen),
              ORVO_METHOD(GetSaveScreenName),
              ORVO_METHOD(LoadLastFrameInfo))

// ---- loading ------------------------------------------------------------------------------

XElement* XScrMan::LoadPage(const wchar_t* path) {
    static orvo::ContractCall<orvo::contract::ParserDoParse> s_parse;
    auto parse = s_parse.Get();
    XElement* root = nullptr;
    if (!path || !parse)
        return nullptr;
    if (!parse(path, &root) || !root) {
        // A missing file is the caller's to judge (a configuration may fall back to another);
        // a file that is there but cannot be read is always worth saying.
        if (plat::IsRegularFile(plat::ResolvePath(path)))
            ConfirmMsg(plat::Format(L"%s could not be read: %s", path, ParseFailure()), 0, 0);
        return nullptr;
    }
    // The root itself may be an Include: expanding under a holder treats it like any other.
    XElement holder(L"page");
    *holder.FirstChildSlot() = root;
    for (XElement* e = root; e; e = e->GetNextSibling())
        e->SetParent(&holder);
    std::vector<std::wstring> chain{plat::ResolvePath(path)};
    int budget = kMaxIncludes;
    // A big page has tens of thousands of elements: walking them all for none is skipped.
    if (!root->ParsedWithoutInclude())
        ExpandIncludes(&holder, chain, budget);
    root = holder.GetFirstChild();
    *holder.FirstChildSlot() = nullptr;
    for (XElement* e = root; e; e = e->GetNextSibling())
        e->SetParent(nullptr);
    return root;
}

void XScrMan::ExpandIncludes(XElement* root, std::vector<std::wstring>& chain, int& budget) {
    static orvo::ContractCall<orvo::contract::ProjectGetPath> s_getPath;
    static orvo::ContractCall<orvo::contract::ParserDoParse> s_parse;
    // Document order over the children of `root`; an expanded include is walked in its place.
    // Each entry is where a chain of siblings goes on, so every element is read once: a
    // page too big for the cache pays one miss per element, not one to list it and another
    // to visit it.
    std::vector<XElement*> pending{root->GetFirstChild()};
    while (!pending.empty()) {
        XElement* e = pending.back();
        pending.pop_back();
        if (!e)
            continue;
        // Read before an include takes this element's place.
        pending.push_back(e->GetNextSibling());
        std::wstring file, alias, folder;
        if (plat::EqualsNoCase(e->GetTagName(), L"Include"sv) && e->GetValue(L"File", file) &&
            e->GetValue(L"Path", alias)) {
            auto getPath = s_getPath.Get();
            auto parse = s_parse.Get();
            XElement* included = nullptr;
            const std::wstring what =
                plat::Format(L"<Include File=\"%s\" Path=\"%s\">", file, alias);
            if (!getPath || !getPath(alias.c_str(), &folder)) {
                ConfirmMsg(plat::Format(L"%s did not load: the path alias \"%s\" is not declared",
                                        what,
                                        alias),
                           0,
                           0);
            } else if (parse) {
                std::wstring full = plat::ResolvePath(plat::JoinPath(folder, file));
                bool looping = std::any_of(
                    chain.begin(), chain.end(), [&](const std::wstring& p) { return p == full; });
                if (looping || static_cast<int>(chain.size()) >= kMaxIncludeDepth || budget <= 0) {
                    ConfirmMsg(
                        plat::Format(
                            L"<Include File=\"%s\" Path=\"%s\"> 포함이 순환되거나 너무 깊습니다.",
                            file,
                            alias),
                        0,
                        0);
                } else if (parse(full.c_str(), &included) && included) {
                    --budget;
                    chain.push_back(full);
                    if (!included->ParsedWithoutInclude())
                        ExpandIncludes(included, chain, budget);
                    chain.pop_back();
                } else {
                    ConfirmMsg(
                        plat::Format(L"%s did not load: %s: %s", what, full, ParseFailure()), 0, 0);
                }
            }
            if (included) {
                // The included root takes the Include's place among its siblings.
                XElement* parent = e->GetParent();
                if (parent) {
                    XElement** slot = parent->FirstChildSlot();
                    while (*slot && *slot != e)
                        slot = (*slot)->NextSiblingSlot();
                    if (*slot) {
                        *included->NextSiblingSlot() = e->GetNextSibling();
                        *slot = included;
                        included->SetParent(parent);
                        *e->NextSiblingSlot() = nullptr;
                        delete e;
                    }
                }
                continue; // its own children were expanded above
            }
        }
        pending.push_back(e->GetFirstChild());
    }
}

void XScrMan::InjectParameters(XElement* root, const XElement* parameters) {
    if (!root)
        return;
    if (parameters)
        root->Merge(parameters);
    auto* declaration = new XElement(L"this.__param__", root);
    auto* copy =
        new XElement(parameters ? parameters->GetTagName() : std::wstring(L"param"), declaration);
    if (parameters)
        copy->Merge(parameters);
    *declaration->FirstChildSlot() = copy;
    *declaration->NextSiblingSlot() = root->GetFirstChild();
    *root->FirstChildSlot() = declaration;
    if (!parameters)
        return;
    for (XElement* c = declaration->GetNextSibling(); c; c = c->GetNextSibling()) {
        std::wstring object, method, name, value;
        if (!c->IsMethod(object, method) || !plat::EqualsNoCase(method, L"Param") ||
            !(plat::EqualsNoCase(object, L"Lib") || plat::EqualsNoCase(object, L"this")))
            continue;
        if (c->GetValue(L"Name", name) && !name.empty() && parameters->GetValue(name, value))
            c->SetValue(L"Value", value);
    }
}

// ---- building -----------------------------------------------------------------------------

namespace {

// Tags repeat down a page ("lib" thousands of times): the registry is asked again only when
// the tag differs from the last one or a registration has changed since.
IXO::Registered ResolveTag(const std::wstring& tag) {
    [[gnu::tls_model("initial-exec")]] thread_local std::wstring lastTag;
    // The registry's generations start at 1.
    [[gnu::tls_model("initial-exec")]] thread_local std::uint64_t lastGeneration = 0;
    [[gnu::tls_model("initial-exec")]] thread_local IXO::Registered last;
    if (lastGeneration != IXO::Generation() || tag != lastTag) {
        last = IXO::Lookup(tag);
        lastTag = tag;
        lastGeneration = IXO::Generation();
    }
    return last;
}

} // namespace

XDO* XScrMan::MakeScrObj(XElement* e, XDO* parent) {
    // One call builds an element and its following siblings; the objects of the chain that
    // asked hear AfterNextElement once everything after them is built, the last one first. A
    // handler on the way may delete objects of the chain (a container dropping its children),
    // so they are held weakly.
    if (!e)
        return nullptr; // most objects have no children: nothing to set up for them
    std::vector<orvo::IXORef> afterNext;
    const orvo::LoadingStampScope stamp;
    orvo::IXORef result;
    bool decided = false;
    auto decide = [&](XDO* value) {
        if (!decided) {
            result = value ? value->WeakRef() : orvo::IXORef();
            decided = true;
        }
    };
    for (; e; e = e->GetNextSibling()) {
        std::wstring object, method;
        if (parent && e->IsMethod(object, method)) {
            if (XDO* target = MethodTarget(parent, object)) {
                if (!target->SetMethod(method.c_str(), e)) {
                    decide(nullptr);
                    break;
                }
            }
            continue;
        }
        const IXO::Registered tag = ResolveTag(e->GetTagName());
        if (parent && tag.instance.Alive()) {
            // A service lives for the process; linked into a page, closing the page would
            // free it. Only a file's root may be one (a definition set loading its file).
            ConfirmMsg(
                plat::Format(L"<%s> 는 서비스 개체라서 화면 안에 둘 수 없습니다.", e->GetTagName()),
                0,
                0);
            continue;
        }
        IXO* made = tag.factory ? tag.factory() : tag.instance.Get();
        XDO* obj = orvo::KindOf<XDO>(made);
        if (made && !obj && !made->IsRegisteredInstance())
            delete made; // a registered class that is no screen object
        if (obj) {
            decide(obj);
            if (m_built)
                m_built->push_back(obj);
            m_framesMade += orvo::HasStyle(obj, XDO_STYLE_FRAME) ? 1 : 0;
            if (parent)
                parent->AddChild(obj);
            if (!obj->SetElement(e))
                break;
            MakeScrObj(e->GetFirstChild(), obj);
            obj->AfterChildElement();
            if (obj->HearsAfterNextElement())
                afterNext.push_back(obj->WeakRef());
        } else if (parent) {
            // An unknown tag inside a page is transparent: its children belong to the parent.
            decide(parent);
            MakeScrObj(e->GetFirstChild(), parent);
            parent->AfterChildElement();
            if (parent->HearsAfterNextElement())
                afterNext.push_back(parent->WeakRef());
        } else {
            ConfirmMsg(e->GetTagName() + L"은 정의되지 않았습니다.", 0, 0);
            decide(nullptr);
            break;
        }
    }
    for (auto it = afterNext.rbegin(); it != afterNext.rend(); ++it) {
        if (auto* obj = static_cast<XDO*>(it->Get()))
            obj->AfterNextElement();
    }
    return static_cast<XDO*>(result.Get());
}

int XScrMan::CreateScreen(XDO* obj) {
    return CreateTree(obj, {});
}

int XScrMan::CreateTree(XDO* obj, orvo::WalkHints hints) {
    // Each object: BeforeCreate, CreateInstance, its children's trees, its later siblings'
    // trees, its layout (a layout rectangle), then AfterCreate; so the later siblings of an
    // object finish before it does.
    struct Step {
        XDO* node;
        bool finish;
    };
    std::vector<Step> steps{{obj, false}};
    while (!steps.empty()) {
        Step s = steps.back();
        steps.pop_back();
        XDO* node = s.node;
        if (!node || node->IsTornDown())
            continue;
        if (s.finish) {
            if (orvo::HasStyle(node, XDO_STYLE_RECT) && !node->RecalcLayout())
                return 0;
            node->RunObjectEvent(EVT_AFTERCREATE);
            continue;
        }
        hints.Step();
        if (node->GetCreateState() >= 2)
            continue;
        node->RunObjectEvent(EVT_BEFORECREATE);
        if (!node->CreateInstance())
            return 0;
        steps.push_back({node, true});
        steps.push_back({node->next(), false});
        steps.push_back({node->child(), false});
    }
    return 1;
}

XDO* XScrMan::MakeObject(XElement* e, XDO* parent) {
    // Handlers of the new objects may destroy what is being built; nothing is freed before
    // the building is over.
    orvo::DispatchScope scope;
    XDO* obj = Start(e, parent);
    return obj && !obj->IsTornDown() ? obj : nullptr;
}

XDO* XScrMan::Start(XElement* e, XDO* parent) {
    std::vector<XDO*> built;
    std::vector<XDO*>* outer = std::exchange(m_built, &built); // a handler may open a page
    XDO* obj = MakeScrObj(e, parent);
    m_built = outer;
    if (!obj)
        return nullptr;
    const std::uint64_t links = tree_node<XDO>::LinkVersion();
    // Each walk meets the objects in build order, the first built object first.
    auto hints = [&] { return orvo::WalkHints(built, links); };
    if (!CreateTree(obj, hints())) {
        if (obj != parent)
            orvo::DestroyObject(obj);
        return nullptr;
    }
    if (!parent || parent->GetCreateState() >= 3) {
        if (XElement* section = obj->GetSaveSection(0))
            obj->LoadObject(section);
        if (obj->GetCreateState() < 3)
            obj->RunObjectEvent(EVT_INITIALIZE);
        if (obj->IsTornDown())
            return nullptr;
        RunEventDown(obj, EVT_INITIALIZE, 3, true, hints());
    }
    if (parent) {
        if (parent->GetCreateState() < 4)
            return obj;
        parent->RunObjectEvent(EVT_CHILDADDED);
    }
    if (obj->IsTornDown())
        return nullptr;
    if (obj->GetCreateState() < 4)
        obj->RunObjectEvent(EVT_RUN);
    if (!obj->IsTornDown())
        RunEventDown(obj, EVT_RUN, 4, false, hints());
    return obj;
}

// ---- opening ------------------------------------------------------------------------------

int XScrMan::RegisterFrame(XDO* frame) {
    if (!frame)
        return 0;
    m_frames.push_back(frame->WeakRef());
    return 1;
}

int XScrMan::UnRegisterFrame(XDO* frame) {
    auto ref = frame ? frame->WeakRef() : orvo::IXORef();
    auto it = std::find(m_frames.begin(), m_frames.end(), ref);
    if (it == m_frames.end())
        return 0;
    m_frames.erase(it);
    return 1;
}

std::vector<XDO*> XScrMan::Frames() const {
    std::vector<XDO*> frames;
    for (const orvo::IXORef& ref : m_frames) {
        if (auto* frame = static_cast<XDO*>(ref.Get()))
            frames.push_back(frame);
    }
    return frames;
}

bool XScrMan::OverFrameLimit(XElement* root) {
    if (m_maxFrameCount <= 0)
        return false;
    XElement* frame =
        plat::EqualsNoCase(root->GetTagName(), L"Frame") ? root : root->Find(L"Frame");
    if (!frame)
        return false;
    std::wstring style;
    bool system = false;
    frame->GetValue(L"FrameStyle", style);
    frame->GetBool(L"SysFrame", system);
    if (system ||
        !(plat::EqualsNoCase(style, L"MDIChild") || plat::EqualsNoCase(style, L"PopupFrame")))
        return false;
    static orvo::MethodCall<int()> s_isSystem(L"IsSysFrame");
    int open = 0;
    for (const orvo::IXORef& ref : m_frames) {
        IXO* f = ref.Get();
        if (!f)
            continue;
        auto isSystem = s_isSystem.Get(f);
        if (!isSystem || !isSystem())
            ++open;
    }
    if (open + 1 <= m_maxFrameCount)
        return false;
    NoticeMsg(plat::Format(L"최대 화면 개수 %d개 제한을 넘었습니다.", m_maxFrameCount));
    return true;
}

XDO* XScrMan::OpenPageMem(XElement* root, XDO* parent, XElement* parameters) {
    if (!root)
        return nullptr;
    std::unique_ptr<XElement> elements(root);
    if (OverFrameLimit(root))
        return nullptr;
    InjectParameters(root, parameters);
    Shell().AdjustFrameElement(root);
    const std::uint64_t framesBefore = m_framesMade;
    XDO* page = MakeObject(root, parent);
    // A new page without frames, the usual one inside a loader, is not walked again to learn
    // so. Markup whose root is no object lands in the parent, which was there before.
    XDO* frame = page && (page == parent || m_framesMade != framesBefore)
                     ? page->find_down([](XDO* n) { return orvo::HasStyle(n, XDO_STYLE_FRAME); })
                     : nullptr;
    if (frame) {
        // Opening may run a modal dialog, whose handlers may end the page themselves.
        const orvo::IXORef pageRef = page->WeakRef();
        const int opened = Shell().OpenFrame(frame);
        page = static_cast<XDO*>(pageRef.Get());
        if (!opened) {
            orvo::DestroyObject(page);
            return nullptr;
        }
        if (!page)
            return nullptr;
    }
    if (page && !parent && !page->IsRegisteredInstance()) {
        std::erase_if(m_pages, [](const orvo::IXORef& ref) { return !ref.Alive(); });
        m_pages.push_back(page->WeakRef());
    }
    return page;
}

std::vector<XDO*> XScrMan::OpenedPages() const {
    std::vector<XDO*> pages;
    for (const orvo::IXORef& ref : m_pages) {
        if (auto* page = static_cast<XDO*>(ref.Get()))
            pages.push_back(page);
    }
    return pages;
}

XDO* XScrMan::OpenPage(const wchar_t* path, XDO* parent, XElement* parameters) {
    XElement* root = LoadPage(path);
    if (!root && path && !plat::IsRegularFile(plat::ResolvePath(path)))
        ConfirmMsg(plat::Format(L"The page %s does not exist.", path), 0, 0);
    return OpenPageMem(root, parent, parameters);
}
