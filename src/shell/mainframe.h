#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "editor/editorframe.h"
#include "link/linklog.h"
#include "render/picturelists.h"
#include "shell/language.h"
#include "shell/profilefile.h"
#include "document/projectdocument.h"
#include "model/savefile.h"
#include "editor/previewsize.h"
#include "objects/devicelayout.h"
#include "render/devicepainter.h"
#include "shell/shellpaths.h"

class QAction;
class QActionGroup;
class QDialog;
class QDockWidget;
class QFileSystemWatcher;
class QComboBox;
class QLabel;
class QTimer;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace vesk {

class CachedTextMeasurer;
class CLogDlg;
class CObjectData;
class CProblemsChecker;
class CProblemsPage;
class RecoveryJournal;
struct OrphanJournal;
class CResourceDlg;
class CSkeletonDlg;
class CTekDialogEditorView;

/// The settings the main window reads at start and writes when it closes.
inline constexpr const char* kSettingSection = "SETTING";
inline constexpr const char* kRecentSection = "Recent File List";
inline constexpr int kRecentFileCount = 10;

/// The main window: the one project, the four picture lists, the resource panel (right) and the
/// side panel (bottom) in dock bars, a window per open dialog, the menus, tool bar and status bar,
/// and the settings file.
class CMainFrame : public QMainWindow, public EditorFrame, private LinkLog {
    Q_OBJECT

public:
    /// A main window finding its data and settings through paths and asking the user through
    /// prompts (which must outlive it). Reads the settings file.
    CMainFrame(ShellPaths paths, Prompts& prompts, QWidget* parent = nullptr);
    ~CMainFrame() override;

    ProjectDocument& Project() { return m_project; }
    CResourceDlg& ResourcePanel() const { return *m_resourcePanel; }
    CLogDlg& SidePanelDialog() const { return *m_sidePanel; }
    QMdiArea& DialogArea() const { return *m_mdiArea; }
    const ShellPaths& Paths() const { return m_paths; }
    int CurrentLinkState() const { return m_linkState; }
    /// The findings of the open project and the side panel's "問題" page showing them.
    CProblemsChecker& Problems() const { return *m_problems; }
    CProblemsPage& ProblemsPage() const { return *m_problemsPage; }
    /// The status bar's count of errors and warnings ("エラー N 警告 M").
    QLabel& ProblemsCount() const { return *m_problemsCount; }
    const std::vector<std::string>& RecentFiles() const { return m_recentFiles; }

    // --- Commands --------------------------------------------------------------------------
    /// Opens a project or dialog file. Into a project that has dialogs it asks whether to add the
    /// file's dialogs (merge) or to close the project first (asking to save its changes). False
    /// (after telling the user) when the user cancelled or the file cannot be read, does not
    /// parse or holds no dialog; nothing changes then, save the closing the user chose.
    bool OpenFile(const std::string& path);
    /// "新規プロジェクト": asks to save changes, closes every dialog window and starts an empty
    /// project without a file; false when the user cancelled.
    bool NewProject();
    /// "新規作成": a new dialog, in a window of its own.
    void NewDialog();
    /// The open command: asks for a file, then OpenFile.
    void OpenWithDialog();
    /// "プロジェクトの保存": asks for a file and saves every dialog; false when cancelled or failed.
    bool SaveProject();
    /// "上書き保存": saves every dialog to the project's file without asking and says so in the
    /// status bar; a project without a file is saved as SaveProject does.
    bool Save();
    /// "リソースの保存": saves the active window's dialog alone.
    bool SaveActiveDialog();
    /// "全てのリソースを破棄" (after asking to save changes); false when the user cancelled.
    bool DiscardAll();
    /// Opens a recent-file entry; an entry whose file is gone is reported and leaves the list.
    void OpenRecentFile(int index);
    /// Asks "変更を保存しますか？" when the project has changes; false when the user cancelled.
    bool MaybeSaveChanges();

    // --- No work lost ------------------------------------------------------------------------
    /// The recovery journal of the project's unsaved changes.
    RecoveryJournal& Journal() const { return *m_journal; }
    /// At start: when editors stopped without saving and left journals that no running editor
    /// holds, asks "前回、保存されずに終了した編集があります。" with their list, and restores
    /// the newest (復元), removes them (破棄) or keeps them for the next start (後で).
    void OfferRecovery();
    /// Opens the journal as the project: its file is the project's file again and its changes
    /// are unsaved, so that a save writes that file. The journal goes on as this editor's own.
    bool RestoreJournal(OrphanJournal&& orphan);
    /// Whether another program changed the project's file since the editor read or wrote it (and
    /// it was not read again): a save to it asks before overwriting.
    bool ProjectFileChangedOnDisk() const { return m_diskChanged; }
    /// Compares the project's file with what the editor last read or wrote, as a change of the
    /// file seen by the watcher does (after a short wait); asks to read it again or says that it
    /// changed.
    void CheckProjectFileOnDisk();
    /// Closes the project (which must have no unsaved changes) and opens its file again.
    bool ReloadProjectFile();
    /// "スケルトンの作成": shows the generator window (made on first use), or the message that the
    /// project has no name. Answers the window, or nullptr when it was not shown.
    CSkeletonDlg* OpenSkeletonGenerator();
    /// The About box (not shown).
    QDialog* CreateAboutBox();
    /// The window of the dialog, or nullptr.
    QMdiSubWindow* WindowOf(const CTekDialogData& dialog) const;
    /// The view of the active dialog window, or nullptr.
    CTekDialogEditorView* ActiveView() const;
    /// Undo and redo of the project's latest step; copy, cut and paste on the active dialog
    /// window.
    void UndoActive();
    void RedoActive();
    void CopyActive();
    void CutActive();
    void PasteActive();
    /// "プロパティを検索" (Ctrl+F): the property grid's search field takes the focus.
    void FindProperty();
    /// The context menu of a preview: the tree's edit commands and the preview's keys (made
    /// anew each time; it deletes itself when closed).
    QMenu* PreviewMenu(CTekDialogEditorView& view);
    /// "再描画": repaints the views and the resource panel.
    void Redraw();
    /// "検査する端末サイズ": opens the dialog that chooses the device sizes the problems list
    /// checks besides the project's own (kept as [SETTING] LintSizes); answers it (it deletes
    /// itself when closed, applying the sizes when accepted).
    QDialog* ChooseLintSizes();
    /// Goes to a finding: selects its node as a choice in the tree does (its dialog's window
    /// comes forward or opens) and puts the property grid on its item.
    void ShowProblem(TekClass* node, const std::string& item);
    /// Writes the settings file (the main window does this when it closes).
    bool WriteSettings();
    /// Enables the commands for the present state.
    void UpdateCommands();
    /// The action of a command, by objectName (for tests and assistive tools).
    QAction* Action(const char* objectName) const;
    /// "枠表示" or "端末イメージ表示": shows every dialog window in that look, as new ones will be.
    void SetPreviewLook(PreviewLook look);
    PreviewLook CurrentPreviewLook() const { return m_previewLook; }
    /// "言語 / Language": keeps the language for the next start (the running editor keeps its
    /// own) and says so.
    void ChooseLanguage(LanguageChoice choice);
    LanguageChoice ChosenLanguage() const { return m_languageChoice; }
    /// The size box's choice: lays every dialog window out at that area, as new ones will be.
    void SetPreviewSize(const PreviewSize& size);
    const PreviewSize& CurrentPreviewSize() const { return m_previewSize; }
    /// "プレビューを画像で保存...": writes the active dialog window's preview picture (its look,
    /// area and zoom) as a PNG file chosen by the user; false when nothing was written (no
    /// window, cancelled, or the write failed, which is shown in a message box).
    bool ExportPreview();

    // --- EditorFrame -----------------------------------------------------------------------
    bool ActivateDialogWindow(CTekDialogData& dialog) override;
    void OpenDialogWindow(CTekDialogData& dialog) override;
    void CloseDialogWindows(const CTekDialogData& dialog) override;
    void RefreshDialogViews(const CTekDialogData* dialog) override;
    CTekDialogData* ActiveDialog() const override;
    void SetStatusText(const QString& text) override;
    void LoadImages() override;
    void SetLinkState(int state) override;
    SidePanelAccess& SidePanel() override;
    Prompts& UserPrompts() override { return m_prompts; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;

private:
    // LinkLog: the link writes into the side panel's log.
    void AddLog(const std::string& message, int level) override;
    void ShowMessage(const std::string& text) override;

    void CreateActions();
    void CreateMenus();
    void AddLanguageMenu(QMenu* view);
    void CreateToolBar();
    void CreateStatusBar();
    void CreateDocks();
    void CreatePreviewCommands();
    /// Shows the active view's zoom in the status bar and enables the zoom commands.
    void UpdateZoomPane();
    void ReadSettings();
    void AddRecentFile(const std::string& path);
    void RebuildRecentMenu();
    void UpdateCaption();
    /// Closes the windows of dialogs that left the project.
    void CloseWindowsOfRemovedDialogs();
    void UpdateWindowTitles();
    void OnSubWindowActivated(QMdiSubWindow* window);
    void OnObjectClicked(CTekDialogEditorView& view, CObjectData* object, Qt::KeyboardModifiers modifiers);
    /// Wires a preview's drops, keys, rubber band and context menu to the document and panels.
    void ConnectPreviewHands(CTekDialogEditorView& view);
    /// Asks to save the project's changes and closes it; false when the user cancelled.
    bool CloseProject();
    /// Before a file is opened into a project that has dialogs: asks whether to add the file's
    /// dialogs to the project or to close it first; false when the user cancelled.
    bool MakeRoomToOpen();
    void ShowSaveFailure(const std::string& path, const FileResult& result);
    /// What a save to a file that another program changed does.
    enum class OverwriteAnswer { Write, SaveAs, Cancel };
    /// Asks "上書きしますか？" when path is the project's file and another program changed it;
    /// Write when no question is needed.
    OverwriteAnswer AskBeforeOverwriting(const std::string& path);
    /// Asks for a project file and saves every dialog there, without asking about the file.
    bool SaveProjectAs(const QString& title);
    /// Saves every dialog (empty dialogName) or one dialog to path; a write to the project's file
    /// makes its content the one known. announce shows the message of success.
    bool WriteProject(const std::string& path, std::string_view dialogName, bool announce);
    /// The file becomes the project's file, whose content was last read or written as bytes.
    void TakeProjectFile(const std::string& path, std::string_view bytes);
    /// The content of the project's file as the editor last read or wrote it.
    void SetKnownDiskContent(const ContentStamp& stamp);
    /// Watches the project's file (and its folder, where it may come back after a removal).
    void WatchProjectFile();
    /// The text of the command's menu entry without its access key, to title its dialog.
    QString CommandTitle(const char* actionName) const;
    void RebuildWindowMenu();
    /// Where the device look of the dialog windows finds its pictures.
    PictureFolders DevicePictureFolders() const;
    /// Gives every dialog window the picture folders afresh (its pictures are then read again).
    void RefreshDevicePictures();
    /// Gives the problems list its folders, measurers and sizes afresh.
    void UpdateLintOptions();

    ShellPaths m_paths;
    Prompts& m_prompts;
    ProjectDocument m_project;
    ProfileFile m_settings;
    PictureLists m_pictures;
    int m_linkState = -1;
    std::vector<std::string> m_recentFiles;

    QMdiArea* m_mdiArea = nullptr;
    CResourceDlg* m_resourcePanel = nullptr;
    CLogDlg* m_sidePanel = nullptr;
    QDockWidget* m_resourceBar = nullptr;
    QDockWidget* m_logBar = nullptr;
    QLabel* m_statusText = nullptr;
    QLabel* m_statusPane1 = nullptr;
    QLabel* m_linkStatePane = nullptr;
    QLabel* m_problemsCount = nullptr;
    CProblemsChecker* m_problems = nullptr;
    CProblemsPage* m_problemsPage = nullptr;
    /// What the problems list measures the layout with: the device font, each text measured
    /// once for the editor's life (an edit changes few texts).
    std::unique_ptr<FontTextMeasurer> m_lintFont;
    std::unique_ptr<CachedTextMeasurer> m_lintText;
    std::unique_ptr<DevicePictureCache> m_lintPictures;
    QLabel* m_zoomPane = nullptr;
    QComboBox* m_sizeBox = nullptr;
    PreviewSize m_previewSize;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QActionGroup* m_windowEntries = nullptr;
    PreviewLook m_previewLook = PreviewLook::Box;
    LanguageChoice m_languageChoice = LanguageChoice::Japanese;
    QMenu* m_languageMenu = nullptr;
    CSkeletonDlg* m_skeleton = nullptr;
    std::vector<QAction*> m_actions;

    std::unique_ptr<RecoveryJournal> m_journal;
    QFileSystemWatcher* m_watcher = nullptr;
    /// Waits for a change seen by the watcher to settle before the file is read.
    QTimer* m_diskCheck = nullptr;
    ContentStamp m_diskStamp;
    /// The other program's content the user was told about last.
    ContentStamp m_diskNoticed;
    bool m_diskChanged = false;
    bool m_askingAboutDisk = false;
};

} // namespace vesk
