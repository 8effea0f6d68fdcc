#include "vbscript/class_instance.h"

#include "vbscript/script_error.h"

namespace vbs {

namespace {

// Per thread, so counting costs no locked instruction on every New.
[[gnu::tls_model("initial-exec")]] thread_local std::size_t t_live = 0;

} // namespace

std::size_t ClassInstance::LiveCount() {
    return t_live;
}

ClassInstance::ClassInstance(std::shared_ptr<ClassInfo> info,
                             InstanceHeap* heap,
                             std::weak_ptr<InstanceHost> host)
    : m_info(std::move(info)), m_heap(heap), m_host(std::move(host)) {
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
    ++t_live;
    if (m_heap)
        m_heap->Add(this);
}

ClassInstance::~ClassInstance() {
    if (m_heap)
        m_heap->Remove(this);
    --t_live;
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

bool ResolveThroughHost(Object* object, const std::weak_ptr<InstanceHost>& host, Value& out) {
    auto running = host.lock();
    if (!running || !running->resolveDefault)
        return false;
    Value value = Value::FromObject(object);
    running->resolveDefault(value);
    if (value.Type() == VarType::Object && value.AsObject() == object)
        return false;
    out = std::move(value);
    return true;
}

bool ClassInstance::DefaultValue(Value& out) {
    return ResolveThroughHost(this, m_host, out);
}

bool ProcedureRef::DefaultValue(Value& out) {
    return ResolveThroughHost(this, m_host, out);
}

void ClassInstance::LastReleased() noexcept {
    if (!m_terminated && m_info->terminate >= 0 && m_heap && m_heap->TerminatesOn()) {
        m_terminated = true;
        AddRef(); // the queue's reference until Class_Terminate has run
        m_heap->terminating.push_back(this);
        return;
    }
    // Only an instance holding objects or arrays can start a chain of frees; the others
    // skip the list that keeps such chains off the stack.
    for (const Value& field : m_fields) {
        if ((field.Type() == VarType::Object && field.AsObject()) ||
            field.Type() == VarType::Array) {
            DeleteObject(this);
            return;
        }
    }
    delete this;
}

} // namespace vbs
