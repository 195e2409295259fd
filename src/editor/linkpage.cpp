#include "editor/linkpage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "link/linkcontroller.h"

namespace vesk {

std::optional<uint32_t> ParseIpv4(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed == QStringLiteral("..."))
        return 0u;
    const QStringList parts = trimmed.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    uint32_t address = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const uint value = part.toUInt(&ok);
        if (!ok || value > 255 || part.size() > 3)
            return std::nullopt;
        address = (address << 8) | value;
    }
    return address;
}

namespace {

/// The ports a user may give to listen on or to connect to.
constexpr int kLowestPort = 1;
constexpr int kHighestPort = 65535;

QPushButton* MakeButton(const QString& text, const char* objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(text);
    return label;
}

} // namespace

CLinkPage::CLinkPage(CLinkController& link, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_link(link), m_prompts(prompts)
{
    setObjectName(QStringLiteral("linkPage"));
    setAccessibleName(tr("接続"));

    m_port = new QLineEdit(this);
    m_port->setObjectName(QStringLiteral("listenPort"));
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("ipAddress"));
    m_address->setPlaceholderText(QStringLiteral("0.0.0.0"));
    m_address->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^(\\d{0,3}(\\.\\d{0,3}){0,3})?$")), m_address));
    m_listen = MakeButton(tr("待受"), "startListening", this);
    m_stop = MakeButton(tr("停止"), "stopListening", this);
    m_connect = MakeButton(tr("接続"), "connectTerminal", this);
    m_disconnect = MakeButton(tr("切断"), "disconnectTerminal", this);
    m_send = MakeButton(tr("送信"), "sendDialog", this);
    m_livePush = new QCheckBox(tr("編集を端末へ自動送信"), this);
    m_livePush->setObjectName(QStringLiteral("livePush"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->addWidget(MakeLabel(tr("待受ポート"), m_port, this), 0, 0);
    layout->addWidget(m_port, 0, 1);
    layout->addWidget(m_listen, 0, 2);
    layout->addWidget(m_stop, 0, 3);
    layout->addWidget(MakeLabel(tr("IPアドレス"), m_address, this), 1, 0);
    layout->addWidget(m_address, 1, 1);
    layout->addWidget(m_connect, 1, 2);
    layout->addWidget(m_disconnect, 1, 3);
    layout->addWidget(m_send, 2, 3);
    layout->addWidget(m_livePush, 3, 0, 1, 4);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(4, 1);

    connect(m_listen, &QPushButton::clicked, this, &CLinkPage::StartListening);
    connect(m_stop, &QPushButton::clicked, this, &CLinkPage::StopListening);
    connect(m_connect, &QPushButton::clicked, this, &CLinkPage::Connect);
    connect(m_disconnect, &QPushButton::clicked, this, &CLinkPage::Disconnect);
    connect(m_send, &QPushButton::clicked, this, &CLinkPage::sendRequested);
    connect(m_livePush, &QCheckBox::toggled, this, &CLinkPage::livePushToggled);

    m_link.onButtonsChanged = [this] {
        UpdateButtons();
        emit linkChanged();
    };
    m_link.onTerminalConnected = [this] {
        // An accepted terminal's address is shown; an outgoing connection keeps the typed one.
        m_address->setText(QString::fromStdString(m_link.IpAddressText()));
        UpdateButtons();
        emit linkChanged();
    };
    m_link.onLinkStateChanged = [this](int state) { emit linkStateChanged(state); };
    LoadControls();
}

void CLinkPage::TakeControlValues()
{
    if (onTakeOtherFields)
        onTakeOtherFields();
    bool ok = false;
    const int port = m_port->text().trimmed().toInt(&ok);
    if (!ok || port < kLowestPort || port > kHighestPort) {
        const QString refusal =
            ok ? QStringLiteral("Please enter an integer between %1 and %2.").arg(kLowestPort).arg(kHighestPort)
               : QStringLiteral("Please enter an integer.");
        m_prompts.ShowMessage(this, refusal, MessageIcon::Warning);
        m_port->setText(QString::number(m_link.ListenPort()));
    } else {
        m_link.SetListenPort(port);
    }
    if (const std::optional<uint32_t> address = ParseIpv4(m_address->text()))
        m_link.SetIpAddress(*address);
}

void CLinkPage::LoadControls()
{
    m_port->setText(QString::number(m_link.ListenPort()));
    m_address->setText(m_link.IpAddress() ? QString::fromStdString(m_link.IpAddressText()) : QString());
    UpdateButtons();
}

void CLinkPage::UpdateButtons()
{
    const LinkButtons buttons = m_link.Buttons();
    m_listen->setEnabled(buttons.startListening);
    m_stop->setEnabled(buttons.stopListening);
    m_connect->setEnabled(buttons.connect);
    m_disconnect->setEnabled(buttons.disconnect);
    m_send->setEnabled(buttons.send);
}

void CLinkPage::StartListening()
{
    TakeControlValues();
    m_link.StartListening();
    UpdateButtons();
}

void CLinkPage::StopListening()
{
    m_link.StopListening();
    UpdateButtons();
}

void CLinkPage::Connect()
{
    TakeControlValues();
    m_link.Connect();
    UpdateButtons();
    emit linkChanged();
}

void CLinkPage::Disconnect()
{
    m_link.Disconnect();
    UpdateButtons();
    emit linkChanged();
}

bool CLinkPage::LivePushEnabled() const
{
    return m_livePush->isChecked();
}

void CLinkPage::SetLivePushEnabled(bool enabled)
{
    m_livePush->setChecked(enabled);
}

} // namespace vesk
