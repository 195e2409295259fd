#pragma once

#include <functional>

#include <QObject>
#include <QTimer>

namespace vesk {

class CLinkController;
class CTekDialogData;
class CTekResourceData;

/// Sends the current dialog to the connected terminal whenever it changes, as the send button
/// does, while switched on. Bursts of changes are coalesced: at most one frame per interval, and
/// the state after the last change always goes out.
class LivePush : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultInterval = 300;

    /// Pushes the dialog that currentDialog answers, of the project, through the link.
    LivePush(CLinkController& link, const CTekResourceData& project, std::function<CTekDialogData*()> currentDialog,
             QObject* parent = nullptr);

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    void SetInterval(int milliseconds) { m_interval = milliseconds; }
    /// The current dialog changed, or another dialog became current.
    void DialogChanged();
    /// Frames sent so far.
    int FramesSent() const { return m_framesSent; }

private:
    void SendNow();
    void WindowEnded();

    CLinkController& m_link;
    const CTekResourceData& m_project;
    std::function<CTekDialogData*()> m_currentDialog;
    QTimer m_window;
    bool m_enabled = false;
    bool m_pending = false;
    int m_interval = kDefaultInterval;
    int m_framesSent = 0;
};

} // namespace vesk
