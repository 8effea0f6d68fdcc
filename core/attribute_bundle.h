#pragma once
// What the parser needs from a named attribute set entry: its default attributes. The
// object "AttributeSet" answers "GetAttributeByName" (declared IXO*(const wchar_t*)) with an
// object implementing this interface, or null when no bundle has that name.
#include "platform/base/string_map.h"

namespace orvo {

class AttributeBundle {
public:
    virtual const CMapStringToString& GetBundle() const = 0;

protected:
    ~AttributeBundle() = default;
};

} // namespace orvo
