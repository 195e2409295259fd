#include "document/projectdocument.h"

#include "objects/undobuffer.h"

namespace vesk {

ProjectDocument::ProjectDocument(QObject* parent) : QObject(parent) {}

void ProjectDocument::SetModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void ProjectDocument::StartEmpty()
{
    m_resource.Reset();
    SetModified(false);
}

void ProjectDocument::BeginDialogEdit(CTekDialogData& dialog)
{
    if (dialog.UndoHistory().RecordCount() == 0)
        RecordUndoStep(dialog);
}

void ProjectDocument::EndDialogEdit(CTekDialogData& dialog)
{
    if (RecordUndoStep(dialog))
        SetModified(true);
    emit dialogChanged(&dialog);
}

void ProjectDocument::DialogRestored(CTekDialogData& dialog)
{
    SetModified(true);
    emit dialogChanged(&dialog);
}

void ProjectDocument::ProjectEdited()
{
    SetModified(true);
    emit dialogChanged(nullptr);
}

} // namespace vesk
