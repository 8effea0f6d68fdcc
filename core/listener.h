#pragma once
// listener<T>: change notification between named objects. An object lists, in its
// "Listener" attribute, the objects to notify when it changes; both sides keep the link and
// drop it when either is destroyed.
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/element.h"
#include "core/object_lifetime.h"
#include "nubra/trim_blanks.h"

template <class T> class listener {
public:
    using ChangeCallback = void (*)(T* self, T* notifier, int notifyId, int a, int b);

    listener() = default;
    listener(const listener&) = delete;
    listener& operator=(const listener&) = delete;

    virtual ~listener() { DetachListeners(); }

    // Each side forgets the other.
    void DetachListeners() {
        T* me = static_cast<T*>(this);
        std::vector<T*> listeners = std::move(m_listeners);
        std::vector<T*> notifiers = std::move(m_notifiers);
        m_listeners.clear();
        m_notifiers.clear();
        for (T* l : listeners)
            l->EraseFrom(l->m_notifiers, me);
        for (T* n : notifiers)
            n->RemoveListener(me);
    }

    virtual void OnNotifierChanged(T* notifier, int notifyId, int a, int b) {
        if (m_onChanged)
            m_onChanged(static_cast<T*>(this), notifier, notifyId, a, b);
    }

    // Keeps the "Listener" names for Register and reads "NotifyID".
    int SetElement(XElement* e) {
        using namespace std::string_view_literals; // lengths known here, not counted per object
        std::wstring names;
        if (e && e->GetValue(L"Listener"sv, names))
            m_pendingListeners = std::make_unique<std::wstring>(std::move(names));
        if (e)
            e->GetValue(L"NotifyID"sv, m_notifyId);
        return 1;
    }

    // Resolves the kept names near this object; unknown names, blanks and repeats are skipped.
    void Register() {
        if (!m_pendingListeners)
            return;
        T* me = static_cast<T*>(this);
        // Split in place: a page may have a listener in every object, and copies of each
        // name would be most of the work.
        std::wstring_view rest(*m_pendingListeners);
        while (!rest.empty()) {
            const std::size_t comma = rest.find(L',');
            const std::wstring_view name = orvo::TrimBlanks(rest.substr(0, comma));
            rest = comma == std::wstring_view::npos ? std::wstring_view() : rest.substr(comma + 1);
            if (name.empty())
                continue;
            T* found = me->GetNearObjByName(name);
            if (found && found != me)
                AddListener(found);
        }
        m_pendingListeners.reset();
    }

    void AddListener(T* other) {
        if (!other || std::find(m_listeners.begin(), m_listeners.end(), other) != m_listeners.end())
            return;
        m_listeners.push_back(other);
        other->m_notifiers.push_back(static_cast<T*>(this));
    }

    // Calls every listener in order. A listener removed (or destroyed) by a callback does not
    // make the loop skip the next one, and the loop ends quietly if this object is destroyed.
    void NotifyChange(int a, int b) {
        orvo::DispatchScope scope; // a callback may destroy this object; it is freed after us
        T* me = static_cast<T*>(this);
        auto alive = me->WeakRef();
        std::size_t index = 0;
        m_cursors.push_back(&index);
        for (; index < m_listeners.size(); ++index) {
            m_listeners[index]->OnNotifierChanged(me, m_notifyId, a, b);
            if (!alive.Alive())
                break; // torn down: its listeners are gone
        }
        m_cursors.pop_back();
    }

    void RemoveListener(T* other) {
        auto it = std::find(m_listeners.begin(), m_listeners.end(), other);
        if (it == m_listeners.end())
            return;
        std::size_t removed = static_cast<std::size_t>(it - m_listeners.begin());
        m_listeners.erase(it);
        // A loop inside NotifyChange stands at *cursor; stepping back keeps it on the next one.
        for (std::size_t* cursor : m_cursors) {
            if (removed <= *cursor && *cursor > 0)
                --*cursor;
            else if (removed <= *cursor)
                *cursor = static_cast<std::size_t>(-1); // the loop's ++ brings it to 0
        }
        other->EraseFrom(other->m_notifiers, static_cast<T*>(this));
    }

    void RemoveNotifier(T* other) {
        if (other)
            other->RemoveListener(static_cast<T*>(this));
    }

    void SetOnNotifierChanged(ChangeCallback callback) { m_onChanged = callback; }

    const std::vector<T*>& GetListeners() const { return m_listeners; }
    const std::vector<T*>& GetNotifiers() const { return m_notifiers; }
    int GetNotifyID() const { return m_notifyId; }

protected:
    std::vector<T*> m_listeners;
    std::vector<T*> m_notifiers;
    int m_notifyId = 0;
    std::unique_ptr<std::wstring> m_pendingListeners;
    ChangeCallback m_onChanged = nullptr;

private:
    static void EraseFrom(std::vector<T*>& list, T* item) {
        list.erase(std::remove(list.begin(), list.end(), item), list.end());
    }

    std::vector<std::size_t*> m_cursors; // loops of NotifyChange now running on this object
};
