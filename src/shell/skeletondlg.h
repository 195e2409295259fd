#pragma once

#include <array>
#include <string>

#include <QDialog>

#include "codegen/skeletongenerator.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vesk {

class CTekResourceData;
class Prompts;

/// The skeleton generator window "スケルトン生成": which files to write, whether each may
/// overwrite, which dialogs, where to; and the list of what each file's generation gave. It is
/// modeless, made once and kept; closing it only hides it.
class CSkeletonDlg : public QDialog {
    Q_OBJECT

public:
    /// A window generating the project's skeleton from the templates in templateFolder, into
    /// outputFolder at first. The project and prompts outlive it.
    CSkeletonDlg(const CTekResourceData& project, std::string templateFolder, std::string outputFolder,
                 Prompts& prompts, QWidget* parent = nullptr);

    /// Shows the window again for another run: the dialog-name field is set to dialogName (the
    /// active window's dialog, Shift_JIS), the result list is cleared, the controls show the
    /// options.
    void Reopen(const std::string& dialogName);
    /// "スケルトン生成": reads the controls, generates, lists the results.
    void Generate();
    /// "参照": the folder chooser for the output folder.
    void BrowseOutputFolder();

    SkeletonOptions& Options() { return m_options; }
    /// Shows the options in the controls, and takes them back.
    void LoadControls();
    void TakeControls();

    QCheckBox& GenerateBox(SkeletonRow row) const { return *m_generate[static_cast<size_t>(row)]; }
    QCheckBox& OverwriteBox(SkeletonRow row) const { return *m_overwrite[static_cast<size_t>(row)]; }
    QCheckBox& OverwriteAllBox() const { return *m_overwriteAll; }
    QRadioButton& ThisDialogOnly() const { return *m_thisDialog; }
    QRadioButton& AllDialogs() const { return *m_allDialogs; }
    QLineEdit& DialogNameField() const { return *m_dialogName; }
    QLineEdit& OutputFolderField() const { return *m_outputFolder; }
    QListWidget& Results() const { return *m_results; }
    QPushButton& GenerateButton() const { return *m_generateButton; }
    /// The file-name labels of the first three rows.
    QLabel& FileLabel(int row) const { return *m_fileLabels.at(static_cast<size_t>(row)); }

private:
    const CTekResourceData& m_project;
    Prompts& m_prompts;
    SkeletonOptions m_options;
    std::array<QCheckBox*, kSkeletonRowCount> m_generate{};
    std::array<QCheckBox*, kSkeletonRowCount> m_overwrite{};
    std::array<QLabel*, 3> m_fileLabels{};
    QCheckBox* m_overwriteAll = nullptr;
    QRadioButton* m_thisDialog = nullptr;
    QRadioButton* m_allDialogs = nullptr;
    QLineEdit* m_dialogName = nullptr;
    QLineEdit* m_outputFolder = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_generateButton = nullptr;
    QListWidget* m_results = nullptr;
};

} // namespace vesk
