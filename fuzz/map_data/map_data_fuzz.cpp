// Received records in the record layout, mapped into every kind of structure: bytes from an
// untrusted sender, with any claimed record count.
#include <cstdint>
#include <vector>

#include "map_data/exchange_structures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    orvo::XDOPtr page = orvo::fuzz::MakeExchangeStructure(data[0]);
    auto* s = dynamic_cast<XStruct*>(page.get());
    if (!s)
        return 0;
    const int records = orvo::fuzz::RecordsFrom(data[1]);
    // An exact-size copy, so that any read past the data is caught.
    const std::vector<char> bytes(data + 2, data + size);
    const int length = static_cast<int>(bytes.size());
    const bool flat = !s->HasPointerField() && !s->HasVirtual();
    if (s->MapData(records, length, bytes.data()) && flat) {
        const int rows = records < 1 ? 1 : records;
        orvo::fuzz::Check(s->GetRows() == rows);
        orvo::fuzz::Check(static_cast<std::int64_t>(rows) * s->GetRecordSize() <= length);
    }
    orvo::fuzz::ReadBack(*s);
    // A second receive into the rows the first one left.
    s->MapData(1, length / 2, bytes.data() + length / 2);
    orvo::fuzz::ReadBack(*s);
    return 0;
}
