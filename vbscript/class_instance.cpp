#include "vbscript/class_instance.h"

#include "vbscript/script_error.h"

namespace vbs {

std::atomic<std::size_t> ClassInstance::s_live{0};

ClassInstance::ClassInstance(std::shared_ptr<ClassInfo> info, InstanceHeap* heap)
    : m_info(std::move(info)), m_heap(heap) {
    m_fields.reserve(m_info->fields.size());
    for (const ClassInfo::Field& field : m_info->fields) {
        if (field.upperBounds.empty()) {
            m_fields.push_back(field.initial);
            continue;
        }
        std::vector<Array::Bound> bounds;
        for (std::int32_t upper : field.upperBounds)
            bounds.push_back(Array::Bound{0, upper + 1});
        m_fields.push_back(Value::FromArray(Array::Create(bounds)));
    }
    s_live.fetch_add(1, std::memory_order_relaxed);
    if (m_heap)
        m_heap->Add(this);
}

ClassInstance::~ClassInstance() {
    if (m_heap)
        m_heap->Remove(this);
    s_live.fetch_sub(1, std::memory_order_relaxed);
}

bool ClassInstance::VisitValues(ValueVisitor& visitor) const {
    for (const Value& field : m_fields)
        visitor.Visit(field);
    return true;
}

void ClassInstance::ReleaseValues(std::vector<Value>& into) {
    for (Value& field : m_fields)
        into.push_back(std::move(field));
}

bool ClassInstance::TakeTerminate() noexcept {
    if (m_terminated || m_info->terminate < 0)
        return false;
    m_terminated = true;
    return true;
}

void ClassInstance::LastReleased() noexcept {
    if (!m_terminated && m_info->terminate >= 0 && m_heap && m_heap->TerminatesOn()) {
        m_terminated = true;
        AddRef(); // the queue's reference until Class_Terminate has run
        m_heap->terminating.push_back(this);
        return;
    }
    DeleteObject(this);
}

} // namespace vbs
