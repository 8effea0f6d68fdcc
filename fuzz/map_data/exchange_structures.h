#pragma once
// Shared by the received-data fuzz targets: the structures an input maps into, picked by its
// first byte, the record count its second byte stands for, and the read-back of every cell
// and every dump afterwards.
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/inner_struct.h"
#include "data/struct.h"
#include "fuzz_support.h"
#include "object_fuzz_support.h"

namespace orvo::fuzz {

inline constexpr const char* kExchangeStructures[] = {
    // fixed fields of every type
    R"(<structure Name="S"><this.field item="code" type="String" size="4"/>
        <this.field item="n" type="Integer"/><this.field item="c" type="Char"/>
        <this.field item="d" type="Double"/><this.field item="l" type="Integer64"/>
        <this.field item="b" type="Boolean"/><this.field item="f" type="Float"/>
        <this.field item="u" type="UInteger"/></structure>)",
    R"(<structure Name="S" type="dynamic" count="3">
        <this.field item="account" type="String" size="10"/>
        <this.field item="n" type="Integer" value="5"/></structure>)",
    R"(<structure Name="S" count="0" MaxRow="4"><this.field item="n" type="Integer"/>
        <this.field item="code" type="String" size="3"/></structure>)",
    // variable-length strings, last or not
    R"(<structure Name="S"><this.field item="n" type="Integer"/>
        <this.field item="t" type="String" value="x"/></structure>)",
    R"(<structure Name="S" type="dynamic"><this.field item="t" type="String"/>
        <this.field item="n" type="Integer"/><this.field item="u" type="String"/></structure>)",
    // repeating groups, last and followed by fields, a fixed nested structure
    R"(<structure Name="S"><this.field item="code" type="String" size="6"/>
        <this.field item="n" type="Integer"/><structure Name="og" count="0">
        <this.field item="x" type="Integer"/><this.field item="y" type="String" size="2"/>
        </structure></structure>)",
    R"(<structure Name="S" type="dynamic"><this.field item="t" type="String"/>
        <structure Name="og" count="0"><this.field item="x" type="Integer"/>
        <this.field item="y" type="String" size="4"/></structure>
        <this.field item="tail" type="String" size="4"/></structure>)",
    R"(<structure Name="S" MaxRow="2"><structure Name="og" count="0">
        <this.field item="c" type="Char"/></structure><this.field item="n" type="Integer"/>
        <this.field item="m" type="Integer"/></structure>)",
    R"(<structure Name="S" count="2"><structure Name="fixed" count="2">
        <this.field item="x" type="Double"/></structure>
        <this.field item="b" type="Boolean"/></structure>)",
    // blobs, alone and with other fields
    R"(<structure Name="S"><this.field item="b" type="Blob" size="3"/></structure>)",
    R"(<structure Name="S"><this.field item="n" type="Integer"/>
        <this.field item="b" type="Blob"/></structure>)",
    // fixed fields of every type, a fixed nested structure among them, then a variable-length
    // string: received through the typed setters rather than as whole records
    R"(<structure Name="S"><this.field item="code" type="String" size="4"/>
        <this.field item="n" type="Integer"/><this.field item="u" type="UInteger"/>
        <this.field item="b" type="Boolean"/><this.field item="d" type="Double"/>
        <this.field item="f" type="Float"/><this.field item="c" type="Char"/>
        <this.field item="l" type="Integer64"/><structure Name="pair" count="2">
        <this.field item="x" type="Integer"/><this.field item="on" type="Boolean"/></structure>
        <this.field item="t" type="String"/></structure>)",
};

// A fresh structure for one input, owned by the returned page.
inline orvo::XDOPtr MakeExchangeStructure(std::uint8_t pick) {
    static SilentPresenter silent;
    static XMLParser parser;
    XNoticeMan::Instance().SetPresenter(&silent);
    constexpr std::size_t count = std::size(kExchangeStructures);
    XElement* root = nullptr;
    if (!parser.ParseMemory(kExchangeStructures[pick % count], &root))
        return nullptr;
    return orvo::XDOPtr(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
}

// Mostly small counts, sometimes the extremes a hostile sender could claim.
inline int RecordsFrom(std::uint8_t code) {
    switch (code) {
    case 255:
        return INT_MAX;
    case 254:
        return INT_MIN;
    case 253:
        return 1 << 20;
    default:
        return code % 16 - 2;
    }
}

// Reads every cell (inner rows included) and every dump; the rows must stay consistent.
inline void ReadBack(XStruct& s) {
    std::wstring text;
    const int rows = s.GetRows();
    for (int r = 0; r < rows && r < 64; ++r) {
        for (int c = 0; c < s.GetFieldCount(); ++c) {
            s.GetVal(r, c, text);
            const CRecord::CField* f = s.GetRecord().GetField(c);
            if (f->Type != DT_STRUCT || !f->InnerStruct)
                continue;
            for (int i = 0; i <= s.GetISCnt(c) && i < 64; ++i) {
                for (int j = 0; j < f->InnerStruct->record.GetFieldCount(); ++j)
                    s.GetVal(std::vector<int>{r, c, i, j}, text);
            }
        }
    }
    std::vector<unsigned char> bytes;
    if (s.DumpRecord(bytes) && !s.HasPointerField())
        Check(bytes.size() == static_cast<std::size_t>(s.GetRecordSize()));
    s.DumpDelimiterRecord(bytes, '|');
    std::vector<std::vector<std::wstring>> texts;
    s.DumpFormat(texts);
    Check(texts.size() == static_cast<std::size_t>(s.ISMem() ? rows : 0));
}

} // namespace orvo::fuzz
