#pragma once
// CVariant: the one value type of the data model. A type code and an 8-byte slot hold a
// number, a character, a truth value or a string. A DT_STR string is owned by the variant; a
// DT_PT_STR string is borrowed (it lives in a record) and is never freed here. Numbers never
// allocate, so reading cells through variants stays cheap.
//
// Conversions are fixed per source type; a getter that has no answer returns false and
// leaves its out-parameter alone. Text forms and number parsing never depend on the locale.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/data_type.h"

class CVariant {
public:
    CVariant() noexcept = default;
    CVariant(int value) noexcept : m_type(DT_INT) { m_value.i32 = value; }
    CVariant(unsigned int value) noexcept : m_type(DT_UINT) { m_value.u32 = value; }
    // A null pointer leaves the variant null.
    CVariant(const wchar_t* text) { SetString(text); }
    CVariant(const CVariant& source) { Set(source); }
    // Takes over an owned string (the source is left null); other values are copied.
    CVariant(CVariant&& source) noexcept;
    CVariant& operator=(const CVariant& source);
    CVariant& operator=(CVariant&& source) noexcept;
    virtual ~CVariant();

    // ---- setters: each releases an owned string first ----------------------------------------
    bool SetNull() noexcept;
    bool SetInt(int value) noexcept;
    bool SetUInt(unsigned int value) noexcept;
    bool SetBool(int value) noexcept; // stores 1 for any non-zero value
    bool SetDouble(double value) noexcept;
    bool SetFloat(float value) noexcept;
    bool SetChar(char value) noexcept;
    bool SetInt64(std::int64_t value) noexcept;
    // An owned string is reused, so refilling a variant with text does not reallocate.
    // A null pointer returns false and keeps the previous value.
    bool SetString(const wchar_t* text);
    bool SetString(std::wstring_view text);
    // Borrows the string; the caller keeps it alive while the variant refers to it.
    // A null pointer returns false and keeps the previous value.
    bool SetPtStr(std::wstring* text) noexcept;
    // Copies the source's value (the text of DT_STR, the pointer of DT_PT_STR). A null
    // source returns false; an owned string of this variant is dropped all the same.
    bool Set(const CVariant& source);

    // ---- conversions: false when there is none, `out` then untouched ---------------------------
    bool GetInt(int& out) const;
    bool GetUInt(unsigned int& out) const;
    bool GetBool(int& out) const;
    bool GetDouble(double& out) const;
    bool GetFloat(float& out) const;
    bool GetChar(char& out) const;
    bool GetInt64(std::int64_t& out) const;
    bool GetPtStr(std::wstring*& out) const; // DT_PT_STR only
    // The text form: "%d", "%u", "%I64d", "%f", "%c", "true"/"false", or the string itself.
    bool Get(std::wstring& out) const;
    bool GetString(std::wstring& out) const { return Get(out); }

    // ---- the same by value, with a fixed answer when there is no conversion --------------------
    int GetInt() const;
    unsigned int GetUInt() const;
    int GetBool() const;
    double GetDouble() const;
    float GetFloat() const;
    std::int64_t GetInt64() const;
    char GetChar() const; // a blank when there is none
    // The string of DT_STR and DT_PT_STR, else null.
    const std::wstring* GetRawString() const noexcept;
    DT_DATA_TYPE GetType() const noexcept { return m_type; }

    // Same type and same value; no conversion is ever tried. DT_PT_STR compares the borrowed
    // pointers, DT_STR the texts. A null variant equals only itself.
    bool operator==(const CVariant& other) const noexcept;

private:
    void ReleaseString() noexcept;
    template <class F> bool GetFloating(F& out) const;

    DT_DATA_TYPE m_type = DT_NONE;
    union Slot {
        std::int64_t i64; // first, so that a fresh slot is all zero
        int i32;          // DT_INT, DT_BOOL (0 or 1)
        unsigned int u32;
        double f64;
        float f32;
        char ch;
        std::wstring* text; // DT_STR owned, DT_PT_STR borrowed
    } m_value{};
};

// The setters are on the path of every cell write, so they stay inline.

inline void CVariant::ReleaseString() noexcept {
    if (m_type == DT_STR) {
        delete m_value.text;
        m_type = DT_NONE;
    }
}

inline bool CVariant::SetNull() noexcept {
    ReleaseString();
    m_type = DT_NONE;
    return true;
}

inline bool CVariant::SetInt(int value) noexcept {
    ReleaseString();
    m_type = DT_INT;
    m_value.i32 = value;
    return true;
}

inline bool CVariant::SetUInt(unsigned int value) noexcept {
    ReleaseString();
    m_type = DT_UINT;
    m_value.u32 = value;
    return true;
}

inline bool CVariant::SetBool(int value) noexcept {
    ReleaseString();
    m_type = DT_BOOL;
    m_value.i32 = value != 0 ? 1 : 0;
    return true;
}

inline bool CVariant::SetDouble(double value) noexcept {
    ReleaseString();
    m_type = DT_DOUBLE;
    m_value.f64 = value;
    return true;
}

inline bool CVariant::SetFloat(float value) noexcept {
    ReleaseString();
    m_type = DT_FLOAT;
    m_value.f32 = value;
    return true;
}

inline bool CVariant::SetChar(char value) noexcept {
    ReleaseString();
    m_type = DT_CHAR;
    m_value.ch = value;
    return true;
}

inline bool CVariant::SetInt64(std::int64_t value) noexcept {
    ReleaseString();
    m_type = DT_INT64;
    m_value.i64 = value;
    return true;
}

inline bool CVariant::SetString(const wchar_t* text) {
    return text ? SetString(std::wstring_view(text)) : false;
}

inline bool CVariant::SetString(std::wstring_view text) {
    if (m_type == DT_STR) {
        m_value.text->assign(text);
    } else {
        m_value.text = new std::wstring(text);
        m_type = DT_STR;
    }
    return true;
}

inline bool CVariant::SetPtStr(std::wstring* text) noexcept {
    if (!text)
        return false;
    ReleaseString();
    m_type = DT_PT_STR;
    m_value.text = text;
    return true;
}

inline const std::wstring* CVariant::GetRawString() const noexcept {
    return m_type == DT_STR || m_type == DT_PT_STR ? m_value.text : nullptr;
}
