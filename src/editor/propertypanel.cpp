#include "editor/propertypanel.h"

#include "document/projectdocument.h"
#include "editor/propertylistctrl.h"

namespace vesk {

CPropertyPanel::CPropertyPanel(ProjectDocument& document, Prompts& prompts, QWidget* gridParent)
    : QObject(gridParent), m_document(document)
{
    m_grid = new CPropertyListCtrl(prompts, gridParent);
    m_grid->SetDocument(&document);
    m_grid->SetValueColumnFills(true);
    connect(&document, &ProjectDocument::selectionChanged, this, [this] {
        m_grid->ShowNode(m_document.Selected());
        m_grid->RepaintGrid();
    });
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
