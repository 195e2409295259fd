#pragma once

#include <string>

#include <QObject>

#include "editor/sidepanelaccess.h"

class QLineEdit;
class QWidget;

namespace vesk {

class CPropertyListCtrl;
class Prompts;
class ProjectDocument;
class TekClass;

/// The property grid of the selected node with its search field: it shows the node the document
/// selects (several marked objects together: the items they all have), follows the document's
/// changes of those items, and commits values through the document.
class CPropertyPanel : public QObject {
    Q_OBJECT

public:
    CPropertyPanel(ProjectDocument& document, Prompts& prompts, QWidget* gridParent);

    CPropertyListCtrl& Grid() const { return *m_grid; }
    /// "プロパティを検索": shows only the rows whose key or value holds its text; Escape clears it.
    QLineEdit& FilterField() const { return *m_filter; }
    /// Puts the focus in the search field with its text selected (Ctrl+F).
    void FocusFilter();
    /// Opens the text cell of the shown node's 'Text' item, or of its 'Name' when it has no
    /// 'Text' (F2 in a preview); false when it has neither.
    bool EditTextOrName();
    /// Assigns a built-in or station image to the grid's current row (a double click in the side
    /// panel's picture lists).
    void AssignImage(SidePanelListKind kind, const std::string& imageName);
    /// The grid's current row when the grid shows the node, else -1 (where a dropped picture goes).
    int CurrentRowOf(const TekClass& node) const;
    /// Makes the row of the shown node's item of that name (UTF-8) the current row and scrolls
    /// to it; false when the grid shows no node or the node has no such item.
    bool ShowItem(const std::string& itemName);

private:
    /// Shows the document's selection: the selected node, or the marked objects together.
    void ShowSelection();

    ProjectDocument& m_document;
    CPropertyListCtrl* m_grid = nullptr;
    QLineEdit* m_filter = nullptr;
};

} // namespace vesk
