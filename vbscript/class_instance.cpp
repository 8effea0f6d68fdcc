#include "vbscript/class_instance.h"

#include "vbscript/script_error.h"

namespace vbs {

ClassInstance::ClassInstance(std::shared_ptr<ClassInfo> info, std::weak_ptr<InstanceHost> host)
    : m_info(std::move(info)), m_host(std::move(host)) {
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
    if (!m_terminated && m_info->terminate >= 0) {
        if (auto host = m_host.lock()) {
            m_terminated = true;
            AddRef(); // the queue's reference until Class_Terminate has run
            host->terminating.push_back(this);
            return;
        }
    }
    delete this;
}

} // namespace vbs
