#include "shell/skeletondlg.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "objects/resourcedata.h"

namespace vesk {

namespace {

/// The text of each row's generate box, in row order.
constexpr const char* kRowTexts[kSkeletonRowCount] = {QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", "メイン"), QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", "アプリケーション"), QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", "ダイアログ生成"), QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", "ダイアログ"),
                                                      QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", "JSON"),   QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", "プロジェクト"),     QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", "Makefile")};

/// The generator's result lines: a mark, then the file or dialog, then what happened. The part
/// after the name is the generator's own fixed text.
struct ResultEnding {
    const char* mark;
    const char* ending; ///< after the name, or the whole line after the mark when the line has no name
    bool named;
};
const ResultEnding kResultEndings[] = {
    {"○ ", QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", " を更新しました。"), true},
    {"× ", QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", " キャンセルしました。(テンプレートの読込みエラー)"), true},
    {"× ", QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", " キャンセルしました。(ファイルが存在します[上書き禁止])"), true},
    {"× ", QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", " キャンセルしました。(書込みできませんでした)"), true},
    {"× ", QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", " キャンセルしました。(オープンエラー)"), true},
    {"× ", QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", " TemplateType が指定されていません。"), true},
    {"× ", QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", " フォルダが作成できませんでした。"), true},
    {"× ", QT_TRANSLATE_NOOP("vesk::CSkeletonDlg", "出力フォルダが指定されていません。"), false},
};

/// A result line in the editor's language: its fixed ending translated, the name as it is.
QString ResultLineText(const QString& line)
{
    for (const ResultEnding& result : kResultEndings) {
        const QString mark = QString::fromUtf8(result.mark);
        const QString ending = QString::fromUtf8(result.ending);
        if (!line.startsWith(mark) || !line.endsWith(ending) || (!result.named && line != mark + ending))
            continue;
        const QString name = line.mid(mark.size(), line.size() - mark.size() - ending.size());
        return mark + name + QCoreApplication::translate("vesk::CSkeletonDlg", result.ending);
    }
    return line;
}

} // namespace

CSkeletonDlg::CSkeletonDlg(const CTekResourceData& project, std::string templateFolder, std::string outputFolder,
                           Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_project(project), m_prompts(prompts)
{
    setObjectName(QStringLiteral("skeletonDialog"));
    setWindowTitle(tr("スケルトン生成"));
    setModal(false);
    m_options.templateFolder = std::move(templateFolder);
    m_options.outputFolder = std::move(outputFolder);
    m_options.createOutputFolder = true;

    auto* layout = new QVBoxLayout(this);
    auto* overwriteRow = new QHBoxLayout;
    m_overwriteAll = new QCheckBox(tr("上書き"), this);
    m_overwriteAll->setObjectName(QStringLiteral("overwriteAll"));
    auto* overwriteHint =
        new QLabel(tr("←ここにチェックを入れると全て上書きになります。個別指定は下のチェックで。"), this);
    m_overwriteAll->setAccessibleDescription(overwriteHint->text());
    overwriteRow->addWidget(m_overwriteAll);
    overwriteRow->addWidget(overwriteHint, 1);
    layout->addLayout(overwriteRow);

    auto* rows = new QGridLayout;
    const std::string& app = project.GetItem("Name");
    const QString labels[3] = {ToQ(app + ".cpp"), ToQ(app + "Application.cpp " + app + "Application.h"),
                               ToQ(app + "DialogMaker.cpp " + app + "DialogMaker.h")};
    for (int row = 0; row < kSkeletonRowCount; ++row) {
        auto* overwrite = new QCheckBox(this);
        overwrite->setObjectName(QStringLiteral("overwriteRow%1").arg(row));
        overwrite->setAccessibleName(tr("上書き（%1）").arg(tr(kRowTexts[row])));
        overwrite->setToolTip(overwrite->accessibleName());
        auto* generate = new QCheckBox(tr(kRowTexts[row]), this);
        generate->setObjectName(QStringLiteral("generateRow%1").arg(row));
        m_overwrite[static_cast<size_t>(row)] = overwrite;
        m_generate[static_cast<size_t>(row)] = generate;
        rows->addWidget(overwrite, row, 0);
        rows->addWidget(generate, row, 1);
        if (row < 3) {
            auto* files = new QLabel(labels[row], this);
            files->setObjectName(QStringLiteral("fileNames%1").arg(row));
            NameValueLabel(*files, tr(kRowTexts[row]) + tr(" のファイル"));
            m_fileLabels[static_cast<size_t>(row)] = files;
            rows->addWidget(files, row, 2, 1, 2);
        }
    }
    m_dialogName = new QLineEdit(this);
    m_dialogName->setObjectName(QStringLiteral("dialogName"));
    m_dialogName->setAccessibleName(tr("ダイアログ名"));
    const int dialogsRow = static_cast<int>(SkeletonRow::Dialogs);
    rows->addWidget(m_dialogName, dialogsRow, 2);
    auto* scope = new QHBoxLayout;
    m_thisDialog = new QRadioButton(tr("このダイアログのみ"), this);
    m_thisDialog->setObjectName(QStringLiteral("scopeThisDialog"));
    m_allDialogs = new QRadioButton(tr("すべてのダイアログ"), this);
    m_allDialogs->setObjectName(QStringLiteral("scopeAllDialogs"));
    scope->addWidget(m_thisDialog);
    scope->addWidget(m_allDialogs);
    rows->addLayout(scope, dialogsRow, 3);
    rows->setColumnStretch(2, 1);
    layout->addLayout(rows);

    auto* folderRow = new QHBoxLayout;
    auto* folderLabel = new QLabel(tr("出力フォルダ"), this);
    m_outputFolder = new QLineEdit(this);
    m_outputFolder->setObjectName(QStringLiteral("outputFolder"));
    m_outputFolder->setAccessibleName(tr("出力フォルダ"));
    folderLabel->setBuddy(m_outputFolder);
    m_browse = new QPushButton(tr("参照"), this);
    m_browse->setObjectName(QStringLiteral("browseOutputFolder"));
    folderRow->addWidget(folderLabel);
    folderRow->addWidget(m_outputFolder, 1);
    folderRow->addWidget(m_browse);
    layout->addLayout(folderRow);

    m_generateButton = new QPushButton(tr("スケルトン生成"), this);
    m_generateButton->setObjectName(QStringLiteral("generateSkeleton"));
    m_generateButton->setDefault(true);
    layout->addWidget(m_generateButton, 0, Qt::AlignRight);

    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("skeletonResults"));
    m_results->setAccessibleName(tr("結果"));
    m_results->setSortingEnabled(false);
    layout->addWidget(m_results, 1);

    connect(m_browse, &QPushButton::clicked, this, &CSkeletonDlg::BrowseOutputFolder);
    connect(m_generateButton, &QPushButton::clicked, this, &CSkeletonDlg::Generate);
    resize(620, 520);
    LoadControls();
}

void CSkeletonDlg::LoadControls()
{
    for (int row = 0; row < kSkeletonRowCount; ++row) {
        m_generate[static_cast<size_t>(row)]->setChecked(m_options.generate[static_cast<size_t>(row)]);
        m_overwrite[static_cast<size_t>(row)]->setChecked(m_options.overwrite[static_cast<size_t>(row)]);
    }
    m_overwriteAll->setChecked(m_options.overwriteAll);
    (m_options.scope == DialogScope::AllDialogs ? m_allDialogs : m_thisDialog)->setChecked(true);
    m_dialogName->setText(ToQ(m_options.dialogName));
    m_outputFolder->setText(PathToQ(m_options.outputFolder));
}

void CSkeletonDlg::TakeControls()
{
    for (int row = 0; row < kSkeletonRowCount; ++row) {
        m_options.generate[static_cast<size_t>(row)] = m_generate[static_cast<size_t>(row)]->isChecked();
        m_options.overwrite[static_cast<size_t>(row)] = m_overwrite[static_cast<size_t>(row)]->isChecked();
    }
    m_options.overwriteAll = m_overwriteAll->isChecked();
    m_options.scope = m_allDialogs->isChecked() ? DialogScope::AllDialogs : DialogScope::ThisDialogOnly;
    m_options.dialogName = FromQ(m_dialogName->text());
    m_options.outputFolder = PathFromQ(m_outputFolder->text());
}

void CSkeletonDlg::Reopen(const std::string& dialogName)
{
    // The options stay as the user left them in the controls.
    TakeControls();
    m_options.dialogName = dialogName;
    m_results->clear();
    LoadControls();
    show();
    raise();
    activateWindow();
}

void CSkeletonDlg::Generate()
{
    TakeControls();
    m_results->clear();
    SkeletonGenerator generator(m_project, m_options);
    for (const std::string& line : generator.Generate())
        m_results->addItem(ResultLineText(ToQ(line)));
    // The generation normalises the output folder.
    m_outputFolder->setText(PathToQ(m_options.outputFolder));
}

void CSkeletonDlg::BrowseOutputFolder()
{
    TakeControls();
    const QString chosen =
        m_prompts.ChooseFolder(this, tr("フォルダの参照"), tr("フォルダを選択してください"),
                               PathToQ(m_options.outputFolder));
    if (chosen.isEmpty())
        return;
    m_options.outputFolder = PathFromQ(chosen);
    LoadControls();
}

} // namespace vesk
