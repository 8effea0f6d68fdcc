#pragma once
// CFormula: an arithmetic and logical expression over the fields of a structure and over
// named screen objects, compiled once and evaluated against a structure at run time. Formula
// links, update fields of data requests and filters use it.
//
//   infix text --InfixToPostfix--> postfix text --SetPostfix--> tokens --Evaluate--> m_R0
//
// Evaluation runs the tokens on a value stack in the formula's precision. Every successful
// evaluation shifts the three process-wide result registers (m_R2 := m_R1, m_R1 := m_R0) and
// leaves its result in m_R0, which expressions read back as "_R0", "_R1" and "_R2".
#include <memory>
#include <string>
#include <vector>

#include "data/meta_io_data.h"
#include "data/variant.h"
#include "nubra/ixo_ref.h"

class CFormula {
public:
    enum PRECISION : int {
        PRECISION_INT = 0,
        PRECISION_INT64 = 1,
        PRECISION_DOUBLE = 2,
        PRECISION_STRING = 3,
    };
    // Longer expressions are refused rather than run on a bigger stack: formulas come from
    // screen files, and 64 entries are far more than any screen needs.
    static constexpr std::size_t MAX_ENTRIES = 64;
    static constexpr std::size_t MAX_STACK = 64;

    class CToken {
    public:
        enum KIND : int {
            FIELD = 0,    // field of the evaluated structure
            CONSTANT = 1, // number, or text in string precision
            OPERATOR = 2,
            REGISTER = 3, // "_R0", "_R1", "_R2"
            OBJECT = 4,   // named object, read through GetData
            IO_FIELD = 5, // field of a named IO data object
        };

        // Objects are held weakly: a formula outlives a closed screen's objects safely.
        XDO* Object() const { return static_cast<XDO*>(object.Get()); }
        XMetaIOData* IOData() const { return static_cast<XMetaIOData*>(ioData.Get()); }

        KIND kind = CONSTANT;
        std::vector<int> currentPath;  // FIELD, IO_FIELD: with the row offsets applied
        std::vector<int> compiledPath; // FIELD: as compiled
        CVariant constant;
        int operatorCode = 0;
        int registerNumber = 0;
        std::wstring name; // OBJECT: the name to link; CONSTANT: the text as written
        orvo::IXORef object;
        orvo::IXORef ioData;
    };

    CFormula();
    CFormula(const CFormula&) = delete;
    CFormula& operator=(const CFormula&) = delete;
    virtual ~CFormula();

    // Converts, then compiles. A text that does not convert, or that gives more than
    // MAX_ENTRIES items, is shown as "Formula Parse Error : " and the text, and gives 0.
    int SetFormula(XMetaIOData* s, const std::wstring& infix);
    // Compiles; field names resolve against `s` (which may be null). 0, with no tokens left,
    // when the text has more than MAX_ENTRIES items.
    int SetPostfix(XMetaIOData* s, const std::wstring& postfix);
    // Constants already compiled are converted again for the new precision.
    void SetPrecision(PRECISION precision);
    PRECISION GetPrecision() const { return m_precision; }
    // Resolves the named objects from `owner`; names that resolve to nothing are shown once
    // as "Unknown Formula Item : " and the name, and read as 0.
    void LinkObject(XDO* owner);
    // Moves field references to other rows: a negative `row` leaves the outer rows alone, and
    // the inner row changes only with both `innerRow` and `innerField` given.
    void ChangeFieldRow(int row, int innerRow, int innerField);

    // 1 on success; 0 on a zero divisor, too few operands, or a final stack other than one
    // value, with the registers unchanged.
    int Evaluate(XMetaIOData* s, CVariant& out);
    // The result as "%d", "%I64d", "%f" or the text itself.
    int Evaluate(XMetaIOData* s, std::wstring& out);
    // Never fails: a failed evaluation yields the precision's zero, in `out` and in m_R0.
    int EvaluateNE(XMetaIOData* s, std::wstring& out);

    const std::vector<std::unique_ptr<CToken>>& GetTokens() const { return m_tokens; }

    static CVariant m_R0;
    static CVariant m_R1;
    static CVariant m_R2;

protected:
    // Each leaves its result in m_R0.
    int EvaluateInt(XMetaIOData* s);
    int EvaluateInt64(XMetaIOData* s);
    int EvaluateDouble(XMetaIOData* s);
    int EvaluateStr(XMetaIOData* s);

private:
    static void ShiftRegisters();
    // Runs in the precision of T; on success shifts the registers and sets m_R0.
    template <class T> int EvaluateAs(XMetaIOData* s, T& result);
    // Evaluate for either form of the result.
    template <class Out> int EvaluateInto(XMetaIOData* s, Out& out);
    void ConvertConstant(CToken& token) const;
    std::unique_ptr<CToken> Compile(XMetaIOData* s, const std::wstring& item) const;

    PRECISION m_precision = PRECISION_INT;
    std::vector<std::unique_ptr<CToken>> m_tokens; // in postfix order
};
