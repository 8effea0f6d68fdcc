// Random text and separators through CTok and CNameTok until exhausted, checking that every
// token is exactly the next piece of GetTail() and that dotted names rebuild their input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"

#include "nubra/tok.h"

using orvo::fuzz::Check;
using orvo::fuzz::Widen;

namespace {

void ExhaustCTok(const std::wstring& text, const std::wstring& seps) {
    CTok tok(text, seps);
    std::size_t rounds = 0;
    for (;;) {
        const std::wstring tail = tok.GetTail();
        Check(tok.HasMore() == !tail.empty());
        std::wstring token = L"\x1";
        if (!tok.GetNext(token)) {
            Check(tail.empty() && token == L"\x1");
            break;
        }
        Check(tail.compare(0, token.size(), token) == 0);
        Check(token.find_first_of(seps) == std::wstring::npos);
        const std::wstring rest = tok.GetTail();
        Check(rest.size() + token.size() == tail.size() ||
              (rest.size() + token.size() + 1 == tail.size() &&
               seps.find(tail[token.size()]) != std::wstring::npos));
        Check(++rounds <= text.size());
    }

    CTok numbers(text, seps);
    int value = 0;
    std::size_t count = 0;
    while (numbers.GetNext(value)) {
        Check(++count <= text.size());
    }
}

void ExhaustNameTok(const std::wstring& name) {
    CNameTok tok(name);
    std::wstring rebuilt;
    std::wstring segment;
    bool first = true;
    while (tok.GetNext(segment)) {
        Check(segment.find(L'.') == std::wstring::npos);
        rebuilt += first ? L"" : L".";
        rebuilt += segment;
        first = false;
    }
    // A trailing dot starts no segment.
    Check(rebuilt == name || rebuilt + L"." == name);

    std::wstring head;
    std::wstring tail;
    if (CNameTok::SplitName(name, head, tail)) {
        Check(head.find(L'.') == std::wstring::npos && head + L"." + tail == name);
    } else {
        Check(head == name && tail.empty() && name.find(L'.') == std::wstring::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // First byte: how many of the next bytes are separators (up to 7).
    const std::size_t sepCount = std::min<std::size_t>(data[0] % 8, size - 1);
    const std::wstring seps = Widen(data + 1, sepCount);
    const std::wstring text = Widen(data + 1 + sepCount, size - 1 - sepCount);
    ExhaustCTok(text, seps);
    ExhaustNameTok(text);
    return 0;
}
