#pragma once
// A regular expression compiled by PCRE2 (the 32-bit library: our text is wchar_t) with the
// options that give the language's pattern rules, and the search that walks its matches
// the way the RegExp object needs: an empty match moves the next search on by one place.
#include <cstddef>
#include <memory>
#include <string_view>

struct pcre2_real_code_32;
struct pcre2_real_match_data_32;
struct pcre2_real_match_context_32;

namespace vbs {

struct RegexOptions {
    bool ignoreCase = false;
    bool multiline = false;
};

class RegexProgram {
public:
    // The language's "Syntax error in regular expression".
    static constexpr int kSyntaxError = 5017;
    // A match that backtracks past PCRE2's limits stops with error 28, "Out of stack
    // space", the language's answer to work that cannot finish.
    static constexpr int kTooComplex = 28;
    // PCRE2's mark for a group that took no part.
    static constexpr std::size_t kUnset = ~std::size_t{0};

    // Raises kSyntaxError for a pattern PCRE2 refuses.
    RegexProgram(std::wstring_view pattern, RegexOptions options);
    ~RegexProgram();
    RegexProgram(const RegexProgram&) = delete;
    RegexProgram& operator=(const RegexProgram&) = delete;

    // Capture groups, not counting the whole match.
    std::size_t GroupCount() const { return m_groups; }

    // One search from `from` in `subject`; true when it matched. Raises kTooComplex or
    // error 7 when PCRE2 gives up. The matched ranges are then read with Group.
    bool Search(std::wstring_view subject, std::size_t from);
    // Group 0 is the whole match. Unmatched: false.
    bool Group(std::size_t index, std::size_t& start, std::size_t& end) const {
        if (index > m_groups || m_ovector[2 * index] == kUnset)
            return false;
        start = m_ovector[2 * index];
        end = m_ovector[2 * index + 1];
        return true;
    }

    // Where the search after the last match starts: its end, or one further when it was
    // empty, so no search finds the same empty match twice.
    std::size_t NextStart() const {
        return m_ovector[1] > m_ovector[0] ? m_ovector[1] : m_ovector[0] + 1;
    }

private:
    struct CodeFree {
        void operator()(pcre2_real_code_32* code) const noexcept;
    };
    struct MatchDataFree {
        void operator()(pcre2_real_match_data_32* data) const noexcept;
    };

    std::unique_ptr<pcre2_real_code_32, CodeFree> m_code;
    std::unique_ptr<pcre2_real_match_data_32, MatchDataFree> m_match;
    const std::size_t* m_ovector = nullptr; // the match data's, where it leaves the ranges
    pcre2_real_match_context_32* m_context = nullptr; // the thread's limits and JIT stack
    std::size_t m_groups = 0;
};

// Feeds `visit(program)` every match in `subject` in order, or only the first unless `all`.
template <class Visit>
void ForEachMatch(RegexProgram& program, std::wstring_view subject, bool all, Visit&& visit) {
    std::size_t from = 0;
    while (from <= subject.size() && program.Search(subject, from)) {
        visit(program);
        if (!all)
            return;
        from = program.NextStart();
    }
}

} // namespace vbs
