#pragma once
// tree_node<T>: the object tree. A node owns its first child and its next sibling. Every
// walk here uses an explicit stack, so chains of 100,000 siblings or deeply nested screens
// never exhaust the call stack.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/tree_scan.h"

template <class T> class tree_node {
public:
    using ScanInfo = TREE_SCAN_INFO<T>;

    tree_node() = default;
    tree_node(const tree_node&) = delete;
    tree_node& operator=(const tree_node&) = delete;

    // Deletes the next sibling and the first child, hence the whole subtree and every later
    // sibling, in the order a recursive delete would use (later siblings before children).
    // The nodes are deleted from one explicit list, never by recursion.
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
    T* previous() const { return m_pPrev; }
    T* last_child() const { return m_pLastChild; }
    T* self() { return static_cast<T*>(this); }
    const T* self() const { return static_cast<const T*>(this); }

    T* top_node() {
        T* node = self();
        while (node->m_pParent)
            node = node->m_pParent;
        return node;
    }

    // Moves whenever a node leaves a tree or a built subtree joins one: caches of relations
    // between nodes (the nearest elder of a kind) compare it. Appending a new leaf changes
    // no existing relation and leaves it alone.
    static std::uint64_t LinkVersion() { return s_linkVersion; }
    // Moves on every AddChild.
    static std::uint64_t GrowthCount() { return s_growthCount; }

    // Sets the child's parent and appends it (with any siblings it carries) to the chain.
    // A node already parented here is taken as linked.
    void AddChild(T* node) {
        if (!node || node == self() || node->m_pParent == self() || node->m_pParent ||
            node->m_pPrev)
            return;
        ++s_growthCount;
        if (node->m_pChild || node->m_pNext)
            ++s_linkVersion;
        node->m_pPrev = m_pLastChild;
        (m_pLastChild ? m_pLastChild->m_pNext : m_pChild) = node;
        for (T* n = node; n; n = n->m_pNext) {
            n->m_pParent = self();
            m_pLastChild = n;
        }
    }

    // Unlinks this node from its parent; `replacement` (a lone node) takes its place with the
    // same parent and siblings. With `remove` the node is deleted (with its subtree) and null
    // returned; otherwise the detached node comes back without parent or sibling. A node
    // heading a chain without parent has nothing to leave and stays as it is.
    T* extract_node(int remove, T* replacement) {
        if (replacement == self() ||
            (replacement &&
             (replacement->m_pParent || replacement->m_pPrev || replacement->m_pNext)))
            replacement = nullptr;
        if (m_pParent || m_pPrev) {
            ++s_linkVersion;
            T* after = m_pNext;
            T* before = m_pPrev;
            T* into = replacement ? replacement : after;
            if (replacement) {
                replacement->m_pParent = m_pParent;
                replacement->m_pPrev = before;
                replacement->m_pNext = after;
                if (after)
                    after->m_pPrev = replacement;
            } else if (after) {
                after->m_pPrev = before;
            }
            if (before)
                before->m_pNext = into;
            else if (m_pParent)
                m_pParent->m_pChild = into;
            if (m_pParent && m_pParent->m_pLastChild == self())
                m_pParent->m_pLastChild = replacement ? replacement : before;
            m_pParent = nullptr;
            m_pPrev = nullptr;
            m_pNext = nullptr;
        }
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

    // The nearest node for which pred holds: this node, then its subtree nearest first; then
    // one ancestor at a time, the ancestor itself and its other children's subtrees, nearest
    // first (of two siblings, the one nearer in the chain; of equals, the earlier). A subtree
    // is never walked twice. The searches by name and key run on this path.
    template <class P> T* find_near(P pred) {
        T* found = nullptr;
        WalkNear([&](T* node, int, int) {
            if (!pred(node))
                return false;
            found = node;
            return true;
        });
        return found;
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
    //   ScanTreeCNSP: children, next siblings, the node; then climbs (the gates' walk: a node
    //                 comes after everything below it and after its later siblings)
    // A subtree entered from above is never left upwards, and no subtree is walked twice.
    T* ScanTree(ScanInfo& info) { return Scan(info, "CSN"); }
    T* ScanTreeSCNP(ScanInfo& info) { return Scan(info, "SCN"); }
    T* ScanTreeNCSP(ScanInfo& info) { return Scan(info, "NCS"); }
    T* ScanTreeCNSP(ScanInfo& info) { return Scan(info, "CNS"); }
    //   ScanTreeDown: the nearest first, as find_near: the node and its subtree by distance,
    //                 then each ancestor and its other children's subtrees. Phases: visits,
    //                 ScanDescend before a node's children join the walk, ScanClimb before
    //                 each ancestor.
    T* ScanTreeDown(ScanInfo& info) {
        info.stop = false;
        WalkNear(
            [&info](T* node, int direction, int depth) {
                if (node == info.skip)
                    return false;
                return !Ask(info, orvo::ScanVisit, node, direction, depth);
            },
            [&info](T* node, int direction, int depth) {
                return node != info.skip && Ask(info, orvo::ScanDescend, node, direction, depth) &&
                       info.descend;
            },
            [&info](T* from, int depth) {
                info.climbedFrom = from;
                return Ask(info, orvo::ScanClimb, from, ScanInfo::DIR_FROM_CHILD, depth) &&
                       info.climb;
            });
        return info.result;
    }

protected:
    T* m_pParent = nullptr;
    T* m_pChild = nullptr;
    T* m_pNext = nullptr;
    T* m_pPrev = nullptr;

private:
    T* m_pLastChild = nullptr;
    [[gnu::tls_model("initial-exec")]] static inline thread_local std::vector<T*>* s_draining =
        nullptr;
    static inline std::uint64_t s_linkVersion = 1;
    static inline std::uint64_t s_growthCount = 0;

    // Breadth first inside each band, so within a band nearer nodes come first; bands widen
    // one ancestor at a time, the ancestor before its other children. visit(node, direction, depth)
    // returns true to stop; enter(node, direction, depth) says whether its children join;
    // climb(from, depth) says whether to go on to from's parent.
    template <class Visit, class Enter, class Climb>
    void WalkNear(Visit visit, Enter enter, Climb climb) {
        struct Item {
            T* node;
            int direction;
            int depth;
        };
        std::vector<Item> queue;
        // Visits the queue from `head`; each node's children are queued after it.
        auto drain = [&](std::size_t head) {
            for (; head < queue.size(); ++head) {
                const Item item = queue[head];
                if (visit(item.node, item.direction, item.depth))
                    return true;
                if (!item.node->m_pChild || !enter(item.node, item.direction, item.depth))
                    continue;
                for (T* c = item.node->m_pChild; c; c = c->m_pNext)
                    queue.push_back({c, ScanInfo::DIR_FROM_PARENT, item.depth + 1});
            }
            return false;
        };
        queue.push_back({self(), ScanInfo::DIR_SELF, 0});
        if (drain(0))
            return;
        int depth = 0;
        for (T* from = self(); from->m_pParent; from = from->m_pParent) {
            if (!climb(from, depth))
                return;
            --depth;
            T* up = from->m_pParent;
            queue.clear();
            if (visit(up, ScanInfo::DIR_FROM_CHILD, depth))
                return;
            if (!enter(up, ScanInfo::DIR_FROM_CHILD, depth))
                continue;
            // The ancestor's other children, the ones nearer the child the walk came from
            // first (the earlier of two equally near first): a screen's earlier neighbour
            // before a farther one.
            T* before = from->m_pPrev;
            T* after = from->m_pNext;
            while (before || after) {
                if (before) {
                    queue.push_back({before, ScanInfo::DIR_FROM_PARENT, depth + 1});
                    before = before->m_pPrev;
                }
                if (after) {
                    queue.push_back({after, ScanInfo::DIR_FROM_PARENT, depth + 1});
                    after = after->m_pNext;
                }
            }
            if (drain(0))
                return;
        }
    }

    template <class Visit> void WalkNear(Visit visit) {
        WalkNear(
            visit, [](T*, int, int) { return true; }, [](T*, int) { return true; });
    }

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
    static void PushNode(std::vector<Task>& tasks,
                         const char* order,
                         T* node,
                         int direction,
                         int depth,
                         T* stopBefore,
                         T* climbedFrom) {
        for (int i = 2; i >= 0; --i) {
            switch (order[i]) {
            case 'C':
                if (climbedFrom) {
                    tasks.push_back({Step::AfterChildren, node, direction, depth, nullptr});
                    if (node->m_pChild && node->m_pChild != climbedFrom)
                        tasks.push_back(
                            {Step::ChildrenBefore, node, direction, depth, climbedFrom});
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
                    tasks.push_back({Step::Walk,
                                     node->m_pChild,
                                     ScanInfo::DIR_FROM_PARENT,
                                     t.depth + 1,
                                     nullptr});
                else // the first child is skipped, its later siblings are not
                    tasks.push_back({Step::Next,
                                     node->m_pChild,
                                     ScanInfo::DIR_FROM_PARENT,
                                     t.depth + 1,
                                     nullptr});
                break;
            }
            case Step::ChildrenBefore:
                // The children before the one climbed from; the first of them may be refused
                // as below.
                if (!Ask(info, orvo::ScanFirstChild, node, t.direction, t.depth))
                    break;
                tasks.push_back({info.descend ? Step::Walk : Step::Next,
                                 node->m_pChild,
                                 ScanInfo::DIR_FROM_PARENT,
                                 t.depth + 1,
                                 t.stopBefore});
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
                        tasks.push_back({Step::Walk,
                                         candidate,
                                         ScanInfo::DIR_FROM_PREV,
                                         t.depth,
                                         t.stopBefore});
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
