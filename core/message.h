#pragma once
// Declared messages. A "Message" element on an object says how that object takes part when a
// message of that name travels through the tree: whether it handles it itself, hands it to
// named targets, forwards it under another name, and in which directions it passes on.
#include <memory>
#include <string>
#include <vector>

#include "core/element.h"
#include "nubra/ixo_ref.h"
#include "nubra/tok.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"

template <class T> class XMessage {
public:
    int SetElement(XElement* e) {
        if (!e)
            return 1;
        e->GetValue(L"Name", m_name);
        e->GetValue(L"Target", m_targetsText);
        e->GetValue(L"PostMsg", m_forwardName);
        e->GetBool(L"SendUp", m_sendUp);
        e->GetBool(L"SendDown", m_sendDown);
        e->GetBool(L"FromUp", m_fromUp);
        e->GetBool(L"FromDown", m_fromDown);
        e->GetBool(L"SelfProc", m_selfProc);
        m_forwards = !m_forwardName.empty();
        return 1;
    }

    // Each name: the owner itself, else the first match below it, else among its later
    // siblings and their subtrees. Returns 0 when some name found nothing.
    int MakeTarget(T* owner) {
        m_targets.clear();
        int result = 1;
        CTok tok(m_targetsText, L",");
        std::wstring piece;
        while (tok.GetNext(piece)) {
            std::wstring name(orvo::TrimBlanks(piece));
            if (name.empty())
                continue;
            T* found = nullptr;
            if (plat::EqualsNoCase(owner->GetName(), name))
                found = owner;
            if (!found && owner->child())
                found = owner->child()->GetObjByNameDown(name.c_str());
            if (!found && owner->next())
                found = owner->next()->GetObjByNameDown(name.c_str());
            if (found)
                m_targets.push_back(found->WeakRef());
            else
                result = 0;
        }
        m_targetFlag = !m_targets.empty();
        return result;
    }

    // Hands the message to every target still alive; a sender or origin destroyed by one
    // target's handler reaches the next targets as null.
    int RunMsg(int fromUp, XElement* msg, T* sender, T* origin, int& sendDown) {
        std::vector<orvo::IXORef> targets = m_targets; // a handler may re-resolve the list
        const orvo::IXORef senderRef = sender ? sender->WeakRef() : orvo::IXORef();
        const orvo::IXORef originRef = origin ? origin->WeakRef() : orvo::IXORef();
        for (const orvo::IXORef& ref : targets) {
            if (auto* target = dynamic_cast<T*>(ref.Get()))
                target->RunMsg(fromUp,
                               msg,
                               dynamic_cast<T*>(senderRef.Get()),
                               dynamic_cast<T*>(originRef.Get()),
                               sendDown);
        }
        return 1;
    }

    const std::wstring& GetName() const { return m_name; }
    const std::wstring& GetForwardName() const { return m_forwardName; }
    bool SendUp() const { return m_sendUp; }
    bool SendDown() const { return m_sendDown; }
    bool FromUp() const { return m_fromUp; }
    bool FromDown() const { return m_fromDown; }
    bool SelfProc() const { return m_selfProc; }
    bool HasTargets() const { return m_targetFlag; }
    bool Forwards() const { return m_forwards; }
    std::size_t TargetCount() const { return m_targets.size(); }

private:
    std::wstring m_name;
    std::wstring m_targetsText;
    std::wstring m_forwardName;
    bool m_sendUp = true;
    bool m_sendDown = true;
    bool m_fromUp = true;
    bool m_fromDown = true;
    bool m_selfProc = false;
    bool m_targetFlag = false;
    bool m_forwards = false;
    std::vector<orvo::IXORef> m_targets; // weak: a target may be destroyed before the owner
};

template <class T> class message {
public:
    message() = default;
    message(const message&) = delete;
    message& operator=(const message&) = delete;
    virtual ~message() = default;

    // The first declaration named `name` (without case) or with an empty name.
    XMessage<T>* FindMsg(const wchar_t* name) const {
        std::wstring_view wanted(name ? name : L"");
        for (const auto& m : m_messages) {
            if (m->GetName().empty() || plat::EqualsNoCase(m->GetName(), wanted))
                return m.get();
        }
        return nullptr;
    }

    void AddMessage(std::unique_ptr<XMessage<T>> m) { m_messages.push_back(std::move(m)); }
    const std::vector<std::unique_ptr<XMessage<T>>>& GetMessages() const { return m_messages; }

protected:
    void ClearMessages() { m_messages.clear(); }

private:
    std::vector<std::unique_ptr<XMessage<T>>> m_messages;
};
