#pragma once
// The state a tree scan carries. Callbacks are asked at each phase with the node concerned and
// steer the walk by clearing the permissions or setting `stop`; the walk resets every
// permission to true before it asks.
namespace orvo {

enum ScanPhase : int {
    ScanClimb = 0,      // before climbing from `node` to its parent; clear `climb` to stay
    ScanDescend = 1,    // before entering `node`'s children; clear `descend` to keep out
    ScanFirstChild = 2, // with the parent before entering its first child; clear `descend`
                        // to skip that child's subtree (its later siblings still come)
    ScanNext = 3,       // before moving on to the sibling after `node`; clear `next` to
                        // skip that sibling with its subtree (asked again for the one after)
    ScanVisit = 4,      // the node itself
    ScanBeforeChildren = 5,
    ScanAfterChildren = 6,
};

} // namespace orvo

template <class T> struct TREE_SCAN_INFO {
    // How the node now being asked about was reached.
    enum DIRECTION : int {
        DIR_SELF = 0,       // the start object itself
        DIR_FROM_CHILD = 1, // reached by climbing from one of its children
        DIR_FROM_PARENT = 2,
        DIR_FROM_PREV = 3, // entered from its previous sibling
    };
    using Callback = int (*)(int phase, T* node, TREE_SCAN_INFO& info);

    Callback callback = nullptr;
    int direction = DIR_SELF;
    int depth = 0; // levels below the start (negative after climbing)
    bool climb = true;
    bool descend = true;
    bool next = true;
    bool stop = false;
    T* skip = nullptr;        // never entered nor visited; its siblings still are
    T* climbedFrom = nullptr; // the child the walk climbed from, while at its parent
    T* result = nullptr;
    void* user = nullptr; // search values and anything else the callback needs
    const wchar_t* name = nullptr;
    int flags = 0;
};
