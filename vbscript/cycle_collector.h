#pragma once
// Finds the objects that only reference cycles keep alive, by trial deletion: starting from
// some objects, it follows the values they hold (instances' fields, dictionaries' keys and
// items, arrays' elements) and subtracts from each object's reference count the references
// found that way. What is left is held from outside the graph: a global, the VM's stacks
// and frames (With, For Each), a value the host keeps, a host object, a due Class_Terminate.
// Those objects and everything they reach survive; the rest is unreachable.
//
// It never needs to know the roots, so nothing a host holds can be missed; it only needs
// every reference an object holds to be counted, which Value guarantees.
#include <vector>

#include "vbscript/value.h"

namespace vbs {

class InstanceHeap;

// The objects among `heap`'s instances and dictionaries and what they reach that nothing
// outside reaches, the oldest instance first, each with a reference the caller now holds. Instances
// of another engine are not followed: what they hold counts as held from outside.
std::vector<Value> FindUnreachable(const InstanceHeap& heap);

// Takes out of `objects` (an earlier answer, still held by the caller) those that something
// outside reaches now, as after a Class_Terminate stored its instance in a global.
void KeepUnreachable(std::vector<Value>& objects, const InstanceHeap& heap);

// Empties each of `objects` (all unreachable, and held by the caller), so that dropping
// them frees them: the values they held are released after every one was emptied.
void BreakCycles(std::vector<Value>& objects);

} // namespace vbs
