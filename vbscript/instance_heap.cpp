#include "vbscript/instance_heap.h"

#include "vbscript/class_instance.h"
#include "vbscript/dictionary.h"

namespace vbs {

void InstanceHeap::Add(Dictionary* dictionary) noexcept {
    dictionary->m_previous = m_lastDictionary;
    (m_lastDictionary ? m_lastDictionary->m_next : m_firstDictionary) = dictionary;
    m_lastDictionary = dictionary;
}

void InstanceHeap::Remove(Dictionary* dictionary) noexcept {
    (dictionary->m_previous ? dictionary->m_previous->m_next : m_firstDictionary) =
        dictionary->m_next;
    (dictionary->m_next ? dictionary->m_next->m_previous : m_lastDictionary) =
        dictionary->m_previous;
}

std::vector<Dictionary*> InstanceHeap::Dictionaries() const {
    std::vector<Dictionary*> dictionaries;
    for (Dictionary* dictionary = m_firstDictionary; dictionary; dictionary = dictionary->m_next)
        dictionaries.push_back(dictionary);
    return dictionaries;
}

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
    for (Dictionary* dictionary = m_firstDictionary; dictionary;) {
        Dictionary* next = dictionary->m_next;
        dictionary->m_heap = nullptr;
        dictionary->m_previous = dictionary->m_next = nullptr;
        dictionary = next;
    }
    m_firstDictionary = m_lastDictionary = nullptr;
}

} // namespace vbs
