#pragma once
// XElement: one parsed markup node. Tag, text, attributes (keys stored in lower case) and
// the links of the element tree. An element owns its first child and its next sibling, so
// deleting an element deletes its subtree and every element after it in its sibling chain.
// Long chains and deep trees are handled with explicit stacks, never one recursion per node.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "nubra/ixo.h"
#include "platform/base/string_map.h"

class XElement : public IXO {
    ORVO_DISPATCH_MAP()

public:
    XElement() = default;
    explicit XElement(const wchar_t* tagName);
    // Sets the parent field only; the new element is not linked into the parent's chain.
    XElement(const wchar_t* tagName, XElement* parent);
    XElement(std::wstring tagName, XElement* parent);
    XElement(const XElement&) = delete;
    XElement& operator=(const XElement&) = delete;
    ~XElement() override;

    ORVO_KEY(L"Element")

    // ---- node data --------------------------------------------------------------------------
    const std::wstring& GetTagName() const { return m_tagName; }
    void SetTagName(std::wstring tagName) {
        m_tagName = std::move(tagName);
        ForgetParseMarks();
    }
    const std::wstring& GetText() const { return m_text; }
    void SetText(std::wstring text) { m_text = std::move(text); }
    XElement* GetParent() const { return m_parent; }
    void SetParent(XElement* parent) {
        m_parent = parent;
        if (parent)
            parent->ForgetParseMarks();
    }
    XElement* GetFirstChild() const { return m_firstChild; }
    XElement* GetNextSibling() const { return m_nextSibling; }
    // Null while the element has no attributes.
    const CMapStringToString* GetAttributes() const {
        return m_attributes.Empty() ? nullptr : &m_attributes;
    }

    // ---- attributes -------------------------------------------------------------------------
    // The value itself, null when the key is absent: read without copying.
    const std::wstring* FindValue(std::wstring_view key) const { return m_attributes.Find(key); }
    // Readers answer non-zero when the key is present and leave `out` untouched otherwise.
    int GetValue(std::wstring_view key, std::wstring& out) const;
    int GetValue(std::wstring_view key, int& out) const;
    int GetValue(std::wstring_view key, float& out) const;
    int GetValue(std::wstring_view key, double& out) const;
    int GetUInt(std::wstring_view key, unsigned& out) const;
    int GetInt64(std::wstring_view key, std::int64_t& out) const;
    int GetBool(std::wstring_view key, int& out) const;
    int GetBool(std::wstring_view key, bool& out) const;
    int GetChar(std::wstring_view key, char& out) const;
    int GetChar(std::wstring_view key, wchar_t& out) const;

    void SetValue(std::wstring_view key, std::wstring_view value);
    void SetValue(std::wstring_view key, const wchar_t* value) {
        SetValue(key, std::wstring_view(value ? value : L""));
    }
    void SetValue(std::wstring_view key, const std::wstring& value) {
        SetValue(key, std::wstring_view(value));
    }
    void SetValue(std::wstring_view key, int value);
    void SetValue(std::wstring_view key, double value);
    void SetValue(std::wstring_view key, float value);
    void SetUInt(std::wstring_view key, unsigned value);
    void SetBool(std::wstring_view key, int value);
    void SetBool(std::wstring_view key, bool value);
    // Stores an attribute whose key is already lower case (the parser's path).
    void SetLoweredValue(std::wstring&& key, std::wstring&& value);
    void ReserveAttributes(std::size_t count) { m_attributes.Reserve(count); }

    int HaveKey(std::wstring_view key) const;
    int RemoveKey(std::wstring_view key);
    int RenameKey(std::wstring_view oldKey, std::wstring_view newKey);
    int GetSize() const;
    // Copies every attribute of `other`, overwriting equal keys; 0 when it has none.
    int Merge(const XElement* other);
    // Copies the attributes of `defaults` that this element does not have.
    void MergeMissing(const CMapStringToString& defaults);
    // key=value pairs joined by ",", in attribute order.
    std::wstring MakeString() const;
    // The reverse of MakeString; a piece without "=" continues the previous value, so values
    // may contain commas.
    int MakeValue(std::wstring_view text);

    // ---- tree -------------------------------------------------------------------------------
    void AppendChild(XElement* child);
    XElement* LinkCut();
    XElement* FindChild(std::wstring_view name) const;
    // Depth first: this element, its descendants, then its following siblings and theirs.
    XElement* Find(std::wstring_view name) const;
    XElement* FindPath(std::wstring_view path) const;
    XElement* FindEx(const wchar_t* name) const;
    int IsMethod(std::wstring& object, std::wstring& method) const;
    // Deep copies; the copy includes every sibling that follows this element.
    XElement* Clone() const;
    XElement* CloneFromOutside(XElement* parent) const;
    void Clear();
    // Writes this element (with its subtree) as a UTF-8 markup file.
    int Save(const wchar_t* path) const;
    // The UTF-8 markup Save would write.
    std::string Serialize() const;

    // A library's parameter declaration: "this.param" or "lib.param", without case.
    bool IsParamDeclaration() const;

    // Marks the parser sets on the first element of a tree in which it met no "Include", or
    // no parameter declaration: the page loader then skips its walk for includes, and a
    // library with many children its walk for declarations. Copies and built trees have
    // none, and any change to a tree (a child added, an element renamed or given a parent)
    // takes back the marks of every element above it, so a mark never claims more than the
    // tree as parsed.
    bool ParsedWithoutInclude() const { return m_parsedWithoutInclude; }
    void MarkParsedWithoutInclude() { m_parsedWithoutInclude = true; }
    void MarkParsedWithoutParamDeclaration() { m_parsedWithoutParamDeclaration = true; }
    // False only when the tree this element belongs to is known to have no declaration.
    bool MayHoldParamDeclarations() const;

    // Links the parser builds directly.
    XElement** FirstChildSlot() { return &m_firstChild; }
    XElement** NextSiblingSlot() { return &m_nextSibling; }

private:
    void ForgetParseMarks();

    // First: they fit in the base's last bytes.
    bool m_parsedWithoutInclude = false;
    bool m_parsedWithoutParamDeclaration = false;
    std::wstring m_tagName;
    std::wstring m_text;
    XElement* m_parent = nullptr;
    XElement* m_firstChild = nullptr;
    XElement* m_nextSibling = nullptr;
    CMapStringToString m_attributes; // kept inline: most elements have attributes
};
