#pragma once
// The parameter text of an exported user function, as a screen author writes it after the
// function's name: "Action=User.Run(orvo, SetData, price, Data(ticket.last))".
//
// Pieces are separated by "," at the outer level; a comma inside parentheses ("Data(a,b)",
// "Link(...)") or inside double quotes stays in its piece. Pieces come trimmed. A text whose
// parentheses or quotes do not close is unbalanced: the functions refuse it rather than guess
// where the author meant a piece to end.
#include <cstddef>
#include <string>
#include <vector>

class XDO;
class XElement;

namespace orvo {

class UserParameters {
public:
    explicit UserParameters(const wchar_t* text);

    bool IsBalanced() const { return m_balanced; }
    std::size_t Count() const { return m_pieces.size(); }
    // The piece at `index`; empty beyond the last.
    const std::wstring& At(std::size_t index) const;
    // The pieces from `first` on as items "key=value" of `out`; a value in double quotes loses
    // them. With `resolveFrom`, a value "Data(...)" is the data of the object it names. On a
    // piece without "=" or key, or a "Data(...)" naming no object, nothing is stored and
    // `why` says what was wrong.
    bool ItemsFrom(std::size_t first,
                   XElement& out,
                   std::wstring& why,
                   XDO* resolveFrom = nullptr) const;

    // The piece at `index` as a value: without surrounding double quotes, and with
    // `resolveFrom` a "Data(...)" value read from the object it names. False when that object
    // does not exist.
    bool ValueAt(std::size_t index, std::wstring& out, XDO* resolveFrom = nullptr) const;

    const std::wstring& Text() const { return m_text; }

private:
    std::wstring m_text;
    std::vector<std::wstring> m_pieces;
    bool m_balanced = true;
};

} // namespace orvo
