#pragma once

#include <string>
#include <vector>

#include <QStringList>
#include <QTableView>

#include "editor/sidepanelaccess.h"

namespace vesk {

class CDibImage;
class CDibImageList;
class PictureListModel;

/// The rows of a picture list: pictures in list order, at most min(columnsPerRow, 15) a row, and
/// a new row wherever a name's first byte differs from the name before it. Each row holds the
/// indexes of its pictures.
std::vector<std::vector<int>> PictureRows(const std::vector<std::string>& names, int columnsPerRow);

/// The entry name of a picture of that list kind: objects drop the extension and the first
/// three characters and are upper-cased, the clipboard drops the extension, images keep the name.
std::string EntryNameOf(const std::string& pictureName, SidePanelListKind kind);

/// The title of a list kind, as its side-panel tab reads ("挿入オブジェクト" and so on).
QString ListTitle(SidePanelListKind kind);

/// The caption lines of a picture in a list of that kind: the entry name for objects and the
/// clipboard; the file name and "<height> x <width> <bit depth> bit" for images.
QStringList PictureCaptions(const CDibImage& image, SidePanelListKind kind);

/// A picture list of the side panel: a grid of thumbnail cells with captions (65 pixels square
/// for objects and the clipboard, 80 for images), grouped into rows by the first byte of the
/// names. Each cell is an item of its model, so assistive technology reads the captions.
class CImageListCtrl : public QTableView {
    Q_OBJECT

public:
    /// A list of that kind showing images (not owned; it must outlive the control).
    CImageListCtrl(SidePanelListKind kind, const CDibImageList& images, QWidget* parent = nullptr);
    ~CImageListCtrl() override;

    SidePanelListKind Kind() const { return m_kind; }
    /// Lays the pictures out again (after the image list was reloaded).
    void Refresh();
    /// The selected picture's entry name and this list's kind; false without a selection.
    bool GetSelectedEntry(std::string& name, SidePanelListKind& kind) const;
    /// Selects the first picture whose name equals the name exactly; nothing when none does.
    void SelectByName(const std::string& name);
    /// The selected picture's index in the image list, -1 for none.
    int SelectedIndex() const { return m_selected; }
    /// Selects the picture of that index and repaints; -1 or an index beyond the list selects none.
    void SetSelectedIndex(int index);

    /// Cell width and height: 65 for objects and the clipboard, 80 for images.
    int CellSize() const;
    int ColumnsPerRow() const { return m_columnsPerRow; }
    /// The picture at a row and column of the grid, -1 for an empty cell.
    int PictureAt(int row, int column) const;
    int RowCount() const;
    /// The model cell that shows a picture; invalid when the index designates no picture.
    QModelIndex CellOf(int picture) const;

signals:
    /// A picture was double-clicked or activated with Enter: its entry name and this list's kind.
    void entryActivated(vesk::SidePanelListKind kind, const std::string& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    /// A picture dragged away carries its entry (an object type to insert, or a picture to
    /// assign) to the tree or a preview.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    /// Arrow keys walk the pictures: left and right in list order, up and down to the nearest
    /// picture of the row above or below; Home and End to the first and last picture.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    /// Empty cells are never selected, and a picture is never deselected, only replaced.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    /// Makes the view's selection show the selected picture.
    void ShowSelection();
    /// Takes the selected picture from the view's selection (mouse, keyboard, assistive tools).
    void TakeSelection();
    /// Emits entryActivated for the selected picture, when there is one.
    void ActivateSelected();

    SidePanelListKind m_kind;
    const CDibImageList& m_images;
    PictureListModel* m_model;
    int m_selected = -1;
    int m_columnsPerRow = 3;
    bool m_showingSelection = false;
    /// Where the left button went down, for a drag; x below 0 when none is pending.
    QPoint m_dragStart{-1, -1};
};

} // namespace vesk
