#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vesk {

class CLinkController;
class Prompts;

/// The IPv4 address typed in the address field, most significant byte first; 0 for an empty
/// field, nothing for a text that is not four numbers from 0 to 255 joined by dots.
std::optional<uint32_t> ParseIpv4(const QString& text);

/// The "接続" page of the resource panel: the listening port, the terminal's address and the
/// buttons that start and stop listening, connect, disconnect and send the current dialog, with
/// their enable rules following the link's state; and the live push switch.
class CLinkPage : public QWidget {
    Q_OBJECT

public:
    /// A page driving the controller; refusals go through prompts (both outlive the page).
    CLinkPage(CLinkController& link, Prompts& prompts, QWidget* parent = nullptr);

    /// Takes the port and the address from the fields into the controller. A port that is not
    /// an integer from 1 to 65535 is refused with a message; the field shows the previous port
    /// again, and the controller keeps it.
    void TakeControlValues();
    /// Shows the controller's port and address in the fields, and its buttons' states.
    void LoadControls();

    void StartListening();
    void StopListening();
    void Connect();
    void Disconnect();

    bool LivePushEnabled() const;
    void SetLivePushEnabled(bool enabled);

    QLineEdit& PortField() const { return *m_port; }
    QLineEdit& AddressField() const { return *m_address; }
    QPushButton& ListenButton() const { return *m_listen; }
    QPushButton& StopButton() const { return *m_stop; }
    QPushButton& ConnectButton() const { return *m_connect; }
    QPushButton& DisconnectButton() const { return *m_disconnect; }
    QPushButton& SendButton() const { return *m_send; }
    QCheckBox& LivePushBox() const { return *m_livePush; }

    /// Called before the fields are taken, so that the panel takes its other fields too.
    std::function<void()> onTakeOtherFields;

signals:
    /// "送信" was pressed.
    void sendRequested();
    /// The enabled buttons may have changed (a connection came or went).
    void linkChanged();
    /// The keep-alive state changed: 0 red, 1 green, 2 yellow.
    void linkStateChanged(int state);
    void livePushToggled(bool enabled);

private:
    void UpdateButtons();

    CLinkController& m_link;
    Prompts& m_prompts;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_address = nullptr;
    QPushButton* m_listen = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_connect = nullptr;
    QPushButton* m_disconnect = nullptr;
    QPushButton* m_send = nullptr;
    QCheckBox* m_livePush = nullptr;
};

} // namespace vesk
