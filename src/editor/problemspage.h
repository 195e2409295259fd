#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QDialog>
#include <QSortFilterProxyModel>
#include <QWidget>

#include "objects/dialoglayout.h"
#include "records/projectlint.h"

class QComboBox;
class QListWidget;
class QPushButton;
class QTableView;

namespace vesk {

class CProblemsChecker;
class TekClass;

/// The findings of a checker as a table: severity (with its icon), code, location, item and
/// the Japanese message. Sorting reads Qt::UserRole (the severity as a number in column 0).
class CProblemsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kSeverity, kCode, kLocation, kItem, kMessage, kColumnCount };

    explicit CProblemsModel(const CProblemsChecker& checker, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// The shown name of a severity ("エラー", "警告", "情報").
    static QString SeverityText(LintSeverity severity);

private:
    const CProblemsChecker& m_checker;
};

/// The "問題" page of the side panel: the project's findings in a table that sorts by any
/// column and shows every severity or one of them; a double click (or Enter) on a finding asks
/// for its node and item, and a button asks for the device sizes to check.
class CProblemsPage : public QWidget {
    Q_OBJECT

public:
    explicit CProblemsPage(CProblemsChecker& checker, QWidget* parent = nullptr);

    QTableView& Table() const { return *m_table; }
    QComboBox& SeverityFilter() const { return *m_filter; }
    QPushButton& SizesButton() const { return *m_sizes; }
    /// The severity shown alone, or none for every severity.
    void ShowOnly(std::optional<LintSeverity> severity);
    /// The finding shown in the table's row (after sorting and filtering), or nullptr.
    const struct ProblemEntry* EntryAt(int row) const;

    /// The status bar's summary of the counts: "エラー N 警告 M".
    static QString CountText(int errors, int warnings);

signals:
    /// A finding was activated: its node (nullptr when it names none) and item name (UTF-8).
    void problemActivated(vesk::TekClass* node, const std::string& item);
    /// The user asked to choose the device sizes checked.
    void sizesRequested();

private:
    void Activate(const QModelIndex& index);

    CProblemsChecker& m_checker;
    CProblemsModel* m_model;
    class SeverityFilterModel* m_proxy;
    QComboBox* m_filter;
    QPushButton* m_sizes;
    QTableView* m_table;
};

/// The small dialog that chooses the device sizes checked: the presets (and any other size
/// chosen before) in a list of check boxes.
class CLintSizesDlg : public QDialog {
    Q_OBJECT

public:
    CLintSizesDlg(const std::vector<LayoutArea>& chosen, QWidget* parent = nullptr);

    QListWidget& List() const { return *m_list; }
    /// The sizes checked, in the list's order.
    std::vector<LayoutArea> ChosenSizes() const;

private:
    QListWidget* m_list;
};

} // namespace vesk
