#pragma once
// tree_node<T>: the object tree. A node owns its first child and its next sibling. Every
// walk here uses an explicit stack, so chains of 100,000 siblings or deeply nested screens
// never exhaust the call stack.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/tree_scan.h"

template <class T> class tree_node {
public:
    using ScanInfo = TREE_SCAN_INFO<T>;

    tree_node() = default;
    tree_node(const tree_node&) = delete;
    tree_node& operator=(const tree_node&) = delete;

    // Deletes the next sibling and the first child. A node being deleted sees its children
    // still linked while its own destructor body runs; the nodes below are then deleted in
    // the order a recursive delete would use (later siblings before children), each already
    // detached from the parent that went before it.
    virtual ~tree_node() {
        // The children outlive this node for a moment; they must not climb back into it.
        for (T* c = m_pChild; c; c = c->m_pNext)
            c->m_pParent = nullptr;
        if (s_draining) {
            if (m_pChild)
                s_draining->push_back(m_pChild);
            if (m_pNext)
                s_draining->push_back(m_pNext);
            return;
        }
        std::vector<T*> pending;
        if (m_pChild)
            pending.push_back(m_pChild);
        if (m_pNext)
            pending.push_back(m_pNext);
        if (pending.empty())
            return;
        s_draining = &pending;
        while (!pending.empty()) {
            T* node = pending.back();
            pending.pop_back();
            delete node;
        }
        s_draining = nullptr;
    }

    T* parent() const { return m_pParent; }
    T* child() const { return m_pChild; }
    T* next() const { return m_pNext; }
    T* self() { return static_cast<T*>(this); }
    const T* self() const { return static_cast<const T*>(this); }

    T* top_node() {
        T* node = self();
        while (node->m_pParent)
            node = node->m_pParent;
        return node;
    }

    T* previous() const {
        if (!m_pParent)
            return nullptr;
        T* prev = nullptr;
        for (T* c = m_pParent->m_pChild; c && c != self(); c = c->m_pNext)
            prev = c;
        return prev;
    }

    // Sets the child's parent and appends it (with any siblings it carries) to the chain.
    // A node already parented here is taken as linked.
    void AddChild(T* node) {
        if (!node || node == self() || node->m_pParent == self())
            return;
        // Appending is constant time while the remembered last child is still the last.
        T* last = m_pLastChild && !m_pLastChild->m_pNext && m_pLastChild->m_pParent == self() ? m_pLastChild : nullptr;
        if (!last && m_pChild) {
            last = m_pChild;
            while (last->m_pNext)
                last = last->m_pNext;
        }
        (last ? last->m_pNext : m_pChild) = node;
        for (T* n = node; n; n = n->m_pNext) {
            n->m_pParent = self();
            m_pLastChild = n;
        }
    }

    // Unlinks this node from its parent; `replacement` (a lone node) takes its place with the
    // same parent and next sibling. With `remove` the node is deleted (with its subtree) and
    // null returned; otherwise the detached node comes back without parent or sibling.
    T* extract_node(int remove, T* replacement) {
        if (m_pParent) {
            m_pParent->m_pLastChild = nullptr;
            T** slot = &m_pParent->m_pChild;
            while (*slot && *slot != self())
                slot = &(*slot)->m_pNext;
            if (*slot) {
                if (replacement && replacement != self()) {
                    replacement->m_pParent = m_pParent;
                    replacement->m_pNext = m_pNext;
                    *slot = replacement;
                } else {
                    *slot = m_pNext;
                }
            }
        }
        m_pParent = nullptr;
        m_pNext = nullptr;
        if (remove) {
            delete self();
            return nullptr;
        }
        return self();
    }

    // The nearest node, this one included, going up, for which pred(node) holds.
    template <class P> T* find_parent(P pred) {
        for (T* node = self(); node; node = node->m_pParent) {
            if (pred(node))
                return node;
        }
        return nullptr;
    }

    // The first node of this subtree in pre-order (this node first) for which pred holds:
    // the first child's walk with its siblings covers exactly the rest of the subtree.
    template <class P> T* find_first(P pred) {
        if (pred(self()))
            return self();
        return m_pChild ? m_pChild->find_down(pred) : nullptr;
    }

    // Pre-order over this node, its subtree and its following siblings with theirs.
    template <class P> T* find_down(P pred) {
        std::vector<T*> pending{self()};
        while (!pending.empty()) {
            T* node = pending.back();
            pending.pop_back();
            if (pred(node))
                return node;
            if (node->m_pNext)
                pending.push_back(node->m_pNext);
            if (node->m_pChild)
                pending.push_back(node->m_pChild);
        }
        return nullptr;
    }

    // The first node in ScanTreeDown's visiting order for which pred holds, without the
    // phases and permissions of a scan: the searches by name and key run on this path.
    template <class P> T* find_near(P pred) {
        struct Entry {
            T* node;
            int kind; // 0 walk a chain from node, 1 visit node, 2 climb from node
            T* stopBefore;
        };
        std::vector<Entry> pending{{self(), 2, nullptr}, {self(), 0, nullptr}};
        while (!pending.empty()) {
            Entry e = pending.back();
            pending.pop_back();
            T* node = e.node;
            if (e.kind == 1) {
                if (pred(node))
                    return node;
            } else if (e.kind == 0) {
                pending.push_back({node, 1, nullptr});
                if (node->m_pNext && node->m_pNext != e.stopBefore)
                    pending.push_back({node->m_pNext, 0, e.stopBefore});
                if (node->m_pChild)
                    pending.push_back({node->m_pChild, 0, nullptr});
            } else if (T* up = node->m_pParent) {
                pending.push_back({up, 2, nullptr});
                pending.push_back({up, 1, nullptr});
                if (up->m_pNext)
                    pending.push_back({up->m_pNext, 0, nullptr});
                if (up->m_pChild != node)
                    pending.push_back({up->m_pChild, 0, node});
            }
        }
        return nullptr;
    }

    // The elders: this node, its earlier siblings nearest first, then the parent and the
    // parent's earlier siblings, and so on up. Stops at the first node for which fn is true.
    template <class F> T* ScanTreeElder(F fn) {
        T* node = self();
        while (node) {
            T* parentNode = node->m_pParent;
            std::vector<T*> earlier;
            if (parentNode) {
                for (T* c = parentNode->m_pChild; c && c != node; c = c->m_pNext)
                    earlier.push_back(c);
            }
            if (fn(node))
                return node;
            for (auto it = earlier.rbegin(); it != earlier.rend(); ++it) {
                if (fn(*it))
                    return *it;
            }
            node = parentNode;
        }
        return nullptr;
    }

    // Walks in four orders; each returns info.result.
    //   ScanTree:     children, the node, the next siblings; then, if allowed, climbs
    //   ScanTreeSCNP: the node, children, next siblings; then climbs
    //   ScanTreeNCSP: next siblings, children, the node; then climbs
    //   ScanTreeDown: children, next siblings, the node; then climbs, at each ancestor walking
    //                 the children before the one it came from, its later siblings, itself.
    // A subtree entered from above is never left upwards, and no subtree is walked twice.
    T* ScanTree(ScanInfo& info) { return Scan(info, "CSN"); }
    T* ScanTreeSCNP(ScanInfo& info) { return Scan(info, "SCN"); }
    T* ScanTreeNCSP(ScanInfo& info) { return Scan(info, "NCS"); }
    T* ScanTreeDown(ScanInfo& info) { return Scan(info, "CNS"); }

protected:
    T* m_pParent = nullptr;
    T* m_pChild = nullptr;
    T* m_pNext = nullptr;

private:
    // A hint for appending; every unlink goes through extract_node, which clears it.
    T* m_pLastChild = nullptr;
    static inline thread_local std::vector<T*>* s_draining = nullptr;

    enum class Step { Walk, Children, ChildrenBefore, AfterChildren, Next, Visit, Climb };
    struct Task {
        Step step;
        T* node;
        int direction;
        int depth;
        T* stopBefore; // a chain walk ends at this sibling (the child climbed from)
    };

    static bool Ask(ScanInfo& info, int phase, T* node, int direction, int depth) {
        info.climb = info.descend = info.next = true;
        info.direction = direction;
        info.depth = depth;
        if (info.callback)
            info.callback(phase, node, info);
        return !info.stop;
    }

    // Pushes the steps of one node in `order` (reversed, since the stack pops the last).
    static void PushNode(std::vector<Task>& tasks, const char* order, T* node, int direction, int depth,
                         T* stopBefore, T* climbedFrom) {
        for (int i = 2; i >= 0; --i) {
            switch (order[i]) {
            case 'C':
                if (climbedFrom) {
                    tasks.push_back({Step::AfterChildren, node, direction, depth, nullptr});
                    if (node->m_pChild && node->m_pChild != climbedFrom)
                        tasks.push_back({Step::ChildrenBefore, node, direction, depth, climbedFrom});
                } else {
                    tasks.push_back({Step::Children, node, direction, depth, nullptr});
                }
                break;
            case 'N':
                tasks.push_back({Step::Next, node, direction, depth, stopBefore});
                break;
            default:
                tasks.push_back({Step::Visit, node, direction, depth, nullptr});
                break;
            }
        }
    }

    T* Scan(ScanInfo& info, const char* order) {
        info.stop = false;
        std::vector<Task> tasks;
        tasks.push_back({Step::Climb, self(), ScanInfo::DIR_SELF, 0, nullptr});
        tasks.push_back({Step::Walk, self(), ScanInfo::DIR_SELF, 0, nullptr});
        while (!tasks.empty() && !info.stop) {
            Task t = tasks.back();
            tasks.pop_back();
            T* node = t.node;
            switch (t.step) {
            case Step::Walk:
                if (node == info.skip) {
                    tasks.push_back({Step::Next, node, t.direction, t.depth, t.stopBefore});
                    break;
                }
                PushNode(tasks, order, node, t.direction, t.depth, t.stopBefore, nullptr);
                break;
            case Step::Children: {
                if (!node->m_pChild)
                    break;
                if (t.direction != ScanInfo::DIR_FROM_CHILD) {
                    if (!Ask(info, orvo::ScanDescend, node, t.direction, t.depth) || !info.descend)
                        break;
                    if (!Ask(info, orvo::ScanBeforeChildren, node, t.direction, t.depth))
                        break;
                }
                tasks.push_back({Step::AfterChildren, node, t.direction, t.depth, nullptr});
                if (!Ask(info, orvo::ScanFirstChild, node, t.direction, t.depth))
                    break;
                if (info.descend)
                    tasks.push_back({Step::Walk, node->m_pChild, ScanInfo::DIR_FROM_PARENT, t.depth + 1, nullptr});
                else // the first child is skipped, its later siblings are not
                    tasks.push_back({Step::Next, node->m_pChild, ScanInfo::DIR_FROM_PARENT, t.depth + 1, nullptr});
                break;
            }
            case Step::ChildrenBefore:
                tasks.push_back({Step::Walk, node->m_pChild, ScanInfo::DIR_FROM_PARENT, t.depth + 1, t.stopBefore});
                break;
            case Step::AfterChildren:
                Ask(info, orvo::ScanAfterChildren, node, t.direction, t.depth);
                break;
            case Step::Next: {
                T* from = node;
                for (T* candidate = node->m_pNext; candidate && candidate != t.stopBefore;
                     candidate = candidate->m_pNext) {
                    if (!Ask(info, orvo::ScanNext, from, t.direction, t.depth))
                        break;
                    if (info.next) {
                        tasks.push_back({Step::Walk, candidate, ScanInfo::DIR_FROM_PREV, t.depth, t.stopBefore});
                        break;
                    }
                    from = candidate;
                }
                break;
            }
            case Step::Visit:
                Ask(info, orvo::ScanVisit, node, t.direction, t.depth);
                break;
            case Step::Climb: {
                T* up = node->m_pParent;
                if (!up || !Ask(info, orvo::ScanClimb, node, t.direction, t.depth) || !info.climb)
                    break;
                info.climbedFrom = node;
                tasks.push_back({Step::Climb, up, ScanInfo::DIR_FROM_CHILD, t.depth - 1, nullptr});
                PushNode(tasks, order, up, ScanInfo::DIR_FROM_CHILD, t.depth - 1, nullptr, node);
                break;
            }
            }
        }
        return info.result;
    }
};
