#include "core/element.h"

#include <utility>
#include <vector>

#include "nubra/attr_readers.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

ORVO_DISPATCH(XElement, IXO, ORVO_METHOD(Save))

XElement::XElement(const wchar_t* tagName) : m_tagName(tagName ? tagName : L"") {}

XElement::XElement(const wchar_t* tagName, XElement* parent)
    : m_tagName(tagName ? tagName : L""), m_parent(parent) {}

XElement::XElement(std::wstring tagName, XElement* parent)
    : m_tagName(std::move(tagName)), m_parent(parent) {}

XElement::~XElement() {
    if (!m_firstChild && !m_nextSibling)
        return;
    // Unlink everything reachable first, then delete the detached nodes one by one: a chain
    // of 100,000 siblings costs a vector, not 100,000 stack frames.
    std::vector<XElement*> pending;
    if (m_firstChild)
        pending.push_back(m_firstChild);
    if (m_nextSibling)
        pending.push_back(m_nextSibling);
    m_firstChild = m_nextSibling = nullptr;
    while (!pending.empty()) {
        XElement* e = pending.back();
        pending.pop_back();
        if (e->m_firstChild)
            pending.push_back(e->m_firstChild);
        if (e->m_nextSibling)
            pending.push_back(e->m_nextSibling);
        e->m_firstChild = e->m_nextSibling = nullptr;
        delete e;
    }
}

// ---- attributes ---------------------------------------------------------------------------

int XElement::GetValue(std::wstring_view key, std::wstring& out) const {
    return ::GetValue(GetAttributes(), key, out);
}
int XElement::GetValue(std::wstring_view key, int& out) const {
    return ::GetValue(GetAttributes(), key, out);
}
int XElement::GetValue(std::wstring_view key, float& out) const {
    return ::GetValue(GetAttributes(), key, out);
}
int XElement::GetValue(std::wstring_view key, double& out) const {
    return ::GetValue(GetAttributes(), key, out);
}
int XElement::GetUInt(std::wstring_view key, unsigned& out) const {
    return ::GetUInt(GetAttributes(), key, out);
}
int XElement::GetInt64(std::wstring_view key, std::int64_t& out) const {
    return ::GetInt64(GetAttributes(), key, out);
}
int XElement::GetBool(std::wstring_view key, int& out) const {
    return ::GetBool(GetAttributes(), key, out);
}
int XElement::GetBool(std::wstring_view key, bool& out) const {
    return ::GetBool(GetAttributes(), key, out);
}
int XElement::GetChar(std::wstring_view key, char& out) const {
    return ::GetChar(GetAttributes(), key, out);
}
int XElement::GetChar(std::wstring_view key, wchar_t& out) const {
    return ::GetChar(GetAttributes(), key, out);
}

void XElement::SetValue(std::wstring_view key, std::wstring_view value) {
    m_attributes.Set(plat::ToLower(key), std::wstring(value));
}

void XElement::SetLoweredValue(std::wstring&& key, std::wstring&& value) {
    m_attributes.SetMoved(std::move(key), std::move(value));
}

void XElement::SetValue(std::wstring_view key, int value) {
    SetValue(key, plat::FormatInt(value));
}
void XElement::SetValue(std::wstring_view key, double value) {
    SetValue(key, plat::FormatDouble(value));
}
void XElement::SetValue(std::wstring_view key, float value) {
    SetValue(key, plat::FormatDouble(value));
}
void XElement::SetUInt(std::wstring_view key, unsigned value) {
    SetValue(key, plat::FormatUInt(value));
}
void XElement::SetBool(std::wstring_view key, int value) {
    SetValue(key, std::wstring_view(value ? L"True" : L"False"));
}
void XElement::SetBool(std::wstring_view key, bool value) {
    SetBool(key, value ? 1 : 0);
}

int XElement::HaveKey(std::wstring_view key) const {
    return m_attributes.Contains(key) ? 1 : 0;
}

int XElement::RemoveKey(std::wstring_view key) {
    return m_attributes.Remove(key) ? 1 : 0;
}

int XElement::RenameKey(std::wstring_view oldKey, std::wstring_view newKey) {
    const std::wstring* value = m_attributes.Find(oldKey);
    if (!value)
        return 0;
    if (!m_attributes.Contains(newKey))
        m_attributes.Set(plat::ToLower(newKey), std::wstring(*value));
    if (!plat::EqualsNoCase(oldKey, newKey))
        m_attributes.Remove(oldKey);
    return 1;
}

int XElement::GetSize() const {
    return static_cast<int>(m_attributes.Size());
}

int XElement::Merge(const XElement* other) {
    if (!other || other->m_attributes.Empty())
        return 0;
    for (const auto& [key, value] : other->m_attributes)
        SetValue(key, value);
    return 1;
}

void XElement::MergeMissing(const CMapStringToString& defaults) {
    for (const auto& [key, value] : defaults) {
        if (!HaveKey(key))
            SetValue(key, value);
    }
}

std::wstring XElement::MakeString() const {
    std::wstring out;
    bool first = true;
    for (const auto& [key, value] : m_attributes) {
        if (!first)
            out += L',';
        first = false;
        out += key;
        out += L'=';
        out += value;
    }
    return out;
}

int XElement::MakeValue(std::wstring_view text) {
    std::wstring key, value;
    bool pending = false;
    auto commit = [&] {
        if (pending && !key.empty())
            SetValue(key, value);
    };
    std::size_t pos = 0;
    while (true) {
        std::size_t comma = text.find(L',', pos);
        std::wstring_view piece = text.substr(
            pos, comma == std::wstring_view::npos ? std::wstring_view::npos : comma - pos);
        std::size_t eq = piece.find(L'=');
        if (eq != std::wstring_view::npos) {
            commit();
            key.assign(piece.substr(0, eq));
            std::wstring_view rest = piece.substr(eq + 1);
            value.assign(rest.substr(0, rest.find(L'=')));
            pending = true;
        } else if (pending) {
            value += L',';
            value += piece;
        }
        if (comma == std::wstring_view::npos)
            break;
        pos = comma + 1;
    }
    commit();
    return 1;
}

// ---- tree ---------------------------------------------------------------------------------

// Asked of every element parsed and every child of a library, so read in place rather than
// split into new strings.
bool XElement::IsParamDeclaration() const {
    const std::wstring_view tag = m_tagName;
    constexpr std::wstring_view method = L".param";
    if (tag.size() < method.size() ||
        !plat::EqualsNoCase(tag.substr(tag.size() - method.size()), method))
        return false;
    const std::wstring_view object = tag.substr(0, tag.size() - method.size());
    return plat::EqualsNoCase(object, L"this") || plat::EqualsNoCase(object, L"lib");
}

bool XElement::MayHoldParamDeclarations() const {
    const XElement* top = this;
    while (top->m_parent && top->m_parent != top)
        top = top->m_parent;
    return !top->m_parsedWithoutParamDeclaration;
}

void XElement::ForgetParseMarks() {
    for (XElement* e = this; e; e = e->m_parent != e ? e->m_parent : nullptr) {
        e->m_parsedWithoutInclude = false;
        e->m_parsedWithoutParamDeclaration = false;
    }
}

void XElement::AppendChild(XElement* child) {
    if (!child)
        return;
    ForgetParseMarks();
    XElement** slot = &m_firstChild;
    while (*slot) {
        if (*slot == child) {
            child->m_parent = this;
            return;
        }
        slot = &(*slot)->m_nextSibling;
    }
    *slot = child;
    child->m_parent = this;
}

XElement* XElement::LinkCut() {
    if (!m_parent || m_parent == this)
        return this;
    XElement** slot = &m_parent->m_firstChild;
    while (*slot && *slot != this)
        slot = &(*slot)->m_nextSibling;
    if (!*slot)
        return nullptr;
    *slot = m_nextSibling;
    m_nextSibling = nullptr;
    return this;
}

XElement* XElement::FindChild(std::wstring_view name) const {
    for (XElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (plat::EqualsNoCase(c->m_tagName, name))
            return c;
    }
    return nullptr;
}

XElement* XElement::Find(std::wstring_view name) const {
    std::vector<const XElement*> pending{this};
    while (!pending.empty()) {
        const XElement* e = pending.back();
        pending.pop_back();
        if (plat::EqualsNoCase(e->m_tagName, name))
            return const_cast<XElement*>(e);
        // Next sibling below first child on the stack, so descendants come first.
        if (e->m_nextSibling)
            pending.push_back(e->m_nextSibling);
        if (e->m_firstChild)
            pending.push_back(e->m_firstChild);
    }
    return nullptr;
}

XElement* XElement::FindPath(std::wstring_view path) const {
    if (path.empty() || path.front() != L'/')
        return nullptr;
    const XElement* e = this;
    std::size_t pos = 1;
    while (pos < path.size()) {
        std::size_t slash = path.find(L'/', pos);
        std::wstring_view segment = path.substr(
            pos, slash == std::wstring_view::npos ? std::wstring_view::npos : slash - pos);
        e = e->FindChild(segment);
        if (!e)
            return nullptr;
        if (slash == std::wstring_view::npos)
            break;
        pos = slash + 1;
    }
    return const_cast<XElement*>(e);
}

XElement* XElement::FindEx(const wchar_t* name) const {
    if (!name)
        return nullptr;
    return name[0] == L'/' ? FindPath(name) : Find(name);
}

int XElement::IsMethod(std::wstring& object, std::wstring& method) const {
    std::size_t dot = m_tagName.rfind(L'.');
    if (dot == std::wstring::npos)
        return 0;
    object = m_tagName.substr(0, dot);
    method = m_tagName.substr(dot + 1);
    return 1;
}

XElement* XElement::Clone() const {
    return CloneFromOutside(nullptr);
}

XElement* XElement::CloneFromOutside(XElement* parent) const {
    // Each job copies one source node into a slot of the copy, with the copy's parent.
    struct Job {
        const XElement* source;
        XElement** slot;
        XElement* parent;
    };
    XElement* root = nullptr;
    std::vector<Job> pending{{this, &root, parent}};
    while (!pending.empty()) {
        Job job = pending.back();
        pending.pop_back();
        auto* copy = new XElement(job.source->m_tagName, job.parent);
        copy->m_text = job.source->m_text;
        if (!job.source->m_attributes.Empty())
            copy->m_attributes = job.source->m_attributes;
        *job.slot = copy;
        if (job.source->m_nextSibling)
            pending.push_back({job.source->m_nextSibling, &copy->m_nextSibling, job.parent});
        if (job.source->m_firstChild)
            pending.push_back({job.source->m_firstChild, &copy->m_firstChild, copy});
    }
    return root;
}

void XElement::Clear() {
    XElement* children = m_firstChild;
    XElement* siblings = m_nextSibling;
    m_firstChild = m_nextSibling = nullptr;
    delete children;
    delete siblings;
    m_attributes.Clear();
}
