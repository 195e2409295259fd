#pragma once

#include <memory>

#include <QImage>
#include <QRect>
#include <QTransform>
#include <QWidget>

#include "objects/devicelayout.h"
#include "objects/dialoglayout.h"
#include "render/devicepainter.h"
#include "render/paintersurface.h"

namespace vesk {

class CObjectData;
class CTekDialogData;
class CTekResourceData;

/// The preview of one dialog in its window: the checkered background with the dialog laid out
/// at the window's size and painted over it, as boxes or as the device shows it. The view keeps its own layout of the
/// dialog, made anew when the window is resized or the view is told that the dialog changed, and paints and hit-tests
/// that layout through its view transform. A left click reports the innermost object under the pointer.
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

    /// The layout painted and hit-tested, as last made.
    const DialogLayout& Layout() const { return m_layout; }
    /// From layout pixels to the view's client pixels (the identity for now).
    const QTransform& ViewTransform() const { return m_transform; }

    /// The look painted and hit-tested; boxes at first.
    PreviewLook Look() const { return m_look; }
    /// Shows the dialog in that look: lays it out again and repaints when the look changes.
    void SetLook(PreviewLook look);
    /// Where the device look finds its pictures (the assets beside the executable at first).
    void SetPictureFolders(PictureFolders folders);
    const PictureFolders& PictureFolderPaths() const { return m_pictures->Folders(); }

public slots:
    /// Lays the dialog out again (it changed) and repaints.
    void DialogChanged();

signals:
    /// The user clicked an object (with these modifiers held); nothing is reported for a click
    /// between objects.
    void objectClicked(vesk::CObjectData* object, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    /// Makes the view's layout of the dialog at the client size and copies the objects'
    /// rectangles into the objects (the view shows its dialog alone, so its layout is the last).
    void Relayout();

    /// Brings the kept picture of the preview up to date with the layout: all of it after a
    /// resize or a change of most of it, else only where boxes changed.
    void UpdatePicture();

    const CTekResourceData& m_resource;
    std::weak_ptr<CTekDialogData> m_dialog;
    DialogLayout m_layout;
    /// The preview as last painted, and the part of it (client pixels) that no longer shows the
    /// layout; a null picture is painted whole.
    QImage m_picture;
    QRect m_stale;
    QTransform m_transform;
    LabelTextCache m_labels;
    PreviewLook m_look = PreviewLook::Box;
    std::unique_ptr<DevicePictureCache> m_pictures;
};

} // namespace vesk
