#pragma once

#include <QObject>

#include "model/resourcedata.h"

namespace vesk {

/// The one open project: the resource with its dialogs, whether it changed since it was last
/// saved or loaded into an empty project, and the notices of its changes. Every user edit of a
/// dialog goes BeginDialogEdit, the edit, EndDialogEdit; that records the step in the dialog's
/// undo history and tells the views.
class ProjectDocument : public QObject {
    Q_OBJECT

public:
    explicit ProjectDocument(QObject* parent = nullptr);

    CTekResourceData& Resource() { return m_resource; }
    const CTekResourceData& Resource() const { return m_resource; }

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified);

    /// Closes the project, leaving the empty, unchanged project of a fresh start: no dialogs,
    /// the default root items and no file name. The dialogs' windows must be closed first.
    void StartEmpty();

    /// Before a user's edit of the dialog: makes sure its history holds the dialog as it is now
    /// (the history's first record is the dialog before its first edit).
    void BeginDialogEdit(CTekDialogData& dialog);
    /// After the edit: records one step (when something changed), marks the project changed and
    /// sends dialogChanged.
    void EndDialogEdit(CTekDialogData& dialog);
    /// After an undo or redo of the dialog: marks the project changed and sends dialogChanged.
    void DialogRestored(CTekDialogData& dialog);
    /// After an edit outside any dialog's tree (the project's own items, the dialog list).
    void ProjectEdited();

signals:
    void modifiedChanged(bool modified);
    /// Something of the dialog changed (its items, its tree, its name).
    void dialogChanged(vesk::CTekDialogData* dialog);

private:
    CTekResourceData m_resource;
    bool m_modified = false;
};

} // namespace vesk
