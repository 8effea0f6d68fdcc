// Received records in the record layout, mapped into every kind of structure: bytes from an
// untrusted sender, with any claimed record count.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "map_data/exchange_structures.h"

namespace {

// A record ending in a variable-length string stores its fixed fields as a record of those
// fields alone stores the same bytes: both ways of receiving agree byte for byte, and every
// boolean of the row is 0 or 1.
void CheckFixedFieldsAgree(XStruct& s, const std::vector<char>& bytes) {
    const CRecord& record = s.GetRecord();
    const int text = s.GetPointerFieldNo();
    const int fixed = record.GetOffSet(text);
    if (text != record.GetFieldCount() - 1 || fixed < 1 ||
        bytes.size() < static_cast<std::size_t>(fixed))
        return;
    XStruct alone;
    for (int c = 0; c < text; ++c)
        orvo::fuzz::Check(alone.GetRecord().AddField(
                              std::make_unique<CRecord::CField>(*record.GetField(c))) == c);
    orvo::fuzz::Check(alone.ConfirmDataMem(1) && alone.MapData(1, fixed, bytes.data()));
    void* withText = nullptr;
    void* withoutText = nullptr;
    orvo::fuzz::Check(s.GetValBlob(0, 0, withText) && alone.GetValBlob(0, 0, withoutText));
    orvo::fuzz::Check(std::memcmp(withText, withoutText, static_cast<std::size_t>(fixed)) == 0);
    for (int c = 0; c < text; ++c) {
        if (record.GetField(c)->Type != DT_BOOL)
            continue;
        std::int32_t value = 0;
        std::memcpy(&value, static_cast<const char*>(withText) + record.GetOffSet(c), 4);
        orvo::fuzz::Check(value == 0 || value == 1);
    }
}

} // namespace

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
    if (s->MapData(records, length, bytes.data())) {
        if (flat) {
            const int rows = records < 1 ? 1 : records;
            orvo::fuzz::Check(s->GetRows() == rows);
            orvo::fuzz::Check(static_cast<std::int64_t>(rows) * s->GetRecordSize() <= length);
        } else if (s->HasPointerField()) {
            orvo::fuzz::Check(s->GetRows() == 1);
            CheckFixedFieldsAgree(*s, bytes);
        }
    }
    orvo::fuzz::ReadBack(*s);
    // A second receive into the rows the first one left.
    s->MapData(1, length / 2, bytes.data() + length / 2);
    orvo::fuzz::ReadBack(*s);
    return 0;
}
