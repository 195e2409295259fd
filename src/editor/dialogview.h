#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QImage>
#include <QRect>
#include <QTransform>
#include <QWidget>

#include "editor/previewsize.h"
#include "objects/devicelayout.h"
#include "objects/dialoglayout.h"
#include "render/devicepainter.h"
#include "render/paintersurface.h"

class QRubberBand;
class QScrollBar;

namespace vesk {

class CObjectData;
class CTekDialogData;
class CTekResourceData;
class DropHandler;
class DropIndicator;
class TekClass;
struct DropSpot;

/// The preview of one dialog in its window: the checkered background with the dialog laid out
/// at the window's size (or at a fixed area, drawn at a zoom in the middle of the window and
/// scrolled when larger) and painted over it, as boxes or as the device shows it. The view keeps
/// its own layout of the dialog, made anew when the area changes or the view is told that the
/// dialog changed, and paints and hit-tests that layout through its view transform. A left click
/// reports the innermost object under the pointer.
class CTekDialogEditorView : public QWidget {
    Q_OBJECT

public:
    /// A view of the dialog (held weakly: the window closes when the dialog goes) of the
    /// resource (which outlives the view).
    CTekDialogEditorView(const CTekResourceData& resource, std::weak_ptr<CTekDialogData> dialog,
                         QWidget* parent = nullptr);

    /// The dialog shown, or nullptr when it is gone.
    CTekDialogData* Dialog() const;
    /// The object under a point of the client area, or nullptr (never a group): the innermost
    /// object of the view's layout there, the last one laid out where objects overlap.
    CObjectData* ObjectAt(int x, int y) const;

    /// The layout painted and hit-tested, made anew first when the dialog changed since.
    const DialogLayout& Layout() const
    {
        EnsureLayout();
        return m_layout;
    }
    /// From layout pixels to the view's client pixels: the zoom, then the place of the picture.
    const QTransform& ViewTransform() const { return m_transform; }

    // --- Area and zoom ---------------------------------------------------------------------------
    /// The area the dialog is laid out in; the window's client area at first.
    const PreviewSize& Size() const { return m_size; }
    /// Lays the dialog out in that area and shows it at the view's zoom.
    void SetPreviewSize(const PreviewSize& size);
    /// The area laid out, in layout pixels.
    LayoutArea Area() const;
    /// The zoom in percent: 100 in the window's area, else the one set.
    int Zoom() const;
    /// Draws a fixed area at the zoom (limited to 25 to 800 %), keeping the layout point under
    /// the anchor (client pixels; the middle of the view when none) in place. Nothing changes in
    /// the window's area.
    void SetZoom(int percent, std::optional<QPointF> anchor = std::nullopt);
    /// One zoom step in or out (NextZoomStep).
    void ZoomStep(bool in);
    /// Where the preview picture lies in the client area (partly outside it when scrolled).
    QRect PictureRect() const;
    /// The preview picture (the area at the zoom, as shown), brought up to date.
    const QImage& PreviewPicture();

    // --- Hands: drags, the rubber band, the keyboard ---------------------------------------------
    /// The handler that takes drops on the preview (nullptr: none are taken).
    void SetDropHandler(DropHandler* handler) { m_dropHandler = handler; }
    /// The node the keyboard walks from (the selected one), told by the window.
    void SetCurrentNode(TekClass* node) { m_current = node; }
    /// The group under a point of the client area (the innermost whose frame holds it), or nullptr.
    CObjectData* GroupAt(int x, int y) const;
    /// Where a drop at the point puts what it carries: on an object, before or after it (by the
    /// half of its box the point lies in; a new object or a picture: on it); elsewhere into the
    /// innermost group there, a FRAME group at the point in the dialog's units.
    bool DropSpotAt(const QPoint& point, bool newObject, DropSpot& spot) const;
    /// The nodes the keyboard walks (every object and group below the root group) in tree order.
    std::vector<CObjectData*> WalkOrder() const;
    /// The node Tab (forward) or Shift+Tab reaches from the current one.
    CObjectData* NextInTreeOrder(bool forward) const;
    /// The nearest node in the direction of an arrow key from the current one, or nullptr.
    CObjectData* NeighbourTowards(int key) const;
    /// The keyboard's commands as actions with their shortcuts shown (for the context menu).
    const std::vector<QAction*>& KeyActions() const { return m_keyActions; }
    /// Whether a drag over the view shows where it would go (the group's frame and the line).
    bool ShowsDropIndicator() const;
    /// The look painted and hit-tested; boxes at first.
    PreviewLook Look() const { return m_look; }
    /// Shows the dialog in that look: lays it out again and repaints when the look changes.
    void SetLook(PreviewLook look);
    /// Where the device look finds its pictures (the assets beside the executable at first).
    void SetPictureFolders(PictureFolders folders);
    const PictureFolders& PictureFolderPaths() const { return m_pictures->Folders(); }

public slots:
    /// The dialog changed: it is laid out again before the next paint or hit test, and repainted.
    void DialogChanged();

signals:
    /// The zoom shown changed (to this percent).
    void zoomChanged(int percent);
    /// The user clicked an object (with these modifiers held); nothing is reported for a click
    /// between objects.
    void objectClicked(vesk::CObjectData* object, Qt::KeyboardModifiers modifiers);
    /// The keyboard chose a node (Tab, arrows, Enter, Backspace).
    void nodeChosen(vesk::CObjectData* object);
    /// A rubber band was drawn: the objects it touches (maybe none).
    void objectsBanded(const std::vector<vesk::CObjectData*>& objects);
    /// Delete was pressed.
    void deleteRequested();
    /// F2 was pressed: the grid should open the Text or Name cell.
    void renameRequested();
    /// The context menu is asked for at a global position.
    void contextMenuRequested(const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void SetUpHands();
    /// The layout's entry of the node, or nullptr.
    const LaidOutNode* EntryOf(const TekClass* node) const;
    /// Takes a drag over the view: accepts or refuses it and shows where it would go.
    void FollowDrag(QDropEvent* event);
    void HideDropIndicator();
    /// Runs a keyboard command (a key of the view or its action).
    bool RunKey(int key, Qt::KeyboardModifiers modifiers);

    /// Makes the view's layout of the dialog at the client size and copies the objects'
    /// rectangles into the objects (the view shows its dialog alone, so its layout is the last).
    void Relayout();
    /// Lays the dialog out again when it changed since the layout was made.
    void EnsureLayout() const;

    /// Brings the kept picture of the preview up to date with the layout: all of it after a
    /// resize or a change of most of it, else only where boxes changed.
    void UpdatePicture();
    /// Shows the scroll bars the picture needs and places the picture: the view transform.
    void UpdateGeometry();

    const CTekResourceData& m_resource;
    std::weak_ptr<CTekDialogData> m_dialog;
    DialogLayout m_layout;
    /// The preview picture as last painted (the area at the zoom), and the part of it (picture
    /// pixels) that no longer shows the layout; a null picture is painted whole.
    QImage m_picture;
    QRect m_stale;
    /// The dialog changed since the layout was made.
    bool m_layoutStale = false;
    QTransform m_transform;
    LabelTextCache m_labels;
    PreviewSize m_size;
    int m_zoom = 100;
    QScrollBar* m_horizontal = nullptr;
    QScrollBar* m_vertical = nullptr;

    DropHandler* m_dropHandler = nullptr;
    TekClass* m_current = nullptr;
    DropIndicator* m_indicator = nullptr;
    QRubberBand* m_band = nullptr;
    QPoint m_pressPoint;
    CObjectData* m_pressObject = nullptr;
    bool m_pressed = false;
    std::vector<QAction*> m_keyActions;
    PreviewLook m_look = PreviewLook::Box;
    std::unique_ptr<DevicePictureCache> m_pictures;
};

} // namespace vesk
