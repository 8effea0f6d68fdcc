#pragma once
// Tokenizers over a text the caller hands in (the text is copied, so the caller's buffer
// may go away).
//
// CTok: every character of the separator set ends a token. Tokens between adjacent
// separators are returned empty ("a,,b" gives "a", "", "b"), and a leading separator gives
// a leading empty token. A separator at the very end does not start another token ("a,"
// gives just "a"), so a token is pending exactly while GetTail() is not empty. Empty text
// has no tokens.
#include <cstddef>
#include <string>
#include <string_view>

class CTok {
public:
    CTok(std::wstring_view text, std::wstring_view seps);

    // False only when the text is exhausted; `out` is then untouched.
    bool GetNext(std::wstring& out);
    // The token through the lenient integer conversion ("12abc" gives 12, "" gives 0).
    bool GetNext(int& out);
    // The text not yet consumed, separators included.
    std::wstring GetTail() const;
    // Applies to the tokens read from now on.
    void SetSep(std::wstring_view seps);
    bool HasMore() const { return m_pos < m_text.size(); }

private:
    std::wstring m_text;
    std::wstring m_seps;
    std::size_t m_pos = 0;
};

// Dotted object names ("Form1.Grid.Price"): the segments between the dots, with the same
// rules as CTok using "." as the only separator.
class CNameTok {
public:
    explicit CNameTok(std::wstring_view name);

    bool GetNext(std::wstring& segment);

    // "a.b.c" gives head "a" and tail "b.c". Without a dot: false, head = name, tail empty.
    static bool SplitName(std::wstring_view name, std::wstring& head, std::wstring& tail);

private:
    CTok m_tok;
};
