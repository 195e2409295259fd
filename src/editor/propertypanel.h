#pragma once

#include <string>

#include <QObject>

#include "editor/sidepanelaccess.h"

class QWidget;

namespace vesk {

class CPropertyListCtrl;
class Prompts;
class ProjectDocument;
class TekClass;

/// The property grid of the selected node: it shows the node the document selects, follows the
/// document's changes of that node's items, and commits values through the document.
class CPropertyPanel : public QObject {
    Q_OBJECT

public:
    CPropertyPanel(ProjectDocument& document, Prompts& prompts, QWidget* gridParent);

    CPropertyListCtrl& Grid() const { return *m_grid; }
    /// Assigns a built-in or station image to the grid's current row (a double click in the side
    /// panel's picture lists).
    void AssignImage(SidePanelListKind kind, const std::string& imageName);

private:
    ProjectDocument& m_document;
    CPropertyListCtrl* m_grid = nullptr;
};

} // namespace vesk
