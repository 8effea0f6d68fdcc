#pragma once
// XData ("Data"): a named list of typed columns declared in markup, one "this.Field" child
// per column. It holds no rows of its own; GetText only names the cell asked for.
#include <memory>
#include <string>
#include <vector>

#include "core/xdo.h"

// One column of a "Data" element. Its type is numbered as COM VARIANT types are, because
// that is what the columns were declared for.
class CField {
public:
    enum : int {
        TypeNone = 0,
        TypeInteger = 3,   // "Integer"
        TypeDouble = 5,    // "Double"
        TypeString = 8,    // "String"
        TypeBoolean = 11,  // "Boolean"
        TypeUInteger = 19, // "UInteger"
    };

    CField() = default;
    CField(const CField&) = default;
    CField& operator=(const CField&) = default;
    virtual ~CField() = default;

    // Reads "Name" and "Type"; a type keyword it does not know gives TypeNone. 0 only
    // without an element.
    int SetElement(XElement* e);

    std::wstring Name;
    int Type = TypeNone;
};

class XData : public XDO {
public:
    ORVO_KEY(L"Data")
    // "Field" declares a column; other declarations go to the object base.
    int SetMethod(const wchar_t* name, XElement* e) override;

    // The first column of that name (without case), else -1.
    int GetFieldIndex(const wchar_t* name) const;
    // "R <row>, F <field>", kept in the object until the next call.
    const wchar_t* GetText(int row, int field);
    const std::vector<std::unique_ptr<CField>>& GetFields() const { return m_fields; }

private:
    std::wstring m_text;
    std::vector<std::unique_ptr<CField>> m_fields; // in declaration order
};
