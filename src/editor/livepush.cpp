#include "editor/livepush.h"

#include "link/linkcontroller.h"
#include "objects/resourcedata.h"

namespace vesk {

LivePush::LivePush(CLinkController& link, const CTekResourceData& project,
                   std::function<CTekDialogData*()> currentDialog, QObject* parent)
    : QObject(parent), m_link(link), m_project(project), m_currentDialog(std::move(currentDialog))
{
    m_window.setSingleShot(true);
    connect(&m_window, &QTimer::timeout, this, &LivePush::WindowEnded);
}

void LivePush::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled) {
        m_pending = false;
        m_window.stop();
    }
}

void LivePush::DialogChanged()
{
    if (!m_enabled || !m_link.TerminalConnection())
        return;
    m_pending = true;
    if (!m_window.isActive())
        SendNow();
}

void LivePush::SendNow()
{
    m_pending = false;
    const CTekDialogData* dialog = m_currentDialog();
    if (dialog && m_link.SendDialog(m_project, dialog->GetItem("Name")))
        ++m_framesSent;
    m_window.start(m_interval);
}

void LivePush::WindowEnded()
{
    if (m_pending && m_enabled && m_link.TerminalConnection())
        SendNow();
    else
        m_pending = false;
}

} // namespace vesk
