#pragma once
// What RegExp.Execute answers: a Matches collection of Match objects, each with its text,
// its place and a SubMatches collection of its groups (Empty for a group that took no
// part). All are snapshots; the RegExp may change or go away meanwhile.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/value.h"

namespace vbs {

// Values read by a 0-based index (Item, the default member) and walked by For Each: both
// Matches and SubMatches.
class RegexList : public Object {
public:
    RegexList(std::wstring className, std::vector<Value> items)
        : m_className(std::move(className)), m_items(std::move(items)) {}

    std::wstring ClassName() const override { return m_className; }
    Value Invoke(std::wstring_view name, Access access, std::span<Value> args) override;
    std::vector<Value> Items() override { return m_items; }
    // Item needs an index, so there is no value to stand for the whole list.
    bool DefaultValue(Value&) override { return false; }

private:
    std::wstring m_className;
    std::vector<Value> m_items;
};

class RegexMatch : public Object {
public:
    // `groups`: each capture group's text, or Empty when it did not take part.
    RegexMatch(std::wstring value, std::int32_t firstIndex, std::vector<Value> groups)
        : m_value(std::move(value)), m_firstIndex(firstIndex), m_groups(std::move(groups)) {}

    std::wstring ClassName() const override { return L"IMatch2"; }
    Value Invoke(std::wstring_view name, Access access, std::span<Value> args) override;

private:
    std::wstring m_value;
    std::int32_t m_firstIndex;
    std::vector<Value> m_groups;
    Value m_subMatches; // made on first use, then the same object every time
};

} // namespace vbs
