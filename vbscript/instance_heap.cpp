#include "vbscript/instance_heap.h"

#include "vbscript/class_instance.h"

namespace vbs {

std::vector<ClassInstance*> InstanceHeap::Instances() const {
    std::vector<ClassInstance*> instances;
    instances.reserve(m_live);
    for (ClassInstance* instance = m_first; instance; instance = instance->m_next)
        instances.push_back(instance);
    return instances;
}

void InstanceHeap::StopTerminates() noexcept {
    m_terminatesOn = false;
    // Released one by one: each may let go of others, which are deleted at once now.
    while (!terminating.empty()) {
        ClassInstance* due = terminating.back();
        terminating.pop_back();
        due->Release();
    }
}

void InstanceHeap::Detach() noexcept {
    StopTerminates();
    for (ClassInstance* instance = m_first; instance;) {
        ClassInstance* next = instance->m_next;
        instance->m_heap = nullptr;
        instance->m_previous = instance->m_next = nullptr;
        instance = next;
    }
    m_first = m_last = nullptr;
    m_live = 0;
}

} // namespace vbs
