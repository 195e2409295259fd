#include "chrome/prompts.h"

#include <vector>

#include <QCoreApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "chrome/folderchooser.h"

namespace vesk {

namespace {

/// Room a title bar takes beside its caption: the window's icon and buttons, and margins.
constexpr int kTitleBarRoom = 160;

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

/// Makes a message box at least as wide as its title bar needs to show the whole caption; a
/// short text would make a box so narrow that the caption is cut ("RESOU... EDITOR").
void MakeRoomForCaption(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarRoom;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

} // namespace

MessageAnswer DialogPrompts::ShowMessage(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(BoxIcon(icon), QString::fromUtf8(kApplicationName), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setAccessibleName(QString::fromUtf8(kApplicationName));
    box.setAccessibleDescription(text);
    if (buttons == MessageButtons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("vesk::DialogPrompts", "はい(&Y)"));
        box.button(QMessageBox::No)->setText(QCoreApplication::translate("vesk::DialogPrompts", "いいえ(&N)"));
        box.button(QMessageBox::Cancel)->setText(QCoreApplication::translate("vesk::DialogPrompts", "キャンセル"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    MakeRoomForCaption(box);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

int DialogPrompts::AskChoice(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton,
                             int escapeButton)
{
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kApplicationName), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("questionBox"));
    box.setAccessibleName(QString::fromUtf8(kApplicationName));
    box.setAccessibleDescription(text);
    std::vector<QPushButton*> pushButtons;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        QPushButton* button =
            box.addButton(buttons[i], i == escapeButton ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        button->setObjectName(QStringLiteral("choice%1").arg(i + 1));
        pushButtons.push_back(button);
    }
    if (defaultButton >= 0 && defaultButton < buttons.size())
        box.setDefaultButton(pushButtons[static_cast<size_t>(defaultButton)]);
    if (escapeButton >= 0 && escapeButton < buttons.size())
        box.setEscapeButton(pushButtons[static_cast<size_t>(escapeButton)]);
    box.exec();
    for (size_t i = 0; i < pushButtons.size(); ++i)
        if (box.clickedButton() == pushButtons[i])
            return static_cast<int>(i);
    return escapeButton;
}

QString DialogPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setObjectName(QStringLiteral("openDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& initialName,
                                    const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::ChooseFolder(QWidget* parent, const QString& title, const QString& prompt, const QString& start)
{
    return ChooseFolderDialog(parent, title, prompt, start);
}

} // namespace vesk
