#pragma once
// The RegExp object (`New RegExp`): Pattern, IgnoreCase, Global and Multiline, and Test,
// Execute and Replace over PCRE2. The compiled pattern is kept until Pattern, IgnoreCase
// or Multiline changes.
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/regex_program.h"
#include "vbscript/value.h"

namespace vbs {

class RegExp : public Object {
public:
    RegExp();
    ~RegExp() override;

    std::wstring ClassName() const override { return L"IRegExp2"; }
    Value Invoke(std::wstring_view name, Access access, std::span<Value> args) override;
    bool DefaultValue(Value&) override { return false; }

    void SetPattern(std::wstring_view pattern);
    void SetIgnoreCase(bool on);
    void SetMultiline(bool on);
    void SetGlobal(bool on) { m_global = on; }

    // Each raises 5017 for a pattern PCRE2 refuses and 28 for a match that gives up.
    bool Test(std::wstring_view subject);
    // A Matches collection: every match with Global, else at most the first.
    Value Execute(std::wstring_view subject);
    // A String: `replacement` may use $1-$99, $& (the match), $` (before it), $' (after it)
    // and $$.
    Value Replace(std::wstring_view subject, std::wstring_view replacement);

private:
    RegexProgram& Program();

    std::wstring m_pattern;
    RegexOptions m_options;
    bool m_global = false;
    std::unique_ptr<RegexProgram> m_program; // null until used after a change
    // Replace's pieces of text, kept so that calls in a loop do not grow it again; only
    // read inside the call that filled it.
    std::vector<std::wstring_view> m_pieces;
};

} // namespace vbs
