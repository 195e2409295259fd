#include "editor/problemspage.h"

#include "chrome/uitext.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "editor/problemschecker.h"
#include "objects/devicesizes.h"

namespace vesk {

namespace {

QIcon SeverityIcon(LintSeverity severity)
{
    QStyle* style = QApplication::style();
    switch (severity) {
    case LintSeverity::Error:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case LintSeverity::Warning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case LintSeverity::Info:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    }
    return {};
}

QString Utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

// --- The table ----------------------------------------------------------------------------------

CProblemsModel::CProblemsModel(const CProblemsChecker& checker, QObject* parent)
    : QAbstractTableModel(parent), m_checker(checker)
{
    connect(&checker, &CProblemsChecker::findingsChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int CProblemsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_checker.Findings().size());
}

int CProblemsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QString CProblemsModel::SeverityText(LintSeverity severity)
{
    switch (severity) {
    case LintSeverity::Error:
        return tr("エラー");
    case LintSeverity::Warning:
        return tr("警告");
    case LintSeverity::Info:
        return tr("情報");
    }
    return {};
}

QVariant CProblemsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LintFinding& finding = *m_checker.Findings()[static_cast<size_t>(index.row())].finding;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
    case Qt::UserRole:
        switch (index.column()) {
        case kSeverity:
            if (role == Qt::UserRole)
                return static_cast<int>(finding.severity);
            return SeverityText(finding.severity);
        case kCode:
            return Utf8(finding.code);
        case kLocation:
            return Utf8(finding.Location());
        case kItem:
            return Utf8(finding.item);
        case kMessage:
            // The engine words each finding in both languages.
            return Utf8(EditorSpeaksEnglish() ? finding.message : finding.messageJa);
        default:
            return {};
        }
    case Qt::DecorationRole:
        return index.column() == kSeverity ? QVariant(SeverityIcon(finding.severity)) : QVariant();
    default:
        return {};
    }
}

QVariant CProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    switch (section) {
    case kSeverity:
        return tr("重要度");
    case kCode:
        return tr("コード");
    case kLocation:
        return tr("場所");
    case kItem:
        return tr("項目");
    case kMessage:
        return tr("内容");
    default:
        return {};
    }
}

/// Shows the findings of one severity, or all of them.
class SeverityFilterModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void ShowOnly(std::optional<LintSeverity> severity)
    {
        m_only = severity;
        invalidateRowsFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        if (!m_only)
            return true;
        const QModelIndex index = sourceModel()->index(row, CProblemsModel::kSeverity, parent);
        return sourceModel()->data(index, Qt::UserRole).toInt() == static_cast<int>(*m_only);
    }

private:
    std::optional<LintSeverity> m_only;
};

// --- The page -----------------------------------------------------------------------------------

CProblemsPage::CProblemsPage(CProblemsChecker& checker, QWidget* parent)
    : QWidget(parent), m_checker(checker), m_model(new CProblemsModel(checker, this)),
      m_proxy(new SeverityFilterModel(this)), m_filter(new QComboBox), m_sizes(new QPushButton), m_table(new QTableView)
{
    setObjectName(QStringLiteral("problemsPage"));
    setAccessibleName(tr("問題"));

    m_filter->setObjectName(QStringLiteral("problemsSeverityFilter"));
    m_filter->setAccessibleName(tr("表示する重要度"));
    m_filter->addItem(tr("すべて"));
    for (LintSeverity severity : {LintSeverity::Error, LintSeverity::Warning, LintSeverity::Info})
        m_filter->addItem(SeverityIcon(severity), CProblemsModel::SeverityText(severity), static_cast<int>(severity));
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this](int index) {
        const QVariant severity = m_filter->itemData(index);
        m_proxy->ShowOnly(severity.isValid() ? std::optional(static_cast<LintSeverity>(severity.toInt()))
                                             : std::nullopt);
    });

    m_sizes->setObjectName(QStringLiteral("problemsSizesButton"));
    m_sizes->setText(tr("端末サイズ..."));
    m_sizes->setAccessibleName(tr("検査する端末サイズ"));
    connect(m_sizes, &QPushButton::clicked, this, &CProblemsPage::sizesRequested);

    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(Qt::UserRole);
    m_table->setObjectName(QStringLiteral("problemsTable"));
    m_table->setAccessibleName(tr("問題の一覧"));
    m_table->setModel(m_proxy);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->setColumnWidth(CProblemsModel::kSeverity, 80);
    m_table->setColumnWidth(CProblemsModel::kCode, 140);
    m_table->setColumnWidth(CProblemsModel::kLocation, 240);
    m_table->setColumnWidth(CProblemsModel::kItem, 90);
    connect(m_table, &QTableView::activated, this, &CProblemsPage::Activate);

    auto* filterLabel = new QLabel(tr("重要度:"));
    filterLabel->setBuddy(m_filter);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(filterLabel);
    bar->addWidget(m_filter);
    bar->addStretch(1);
    bar->addWidget(m_sizes);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(m_table, 1);
}

void CProblemsPage::ShowOnly(std::optional<LintSeverity> severity)
{
    m_filter->setCurrentIndex(severity ? m_filter->findData(static_cast<int>(*severity)) : 0);
}

const ProblemEntry* CProblemsPage::EntryAt(int row) const
{
    const QModelIndex source = m_proxy->mapToSource(m_proxy->index(row, 0));
    if (!source.isValid() || static_cast<size_t>(source.row()) >= m_checker.Findings().size())
        return nullptr;
    return &m_checker.Findings()[static_cast<size_t>(source.row())];
}

QString CProblemsPage::CountText(int errors, int warnings)
{
    return tr("エラー %1 警告 %2").arg(errors).arg(warnings);
}

void CProblemsPage::Activate(const QModelIndex& index)
{
    const ProblemEntry* entry = EntryAt(index.row());
    if (!entry)
        return;
    // A copy: going to the node may make the checker renew its findings.
    const std::string item = entry->finding->item;
    emit problemActivated(m_checker.NodeOf(*entry), item);
}

// --- The sizes --------------------------------------------------------------------------------------

CLintSizesDlg::CLintSizesDlg(const std::vector<LayoutArea>& chosen, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget)
{
    setObjectName(QStringLiteral("lintSizesDialog"));
    setWindowTitle(tr("検査する端末サイズ"));
    setAccessibleName(windowTitle());
    auto isChosen = [&chosen](const LayoutArea& size) {
        for (const LayoutArea& c : chosen)
            if (c.width == size.width && c.height == size.height)
                return true;
        return false;
    };
    std::vector<LayoutArea> sizes = DeviceSizePresets();
    for (const LayoutArea& size : chosen)
        if (std::none_of(sizes.begin(), sizes.end(),
                         [&](const LayoutArea& s) { return s.width == size.width && s.height == size.height; }))
            sizes.push_back(size);
    for (const LayoutArea& size : sizes) {
        auto* entry = new QListWidgetItem(QString::fromStdString(DeviceSizeText(size)), m_list);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        entry->setCheckState(isChosen(size) ? Qt::Checked : Qt::Unchecked);
    }
    m_list->setObjectName(QStringLiteral("lintSizesList"));
    m_list->setAccessibleName(tr("端末サイズ"));

    auto* note = new QLabel(tr("プロジェクトの端末サイズ (DeviceWidth×DeviceHeight) のほかに検査するサイズ:"));
    note->setWordWrap(true);
    note->setBuddy(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("lintSizesButtons"));
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("lintSizesOk"));
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("lintSizesCancel"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(tr("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(320, 360);
}

std::vector<LayoutArea> CLintSizesDlg::ChosenSizes() const
{
    std::vector<LayoutArea> sizes;
    for (int row = 0; row < m_list->count(); ++row)
        if (const QListWidgetItem* entry = m_list->item(row); entry->checkState() == Qt::Checked)
            if (const std::optional<LayoutArea> size = ParseDeviceSizeText(entry->text().toStdString()))
                sizes.push_back(*size);
    return sizes;
}

} // namespace vesk
