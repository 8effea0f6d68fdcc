#pragma once
// The parts of a table (XTable): a row or column with its size expression (CRowColInfo), a
// grid position holding a cell (CTableItem), a set of separator lines (CTableLine) and the
// listener a grid attaches to follow the table (CTableListener).
#include <vector>

#include "platform/base/colorref.h"
#include "ui/pos_ex.h"

class XElement;
class XTable;
class XUI;

// One row or column. The size expression is the CPosEx part; unset (unit -1) is automatic,
// and the resolved size is its position.
class CRowColInfo : public CPosEx {
public:
    // "Gap", "MinSize", "GripSize", "GripWeight", "Show", "Resize", "Resizable", "Swap".
    void SetElement(const XElement* e);
    bool IsAutomatic() const { return GetScale() == SCALE_UNSET; }
    bool IsPixels() const { return GetScale() == SCALE_PX; }
    bool IsPercent() const { return GetScale() == SCALE_PERCENT; }
    // The resolved size and where the entry starts from the table's inner edge.
    int Size() const { return GetPos(); }
    void SetSize(int size) { SetPos(size, GetScale(), GetValue()); }
    // Where the entry ends: its position plus its size while shown, saturated.
    int End() const;
    // The written size ("Auto" or an expression); false when it cannot be read.
    bool SetSizeText(const wchar_t* text);

    int gap = 0;
    int position = 0;
    int minSize = 0;
    int gripSize = 7;
    int gripWeight = 2;
    bool shown = true;
    bool resize = false;
    bool resizable = true;
    bool swap = false;
};

struct CTableItem {
    int rowSpan = 1;
    int colSpan = 1;
    XUI* cell = nullptr;
};

// Separator lines across a range of the other axis, one after each listed row (or column).
struct CTableLine {
    struct Position {
        bool valid = false;
        int index = 0;
        int coordinate = 0;
    };
    int from = 0;
    int to = -1; // the last
    int start = 0;
    int end = 0;
    int penStyle = 0;
    int weight = 1;
    COLORREF colour = RGB(192, 192, 192);
    std::vector<Position> positions;
};

class CTableListener {
public:
    virtual ~CTableListener() = default;
    virtual void OnTableDragEnd(XTable* table) = 0;
    virtual void OnTableRecalc(XTable* table) = 0;
};
