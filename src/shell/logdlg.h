#pragma once

#include <array>
#include <string>

#include <QWidget>

#include "shell/imagelistctrl.h"

class QTabWidget;
class QPlainTextEdit;

namespace vesk {

class CDibImageList;

/// The tabs of the side panel, in order.
enum SidePanelPage {
    kPageInsertedObjects = 0, ///< "挿入オブジェクト"
    kPageClipboard = 1,       ///< "クリップボード"
    kPageBuiltinImages = 2,   ///< "標準画像(BUILTIN)"
    kPageStationImages = 3,   ///< "ユーザ登録画像(STATION)"
    kPageLinkLog = 4,         ///< "通信ログ"
    kPageProblems = 5,        ///< "問題" (once added)
};

/// The side panel: four picture lists (objects to insert, the clipboard entry, built-in and
/// station images) and the link log, on five tabs.
class CLogDlg : public QWidget, public SidePanelAccess {
    Q_OBJECT

public:
    /// A panel showing the four lists (not owned; they outlive the panel).
    CLogDlg(const CDibImageList& insertedObjects, const CDibImageList& clipboard, const CDibImageList& builtinImages,
            const CDibImageList& stationImages, QWidget* parent = nullptr);
    ~CLogDlg() override;

    /// Selects the tab of that index when it is above 0, then shows the selected tab's page.
    void ShowPage(int index);
    int CurrentPage() const;
    /// The selected entry of the list shown (tabs 0 to 3); false on the log tab or without a
    /// selection.
    bool GetSelectedEntry(std::string& name, SidePanelListKind& kind) const override;
    /// Selects the entry of that name in the built-in or station picture list and shows it.
    void OfferPictures(SidePanelListKind kind, const std::string& selectName) override;
    /// The picture list of a kind.
    CImageListCtrl& List(SidePanelListKind kind) const;
    /// Lays every list out again after the image lists were reloaded.
    void RefreshLists();

    /// Appends one line to the link log: the local time as "%H:%M:%S", the level's marker and
    /// the message (Shift_JIS; UTF-8 lines kept), in the level's colour.
    void AddLog(const std::string& message, int level);
    /// Empties the link log.
    void ClearLog();
    /// Adds the "問題" page as the last tab (the panel takes it over).
    void AddProblemsPage(QWidget* page);
    QPlainTextEdit& LogView() const { return *m_log; }

signals:
    /// A picture was double-clicked: its entry name and list kind.
    void entryActivated(vesk::SidePanelListKind kind, const std::string& name);

private:
    /// Scrolls the log to its last line; posted once for any number of lines added meanwhile.
    void ScrollLogToEnd();

    QTabWidget* m_tabs;
    std::array<CImageListCtrl*, 4> m_lists{}; // by SidePanelListKind
    QPlainTextEdit* m_log;
    bool m_scrollPending = false;
};

} // namespace vesk
