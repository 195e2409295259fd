#include "editor/propertypanel.h"

#include <QAction>
#include <QLineEdit>

#include "document/projectdocument.h"
#include "editor/propertylistctrl.h"
#include "textconv/textconv.h"

namespace vesk {

CPropertyPanel::CPropertyPanel(ProjectDocument& document, Prompts& prompts, QWidget* gridParent)
    : QObject(gridParent), m_document(document)
{
    m_filter = new QLineEdit(gridParent);
    m_filter->setObjectName(QStringLiteral("propertyFilter"));
    m_filter->setAccessibleName(tr("プロパティを検索"));
    m_filter->setPlaceholderText(tr("プロパティを検索"));
    auto* clear = new QAction(tr("検索を消去"), m_filter);
    clear->setObjectName(QStringLiteral("clearPropertyFilter"));
    clear->setShortcut(QKeySequence(Qt::Key_Escape));
    clear->setShortcutContext(Qt::WidgetShortcut);
    m_filter->addAction(clear);
    connect(clear, &QAction::triggered, m_filter, &QLineEdit::clear);

    m_grid = new CPropertyListCtrl(prompts, gridParent);
    m_grid->SetDocument(&document);
    m_grid->SetValueColumnFills(true);
    connect(m_filter, &QLineEdit::textChanged, m_grid, &CPropertyListCtrl::SetFilter);
    connect(&document, &ProjectDocument::selectionChanged, this, [this] {
        ShowSelection();
        m_grid->RepaintGrid();
    });
    connect(&document, &ProjectDocument::marksChanged, this, [this] { ShowSelection(); });
    connect(&document, &ProjectDocument::projectReset, this, [this] { m_grid->ShowNode(m_document.Selected()); });
    connect(&document, &ProjectDocument::itemChanged, this, [this](TekClass* node, int row) {
        if (node == m_grid->Node())
            m_grid->RowChanged(row);
    });
    connect(&document, &ProjectDocument::itemsReset, this, [this](TekClass* node) {
        if (node == m_grid->Node()) {
            m_grid->RefreshRowCount();
            m_grid->RepaintGrid();
        }
    });
    // Several objects shown: a change of any of them may make a value the same or different.
    connect(&document, &ProjectDocument::dialogChanged, this, [this] { m_grid->RefreshOperands(); });
}

void CPropertyPanel::ShowSelection()
{
    TekClass* selected = m_document.Selected();
    m_grid->ShowNodes(selected, selected ? m_document.Operands() : std::vector<TekClass*>());
}

bool CPropertyPanel::ShowItem(const std::string& itemName)
{
    TekClass* node = m_grid->Node();
    if (!node || itemName.empty())
        return false;
    for (int row = 0; row < node->Items().Count(); ++row)
        if (ToUtf8(node->Items().At(row).Name()) == itemName) {
            if (!m_grid->RowShown(row))
                m_filter->clear();
            m_grid->SetCurrentRow(row);
            m_grid->scrollTo(m_grid->currentIndex());
            return true;
        }
    return false;
}

void CPropertyPanel::FocusFilter()
{
    m_filter->setFocus(Qt::ShortcutFocusReason);
    m_filter->selectAll();
}

bool CPropertyPanel::EditTextOrName()
{
    TekClass* node = m_grid->Node();
    if (!node)
        return false;
    for (const char* name : {"Text", "Name"})
        for (int row = 0; row < node->Items().Count(); ++row)
            if (node->Items().At(row).Name() == name && m_grid->RowShown(row)) {
                m_grid->setFocus(Qt::OtherFocusReason);
                return m_grid->StartTextEdit(row, 1);
            }
    return false;
}

int CPropertyPanel::CurrentRowOf(const TekClass& node) const
{
    return m_grid->Node() == &node ? m_grid->CurrentRow() : -1;
}

void CPropertyPanel::AssignImage(SidePanelListKind kind, const std::string& imageName)
{
    TekClass* node = m_grid->Node();
    if (!node)
        return;
    m_document.AssignImage(*node, m_grid->CurrentRow(),
                           kind == SidePanelListKind::StationImages ? ImageSource::Station : ImageSource::Builtin,
                           imageName);
}

} // namespace vesk
