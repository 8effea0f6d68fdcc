#pragma once
// CDataSource: which IO data object, and which row of it, an object shows. While a screen is
// built, a container with data of its own establishes a data source (a pushed CDataSource);
// every object made meanwhile takes a CDataSource without arguments and so inherits the
// current data source and row. The pushed ones form a process-wide stack of the UI thread.
//
// In normal use pushes and pops nest strictly, but the stack never holds a destroyed entry:
// - a pushed object removes its own entry when destroyed, wherever it is in the stack, so
//   destruction out of order leaves the others current in their order;
// - a copy takes the data source and row, never the entry: only the object that pushed is
//   ever pushed, so each entry is removed exactly once;
// - assignment copies the data source and row; the object assigned to keeps its own entry
//   (if it had one) in place;
// - SetDataSource on an object already pushed changes what it offers and keeps its place;
//   it is never in the stack twice.
class XMetaIOData;

class CDataSource {
public:
    // The current data source and row; none (null, -1) when nothing is current.
    CDataSource();
    // Becomes the current data source, at row -1, until destroyed.
    explicit CDataSource(XMetaIOData* source);
    CDataSource(const CDataSource& other);
    CDataSource& operator=(const CDataSource& other);
    virtual ~CDataSource();

    void SetDataSource(XMetaIOData* source);
    // Takes the current data source and row again.
    void InitDataSource();
    XMetaIOData* GetDataSource() const { return m_pDataSource; }
    int GetDataRecord() const { return m_nDataRecord; }
    void SetDataRecord(int row) { m_nDataRecord = row; }
    // True for a real row (not -1) of a set data source.
    bool IsValid(int row) const { return m_pDataSource && row != -1; }
    bool IsPushed() const { return m_bPushed; }
    // The row the current entry sets for `source`: -1 when another source is current, or when
    // no row is set. A container painting many rows (a grid) sets one after another.
    static int CurrentRowOf(const XMetaIOData* source);

private:
    XMetaIOData* m_pDataSource = nullptr; // not owned
    int m_nDataRecord = -1;
    bool m_bPushed = false;
};
