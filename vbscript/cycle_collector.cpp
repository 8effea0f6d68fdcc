#include "vbscript/cycle_collector.h"

#include <unordered_map>

#include "vbscript/class_instance.h"
#include "vbscript/dictionary.h"

namespace vbs {

namespace {

// One object or array of the graph and the references to it found inside the graph.
struct Node {
    Object* object; // null for an array
    const Array* array;
    std::uint32_t references;
    std::uint32_t inside = 0;
    std::uint32_t held = 0; // the caller's own references
    bool traced = false;    // its values were followed (false: counted as a leaf)
    bool reachable = false;
    std::size_t edgesBegin = 0;
    std::size_t edgesEnd = 0;
};

// The graph, built by one iterative walk: no recursion however long a chain of objects.
class Graph : public ValueVisitor {
public:
    explicit Graph(const InstanceHeap* owner) : m_owner(owner) {}

    std::size_t Add(Object* object, std::uint32_t held) {
        const std::size_t id = NodeOf(object, nullptr);
        m_nodes[id].held += held;
        return id;
    }

    void Trace() {
        while (!m_pending.empty()) {
            const std::size_t id = m_pending.back();
            m_pending.pop_back();
            m_nodes[id].edgesBegin = m_edges.size();
            if (m_nodes[id].array) {
                const Array& array = *m_nodes[id].array;
                for (std::size_t i = 0; i < array.Size(); ++i)
                    Visit(array.At(i));
                m_nodes[id].traced = true;
            } else if (Follows(*m_nodes[id].object)) {
                m_nodes[id].traced = m_nodes[id].object->VisitValues(*this);
            }
            m_nodes[id].edgesEnd = m_edges.size();
        }
    }

    std::size_t Size() const { return m_nodes.size(); }
    // The object of node `id` when nothing outside the graph reaches it, else null.
    Object* Unreachable(std::size_t id) {
        if (!m_marked)
            Mark();
        return m_nodes[id].reachable ? nullptr : m_nodes[id].object;
    }

    void Visit(const Value& value) override {
        std::size_t id;
        if (value.Type() == VarType::Object && value.AsObject())
            id = NodeOf(value.AsObject(), nullptr);
        else if (value.Type() == VarType::Array)
            id = NodeOf(nullptr, value.AsArray());
        else
            return;
        ++m_nodes[id].inside;
        m_edges.push_back(id);
    }

private:
    // Marks what is held from outside and everything it reaches.
    void Mark() {
        m_marked = true;
        std::vector<std::size_t> work;
        for (std::size_t id = 0; id < m_nodes.size(); ++id) {
            const Node& node = m_nodes[id];
            // A count that does not add up is taken as held from outside: never free on doubt.
            if (!node.traced || node.references != node.inside + node.held)
                work.push_back(id);
        }
        while (!work.empty()) {
            Node& node = m_nodes[work.back()];
            work.pop_back();
            if (node.reachable)
                continue;
            node.reachable = true;
            for (std::size_t e = node.edgesBegin; e < node.edgesEnd; ++e) {
                if (!m_nodes[m_edges[e]].reachable)
                    work.push_back(m_edges[e]);
            }
        }
    }

    // An instance another engine made runs its Class_Terminate there, so it is not ours to
    // free: what it holds stays counted as held from outside.
    bool Follows(const Object& object) const {
        const auto* instance = dynamic_cast<const ClassInstance*>(&object);
        return !instance || instance->Heap() == m_owner;
    }

    std::size_t NodeOf(Object* object, const Array* array) {
        const void* key = object ? static_cast<const void*>(object) : array;
        auto [it, added] = m_ids.try_emplace(key, m_nodes.size());
        if (added) {
            const std::uint32_t references = object ? object->References() : array->References();
            m_nodes.push_back(Node{object, array, references});
            m_pending.push_back(it->second);
        }
        return it->second;
    }

    const InstanceHeap* m_owner;
    std::vector<Node> m_nodes;
    std::vector<std::size_t> m_edges;
    std::vector<std::size_t> m_pending;
    std::unordered_map<const void*, std::size_t> m_ids;
    bool m_marked = false;
};

} // namespace

std::vector<Value> FindUnreachable(const InstanceHeap& heap) {
    Graph graph(&heap);
    for (ClassInstance* instance : heap.Instances())
        graph.Add(instance, 0);
    for (Dictionary* dictionary : heap.Dictionaries())
        graph.Add(dictionary, 0);
    graph.Trace();
    std::vector<Value> unreachable;
    for (std::size_t id = 0; id < graph.Size(); ++id) {
        if (Object* object = graph.Unreachable(id))
            unreachable.push_back(Value::FromObject(object));
    }
    return unreachable;
}

void KeepUnreachable(std::vector<Value>& objects, const InstanceHeap& heap) {
    Graph graph(&heap);
    // Added first, so an object's place in `objects` is its node.
    for (const Value& object : objects)
        graph.Add(object.AsObject(), 1);
    graph.Trace();
    std::size_t kept = 0;
    for (std::size_t id = 0; id < objects.size(); ++id) {
        if (graph.Unreachable(id))
            objects[kept++] = std::move(objects[id]);
    }
    objects.resize(kept);
}

void BreakCycles(std::vector<Value>& objects) {
    std::vector<Value> contents;
    for (Value& object : objects)
        object.AsObject()->ReleaseValues(contents);
    contents.clear();
    objects.clear();
}

} // namespace vbs
