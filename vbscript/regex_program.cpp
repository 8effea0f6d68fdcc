#include "vbscript/regex_program.h"

#include <type_traits>

#define PCRE2_CODE_UNIT_WIDTH 32
#include <pcre2.h>

#include "vbscript/script_error.h"

namespace vbs {

static_assert(sizeof(wchar_t) == sizeof(PCRE2_UCHAR32), "text is handed to PCRE2 as it is");
static_assert(RegexProgram::kUnset == PCRE2_UNSET);
static_assert(std::is_same_v<PCRE2_SIZE, std::size_t>);

namespace {

// Per start position: far above what a sane pattern needs on any line, low enough that
// nested repeats give up in milliseconds.
constexpr std::uint32_t kMatchLimit = 1'000'000;
constexpr std::uint32_t kDepthLimit = 250'000;
constexpr std::size_t kJitStackMax = 4 * 1024 * 1024;

// PCRE2 refuses a null pointer even for no text, which an empty string's view may hold.
PCRE2_SPTR32 Units(std::wstring_view text) {
    return reinterpret_cast<PCRE2_SPTR32>(text.empty() ? L"" : text.data());
}

// The limits, and a JIT stack larger than PCRE2's 32 KB default so long subjects with
// repeated groups still match; one per thread, as only one match runs at a time there.
struct MatchSetup {
    pcre2_match_context_32* context = nullptr;
    pcre2_jit_stack_32* stack = nullptr;

    MatchSetup() {
        context = pcre2_match_context_create_32(nullptr);
        if (!context)
            return;
        pcre2_set_match_limit_32(context, kMatchLimit);
        pcre2_set_depth_limit_32(context, kDepthLimit);
        stack = pcre2_jit_stack_create_32(32 * 1024, kJitStackMax, nullptr);
        if (stack)
            pcre2_jit_stack_assign_32(context, nullptr, stack);
    }
    ~MatchSetup() {
        pcre2_jit_stack_free_32(stack);
        pcre2_match_context_free_32(context);
    }
    MatchSetup(const MatchSetup&) = delete;
    MatchSetup& operator=(const MatchSetup&) = delete;
};

pcre2_match_context_32* MatchContext() {
    static thread_local MatchSetup setup;
    if (!setup.context)
        RaiseError(7);
    return setup.context;
}

} // namespace

void RegexProgram::CodeFree::operator()(pcre2_code_32* code) const noexcept {
    pcre2_code_free_32(code);
}

void RegexProgram::MatchDataFree::operator()(pcre2_match_data_32* data) const noexcept {
    pcre2_match_data_free_32(data);
}

RegexProgram::RegexProgram(std::wstring_view pattern, RegexOptions options) {
    // ECMAScript's rules as far as PCRE2 has them: \u and \x escapes, `$` only at the very
    // end outside multiline, a backreference to an unset group matching nothing, and \w \d
    // \s over ASCII (UTF without UCP) while case folds over all of Unicode. Text that is
    // not valid UTF-32 (a lone surrogate from ChrW) matches nothing rather than failing.
    std::uint32_t flags = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALT_BSUX |
                          PCRE2_DOLLAR_ENDONLY | PCRE2_MATCH_UNSET_BACKREF |
                          PCRE2_NEVER_BACKSLASH_C;
    if (options.ignoreCase)
        flags |= PCRE2_CASELESS;
    if (options.multiline)
        flags |= PCRE2_MULTILINE;

    pcre2_compile_context_32* context = pcre2_compile_context_create_32(nullptr);
    if (!context)
        RaiseError(7);
    // CR, LF and CRLF end lines for `^`, `$` and `.`, whatever PCRE2 was built with.
    pcre2_set_newline_32(context, PCRE2_NEWLINE_ANYCRLF);
    int error = 0;
    PCRE2_SIZE offset = 0;
    m_code.reset(pcre2_compile_32(Units(pattern), pattern.size(), flags, &error, &offset, context));
    pcre2_compile_context_free_32(context);
    if (!m_code) {
        if (error == PCRE2_ERROR_NOMEMORY)
            RaiseError(7);
        RaiseError(kSyntaxError);
    }
    // Without JIT (no executable memory) the interpreter runs the same pattern.
    pcre2_jit_compile_32(m_code.get(), PCRE2_JIT_COMPLETE);
    std::uint32_t captures = 0;
    pcre2_pattern_info_32(m_code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
    m_groups = captures;
    m_match.reset(pcre2_match_data_create_from_pattern_32(m_code.get(), nullptr));
    if (!m_match)
        RaiseError(7);
    m_ovector = pcre2_get_ovector_pointer_32(m_match.get());
    // Objects stay on the thread that made them (their counts are not atomic), so this
    // thread's context serves every search; asking per search costs a TLS lookup each.
    m_context = MatchContext();
}

RegexProgram::~RegexProgram() = default;

bool RegexProgram::Search(std::wstring_view subject, std::size_t from) {
    const int rc = pcre2_match_32(
        m_code.get(), Units(subject), subject.size(), from, 0, m_match.get(), m_context);
    if (rc >= 0)
        return true;
    switch (rc) {
    case PCRE2_ERROR_NOMATCH:
        return false;
    case PCRE2_ERROR_NOMEMORY:
        RaiseError(7);
    default: // the match, depth, heap and JIT stack limits
        throw ScriptError{kTooComplex,
                          L"Out of stack space: the regular expression backtracks too much"};
    }
}

} // namespace vbs
