#pragma once
// CMetaItem: one shared field type declared in a metadata file: an id that structure
// fields name instead of writing out a type, the data type, the width in bytes and a
// descriptive text.
#include <string>

#include "data/data_type.h"

class XElement;

class CMetaItem {
public:
    // Reads "id" (required, stored lower case), "type" with "size" through the type keywords,
    // and "text". An item is read once: a second call fails. 1 on success, 0 on failure.
    int SetElement(XElement* e);

    const std::wstring& GetID() const { return m_id; }
    const std::wstring& GetText() const { return m_text; }
    DT_DATA_TYPE GetDataType() const { return m_dataType; }
    int GetDataSize() const { return m_size; }

private:
    std::wstring m_id;
    std::wstring m_text;
    DT_DATA_TYPE m_dataType = DT_NONE;
    int m_size = 0;
};
