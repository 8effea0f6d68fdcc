#include "ui/class_interface.h"

#include "core/xdo.h"

void CClassInterface::SendEvent(XElement* evt) {
    if (m_pOwner && evt)
        m_pOwner->SendEvent(evt, m_pOwner);
}
