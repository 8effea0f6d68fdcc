// Received tab-separated text records mapped into every kind of structure: lines, fields,
// carriage returns and zero bytes from an untrusted sender, with any claimed record count.
#include <cstdint>
#include <cstring>
#include <vector>

#include "map_data/exchange_structures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    orvo::XDOPtr page = orvo::fuzz::MakeExchangeStructure(data[0]);
    auto* s = dynamic_cast<XStruct*>(page.get());
    if (!s)
        return 0;
    const int records = orvo::fuzz::RecordsFrom(data[1]);
    const char mode = data[2] & 1 ? 'T' : 0;
    // An exact-size copy the mapping may write its zero bytes into.
    std::vector<char> text(data + 3, data + size);
    const std::vector<char> original = text;
    const int length = static_cast<int>(text.size());
    if (!s->MapDelimiterData(records, length, text.data(), mode))
        orvo::fuzz::Check(text == original); // a refused receive leaves the buffer alone
    orvo::fuzz::ReadBack(*s);
    text = original;
    s->MapDelimiterData(1, length, text.data(), mode);
    orvo::fuzz::ReadBack(*s);
    return 0;
}
