#include "data/data_source.h"

#include <algorithm>
#include <vector>

namespace {
// The pushed data sources, the current one last.
std::vector<CDataSource*>& Stack() {
    static std::vector<CDataSource*> stack;
    return stack;
}

const CDataSource* Current() {
    const auto& stack = Stack();
    return stack.empty() ? nullptr : stack.back();
}
} // namespace

CDataSource::CDataSource() {
    InitDataSource();
}

CDataSource::CDataSource(XMetaIOData* source) {
    SetDataSource(source);
}

CDataSource::CDataSource(const CDataSource& other)
    : m_pDataSource(other.m_pDataSource), m_nDataRecord(other.m_nDataRecord) {}

CDataSource& CDataSource::operator=(const CDataSource& other) {
    m_pDataSource = other.m_pDataSource;
    m_nDataRecord = other.m_nDataRecord;
    return *this;
}

CDataSource::~CDataSource() {
    if (!m_bPushed)
        return;
    auto& stack = Stack();
    auto own = std::find(stack.rbegin(), stack.rend(), this);
    if (own != stack.rend())
        stack.erase(std::next(own).base());
    if (stack.empty())
        std::vector<CDataSource*>().swap(stack); // screens are built rarely; give the memory back
}

void CDataSource::SetDataSource(XMetaIOData* source) {
    m_pDataSource = source;
    m_nDataRecord = -1;
    if (!m_bPushed) {
        Stack().push_back(this);
        m_bPushed = true;
    }
}

int CDataSource::CurrentRowOf(const XMetaIOData* source) {
    const CDataSource* current = Current();
    return source && current && current->m_pDataSource == source ? current->m_nDataRecord : -1;
}

void CDataSource::InitDataSource() {
    const CDataSource* current = Current();
    m_pDataSource = current ? current->m_pDataSource : nullptr;
    m_nDataRecord = current ? current->m_nDataRecord : -1;
}
