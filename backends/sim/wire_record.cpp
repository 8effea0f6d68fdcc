#include "backends/sim/wire_record.h"

#include <cstring>

#include "data/cell_codec.h"
#include "data/inner_struct.h"
#include "platform/base/codepage.h"
#include "platform/base/format.h"

namespace sim {

namespace {

struct Value {
    enum Kind { None, Number, Real, Text } kind = None;
    std::int64_t number = 0;
    double real = 0;
    std::wstring text;
};

Value NumberValue(std::int64_t n) {
    Value v;
    v.kind = Value::Number;
    v.number = n;
    return v;
}

Value TextValue(std::wstring text) {
    Value v;
    v.kind = Value::Text;
    v.text = std::move(text);
    return v;
}

// The value a field of this name reports; `level` is the order book level of inner rows.
Value ValueOf(std::wstring_view name, const Answer& a, int level, Market& market) {
    const Instrument& i = *a.instrument;
    if (name == L"code" || name == L"shcode")
        return TextValue(i.code);
    if (name == L"name" || name == L"hname")
        return TextValue(i.name);
    if (name == L"price" || name == L"last" || name == L"close")
        return NumberValue(a.quantity ? a.fillPrice : i.price);
    if (name == L"change" || name == L"diff")
        return NumberValue(i.price - i.reference);
    if (name == L"rate") {
        Value v;
        v.kind = Value::Real;
        v.real = i.reference ? 100.0 * static_cast<double>(i.price - i.reference) /
                                   static_cast<double>(i.reference)
                             : 0.0;
        return v;
    }
    if (name == L"volume")
        return NumberValue(i.volume);
    if (name == L"open")
        return NumberValue(i.open);
    if (name == L"high")
        return NumberValue(i.high);
    if (name == L"low")
        return NumberValue(i.low);
    if (name == L"reference" || name == L"base")
        return NumberValue(i.reference);
    if (name == L"time")
        return TextValue(plat::Format(L"%06d", a.time));
    if (name == L"date")
        return NumberValue(a.marketDate);
    if (name == L"askprice")
        return NumberValue(i.price + (level + 1) * i.tick);
    if (name == L"bidprice")
        return NumberValue(std::max(i.tick, i.price - level * i.tick));
    if (name == L"askqty" || name == L"bidqty")
        return NumberValue(market.Quantity());
    if (name == L"orderno")
        return NumberValue(a.orderNo);
    if (name == L"qty" || name == L"fillqty")
        return NumberValue(a.quantity);
    if (name == L"fillprice")
        return NumberValue(a.fillPrice);
    if (name == L"side")
        return TextValue(a.side);
    if (name == L"status")
        return TextValue(a.quantity ? L"FILLED" : L"");
    // A list page: rows numbered on from the key, and the keys of the pages around it.
    if (name == L"seq")
        return NumberValue(a.key + level + 1);
    if (name == L"nextkey")
        return NumberValue(a.key + a.listRows);
    if (name == L"prevkey")
        return NumberValue(std::max<std::int64_t>(0, a.key - a.listRows));
    return {};
}

void WriteCell(const CRecord::CField& f, const Value& v, unsigned char* cell) {
    using orvo::PutCell;
    const std::int64_t n = v.kind == Value::Real ? static_cast<std::int64_t>(v.real) : v.number;
    const double d = v.kind == Value::Real ? v.real : static_cast<double>(v.number);
    switch (f.Type) {
    case DT_INT:
    case DT_BOOL:
        PutCell<std::int32_t>(cell, static_cast<std::int32_t>(n));
        break;
    case DT_UINT:
        PutCell<std::uint32_t>(cell, static_cast<std::uint32_t>(n));
        break;
    case DT_INT64:
        PutCell<std::int64_t>(cell, n);
        break;
    case DT_DOUBLE:
        PutCell<double>(cell, d);
        break;
    case DT_FLOAT:
        PutCell<float>(cell, static_cast<float>(d));
        break;
    case DT_STR:
    case DT_CHAR: {
        const std::wstring text = v.kind == Value::Text   ? v.text
                                  : v.kind == Value::Real ? plat::FormatDouble(v.real)
                                                          : plat::FormatInt64(v.number);
        const std::string ansi = plat::ToAnsi(text);
        std::memcpy(cell, ansi.data(), std::min(ansi.size(), static_cast<std::size_t>(f.Size)));
        break;
    }
    default:
        break; // inner rows are written by the caller; blobs stay zero
    }
}

bool IsBook(const CRecord& record) {
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        const std::wstring& name = record.GetField(c)->Name;
        if (name == L"askprice" || name == L"bidprice")
            return true;
    }
    return false;
}

void WriteFields(const CRecord& record,
                 const Answer& answer,
                 int level,
                 int groupRows,
                 Market& market,
                 std::vector<unsigned char>& out) {
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        const CRecord::CField& f = *record.GetField(c);
        if (f.Type == DT_STRUCT && f.InnerStruct) {
            const int rows = f.InnerStruct->count > 0        ? f.InnerStruct->count
                             : IsBook(f.InnerStruct->record) ? groupRows
                                                             : answer.listRows;
            for (int r = 0; r < rows; ++r)
                WriteFields(f.InnerStruct->record, answer, r, 0, market, out);
            continue;
        }
        if (f.Type == DT_PT_STR) {
            // Only a last variable-length string travels, as the text up to the end.
            if (c == record.GetFieldCount() - 1) {
                const std::string ansi = plat::ToAnsi(ValueOf(f.Name, answer, level, market).text);
                out.insert(out.end(), ansi.begin(), ansi.end());
            }
            continue;
        }
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(f.Size), 0);
        WriteCell(f, ValueOf(f.Name, answer, level, market), out.data() + at);
    }
}

} // namespace

void WriteWireRecord(const CRecord& record,
                     const Answer& answer,
                     int groupRows,
                     Market& market,
                     std::vector<unsigned char>& out) {
    if (answer.instrument)
        WriteFields(record, answer, 0, groupRows, market, out);
}

} // namespace sim
