#pragma once
// Display formats of data values: number pictures in the spreadsheet manner ("#,##0.00",
// "+0.00;-0.00;0", "[S2]#,##0.00"), date and time masks over "YYYYMMDD" and "HHMMSS"
// texts ("YYYY/MM/DD", "HH:MM"), and text templates ("Code @"). nubra/README.md describes
// the language with examples.
//
// GetString runs for every painted cell, so SetFormat compiles the text once and GetString
// works on the decimal text of the value directly: any number of digits, no binary rounding.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// One ';'-separated part of a number picture, compiled.
struct NumberPicture {
    std::wstring prefix;
    std::wstring suffix;
    bool hasDigits = false; // false: the part is literal text only
    bool grouping = false;  // ',' among the integer placeholders
    bool percent = false;   // an unquoted '%': the value is shown times 100
    int minIntegerDigits = 0;
    int fixedDecimals = 0;
    int optionalDecimals = 0;
};

enum class MaskField : unsigned char {
    Literal,
    Year4,
    Year2,
    Month,
    Day,
    Hour,
    Minute,
    Second,
    Value, // the whole value text ('@' of a text template)
};

struct MaskPiece {
    MaskField field = MaskField::Literal;
    std::wstring literal;
};

} // namespace orvo

class CFormat {
public:
    CFormat() = default;
    explicit CFormat(std::wstring_view format);

    void SetFormat(std::wstring_view format);
    // The format compiled once per distinct text and shared: a screen repeats a handful of
    // formats over thousands of objects.
    static std::shared_ptr<const CFormat> Compiled(std::wstring_view format);
    // The value shown through the format. A value the format cannot read (not a number for a
    // number picture, not a date or time for a mask) comes back unchanged.
    std::wstring GetString(std::wstring_view value) const;

private:
    enum class Kind : unsigned char { PassThrough, Number, Mask, Text };

    std::wstring FormatNumber(std::wstring_view value) const;
    std::wstring FormatMask(std::wstring_view value) const;
    std::wstring FormatText(std::wstring_view value) const;

    Kind m_kind = Kind::PassThrough;
    int m_scale = 0; // "[Sn]": the value is divided by 10^n
    // Positive, negative, zero; the last two only when written.
    orvo::NumberPicture m_sections[3];
    int m_sectionCount = 0;
    std::vector<orvo::MaskPiece> m_pieces;
    bool m_maskHasDate = false;
    bool m_maskHasTime = false;
};
