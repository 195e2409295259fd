#pragma once

#include <memory>

#include <QWidget>

#include "render/paintersurface.h"

namespace vesk {

class CObjectData;
class CTekDialogData;
class CTekResourceData;

/// The preview of one dialog in its window: the checkered background with the dialog laid out
/// and drawn at the window's size on every paint. A left click reports the innermost object
/// under the pointer.
class CTekDialogEditorView : public QWidget {
    Q_OBJECT

public:
    /// A view of the dialog (held weakly: the window closes when the dialog goes) of the
    /// resource (which outlives the view).
    CTekDialogEditorView(const CTekResourceData& resource, std::weak_ptr<CTekDialogData> dialog,
                         QWidget* parent = nullptr);

    /// The dialog shown, or nullptr when it is gone.
    CTekDialogData* Dialog() const;
    /// The object under a point of the client area, or nullptr (never a group).
    CObjectData* ObjectAt(int x, int y) const;

signals:
    /// The user clicked an object (with these modifiers held); nothing is reported for a click
    /// between objects.
    void objectClicked(vesk::CObjectData* object, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const CTekResourceData& m_resource;
    std::weak_ptr<CTekDialogData> m_dialog;
    LabelTextCache m_labels;
};

} // namespace vesk
