// What assistive technology sees of the editor: every control a person can operate has an
// object name and an accessible name, and the main parts carry the names users know them by.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QTabBar>

#include "editorfixture.h"
#include "shell/skeletondlg.h"

namespace vesk {
namespace {

using test::EditorTest;
using test::ProcessEvents;

bool Operable(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QTabBar*>(widget) ||
           qobject_cast<const QComboBox*>(widget);
}

/// The operable widgets under root that lack an object name or an accessible name.
QStringList Nameless(QWidget* root)
{
    QStringList missing;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!Operable(widget) || !widget->isVisibleTo(root))
            continue;
        // Qt's own parts of composite widgets (scroll bar buttons, the MDI window's title
        // buttons, dock buttons) are named by Qt.
        if (widget->objectName().startsWith(QStringLiteral("qt_")))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        const QString name = accessible ? accessible->text(QAccessible::Name) : QString();
        if (widget->objectName().isEmpty() || name.trimmed().isEmpty())
            missing << QStringLiteral("%1 '%2' named '%3'")
                           .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(), name);
    }
    return missing;
}

class AccessibilityTest : public EditorTest {};

TEST_F(AccessibilityTest, EveryOperableControlHasANameAndAnAccessibleName)
{
    OpenDemo();
    ClickNode(&DialogAt(0));
    ProcessEvents();
    EXPECT_EQ(Nameless(frame.get()).join(QStringLiteral("; ")).toStdString(), "");
    Panel().ShowPanelPage(kPageLink);
    ProcessEvents();
    EXPECT_EQ(Nameless(&Panel()).join(QStringLiteral("; ")).toStdString(), "");
    CSkeletonDlg* generator = frame->OpenSkeletonGenerator();
    ASSERT_NE(generator, nullptr);
    ProcessEvents();
    EXPECT_EQ(Nameless(generator).join(QStringLiteral("; ")).toStdString(), "");
}

TEST_F(AccessibilityTest, ValueLabelsReadAsTheirValuesAndAreDescribedByTheirCaptions)
{
    OpenDemo();
    std::unique_ptr<QDialog> about(frame->CreateAboutBox());
    CSkeletonDlg* generator = frame->OpenSkeletonGenerator();
    ASSERT_NE(generator, nullptr);
    const struct Value {
        QLabel* label;
        QString caption;      // what describes the value
        QString captionLabel; // the label that names it, when there is one
    } values[] = {
        {about->findChild<QLabel*>(QStringLiteral("aboutVersion")), QStringLiteral("Version"),
         QStringLiteral("Version :")},
        {about->findChild<QLabel*>(QStringLiteral("aboutDataFolder")), QStringLiteral("データ"),
         QStringLiteral("データ :")},
        {&generator->FileLabel(0), QStringLiteral("メイン のファイル"), QString()},
        {&generator->FileLabel(1), QStringLiteral("アプリケーション のファイル"), QString()},
        {&generator->FileLabel(2), QStringLiteral("ダイアログ生成 のファイル"), QString()},
    };
    for (const Value& value : values) {
        ASSERT_NE(value.label, nullptr) << value.caption.toStdString();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(value.label);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), value.label->text()) << value.caption.toStdString();
        EXPECT_EQ(accessible->text(QAccessible::Description), value.caption);
        if (value.captionLabel.isEmpty())
            continue;
        QStringList labelledBy;
        for (const auto& [other, relation] : accessible->relations(QAccessible::Label))
            labelledBy << other->text(QAccessible::Name);
        EXPECT_EQ(labelledBy, QStringList{value.captionLabel});
    }
    // A value that changes is read as it is now.
    values[1].label->setText(QStringLiteral("/elsewhere/"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(values[1].label)->text(QAccessible::Name),
              QStringLiteral("/elsewhere/"));
}

TEST_F(AccessibilityTest, MainPartsCarryTheirNames)
{
    OpenDemo();
    struct Part {
        const char* objectName;
        QString accessibleName;
    } parts[] = {
        {"resourceTree", QStringLiteral("リソースツリー")},
        {"propertyGrid", QStringLiteral("プロパティー")},
        {"linkLog", QStringLiteral("通信ログ")},
        {"listenPort", QStringLiteral("待受ポート")},
        {"ipAddress", QStringLiteral("IPアドレス")},
    };
    for (const Part& part : parts) {
        auto* widget = frame->findChild<QWidget*>(QString::fromLatin1(part.objectName));
        ASSERT_NE(widget, nullptr) << part.objectName;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), part.accessibleName) << part.objectName;
    }
    // The tree's rows are items that read as their labels.
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(&Tree());
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->role(), QAccessible::Tree);
    bool found = false;
    for (int i = 0; i < tree->childCount(); ++i)
        if (QAccessibleInterface* child = tree->child(i);
            child && child->text(QAccessible::Name) == QStringLiteral("Dialog:Main"))
            found = true;
    EXPECT_TRUE(found) << "the tree row Dialog:Main";
}

} // namespace
} // namespace vesk
