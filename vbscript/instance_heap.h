#pragma once
// The instances of script classes one engine made and has not freed, oldest first, and
// those whose Class_Terminate is due; also the dictionaries its scripts made. The cycle
// collector starts from them; at the engine's end the ones the host still holds are let
// go, to free themselves later without Class_Terminate.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vbs {

class ClassInstance;
class Dictionary;

class InstanceHeap {
public:
    InstanceHeap() = default;
    InstanceHeap(const InstanceHeap&) = delete;
    InstanceHeap& operator=(const InstanceHeap&) = delete;
    ~InstanceHeap() { Detach(); }

    // Inline: every New and every instance freed passes here.
    inline void Add(ClassInstance* instance) noexcept;
    inline void Remove(ClassInstance* instance) noexcept;

    void Add(Dictionary* dictionary) noexcept;
    void Remove(Dictionary* dictionary) noexcept;

    std::size_t Live() const { return m_live; }
    // Instances made since the engine started, to pace collections by.
    std::uint64_t Made() const { return m_made; }
    // The live instances, oldest first.
    std::vector<ClassInstance*> Instances() const;
    std::vector<Dictionary*> Dictionaries() const;

    // Instances whose last reference went and whose Class_Terminate the VM runs at its next
    // safe point; each holds a reference until then.
    std::vector<ClassInstance*> terminating;
    // Off once the engine ends: an instance released then is deleted at once.
    bool TerminatesOn() const { return m_terminatesOn; }
    // Releases the due ones without running them and stops queueing more.
    void StopTerminates() noexcept;
    // Forgets every instance and dictionary still alive; each frees itself when the host
    // lets go.
    void Detach() noexcept;

private:
    ClassInstance* m_first = nullptr;
    ClassInstance* m_last = nullptr;
    Dictionary* m_firstDictionary = nullptr;
    Dictionary* m_lastDictionary = nullptr;
    std::size_t m_live = 0;
    std::uint64_t m_made = 0;
    bool m_terminatesOn = true;
};

} // namespace vbs
