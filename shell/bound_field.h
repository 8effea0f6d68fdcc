#pragma once
// BoundField: the cell a shell object shows or edits through its XUI binding ("Data" and
// "Field"): the bound field in the first row of a data source of the object's own, or in the
// row that was current when the object was created under its container's source.
#include <string>

class CFormat;
class XUI;

namespace orvo {

class BoundField {
public:
    // Called just before XUI::CreateInstance, while the container's row is still current.
    void NoteCreationRow();
    // After creation: the object hears of its data source's changes (OnNotifierChanged).
    static void Listen(XUI& object);

    // False when no known field of a live source is bound, or the cell cannot be read.
    bool Read(const XUI& object, std::wstring& out) const;
    // False when nothing is bound or the source refuses the value; a written value is told
    // to the source's listeners.
    bool Write(const XUI& object, const std::wstring& value) const;
    // The bound field's own format from the data layer; null when it has none.
    static const CFormat* FieldFormat(const XUI& object);

private:
    int Row(const XUI& object) const;

    int m_creationRow = -1;
};

} // namespace orvo
