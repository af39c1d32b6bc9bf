// CMainFrame's commands: when each is enabled and where each goes.
#include "app/CMainFrame.h"

#include "QtConvert.h"
#include "app/CAboutDlg.h"
#include "app/CMainToolBar.h"
#include "app/CMdiClientWnd.h"
#include "app/CommandTable.h"
#include "app/MainFrameRules.h"
#include "app/SettingsKeys.h"
#include "app/StartUp.h"
#include "collections/CCollectionCommands.h"
#include "collections/CCollections.h"
#include "collections/DescriptIonExchange.h"
#include "collections/MainFrameCollections.h"
#include "filetools/CFileInfo.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QStatusBar>

namespace {

constexpr const char* kOpenFilter =
    "Documents files (*.rtf; *.txt)|*.rtf;*.txt;|Progect files (*.c; *.cpp; *.h; *.rc; *.dsp)|*.c; *.cpp; *.h; "
    "*.rc; *.dsp;|Resource files (*.rc; resource.h)|*.rc;resource.h;|All files|*.*|";

// Commands the active text view or its document carries out.
bool IsViewCommand(int id) {
    switch (id) {
    case kIdFileClose:
    case kIdFileSave:
    case kIdFileSaveAs:
    case kIdSendMail:
    case kIdFilePrint:
    case kIdFilePrintPreview:
    case kIdFilePrintSetup:
    case kIdEditUndo:
    case kIdEditCut:
    case kIdEditCopy:
    case kIdEditPaste:
    case kIdEditSelectAll:
    case kIdGoToNextFound:
    case kIdFindKeyword:
    case kIdFindInText:
    case kIdEditReplace:
    case kIdSaveToAnotherFile:
    case kIdWindowNew:
    case kIdNextPane:
    case kIdPrevPane:
    case 32008:
    case 32033:
    case 32024:
    case 32027:
    case 32025:
    case 32021:
    case 32012:
    case 32014:
    case 32017:
    case 32019: return true;
    default: return false;
    }
}

template <class F> bool Filled(const F& f) { return bool(f); }

} // namespace

QWidget* CMainFrame::CollectionWindow() const {
    return m_seams.collectionWindow.window ? m_seams.collectionWindow.window() : nullptr;
}

bool CMainFrame::IsCollectionWindowActive() const {
    QWidget* w = CollectionWindow();
    if (!w) return false;
    const QWidget* focus = QApplication::focusWidget();
    return (focus && focus->window() == w) || QApplication::activeWindow() == w;
}

std::optional<std::size_t> CMainFrame::CurrentRow() const {
    if (!CollectionWindow() || !m_seams.collectionWindow.currentRow) return std::nullopt;
    return m_seams.collectionWindow.currentRow();
}

std::optional<std::size_t> CMainFrame::ContextMenuRecord() const {
    if (!HasEngine() || !CollectionWindow() || !m_seams.collectionWindow.contextMenuRow) return std::nullopt;
    const auto row = m_seams.collectionWindow.contextMenuRow();
    if (!row) return std::nullopt;
    return m_collections->Store().RecordOfRow(*row);
}

bool CMainFrame::AnyCollectionFiles() const { return HasEngine() && m_collections->AnyCollectionFiles(); }

bool CMainFrame::IsCommandEnabled(int id) const {
    if (m_helpMode) return true; // any command may be chosen to learn about it
    const CFrameSeams::CCollectionWindow& cw = m_seams.collectionWindow;
    const bool window = Filled(cw.showCollection) && Filled(cw.window);
    const bool open = CollectionWindow() != nullptr;
    const bool editing = open && cw.isEditing && cw.isEditing();
    const bool favorites = HasEngine() && m_collections->FavoritesExist();
    const CCollectionCommandHooks* hooks = HasEngine() ? &m_commands->Hooks() : nullptr;
    const bool openDialog = hooks && hooks->openCollectionDialog;
    const bool keywordDialog = hooks && hooks->keywordSearchDialog;

    if (IsViewCommand(id))
        return m_seams.viewCommandEnabled && m_seams.runViewCommand && m_seams.viewCommandEnabled(id);
    switch (id) {
    case kIdFileNew: return Filled(m_seams.newDocument);
    case kIdFileOpen: return Filled(m_seams.openDocument);
    case kIdRecentFile: return false; // stands for an empty list
    case kIdAppExit:
    case kIdAppAbout:
    case kIdContextHelp:
    case kIdViewToolbar:
    case kIdViewStatusBar: return true;
    case kIdHelpTopics:
    case kIdHelp: return Filled(m_seams.openHelpDocument) && HasEngine();
    case kIdWindowCascade:
    case kIdWindowTile:
    case kIdWindowArrange: return DocumentCount() > 0;

    case kIdOpenCollections: return window && openDialog && AnyCollectionFiles();
    case kIdNewCollection: return window && hooks && hooks->newCollectionDialog;
    case kIdChooseCollection:
        return window && hooks && (AnyCollectionFiles() ? openDialog : bool(hooks->newCollectionDialog));
    case kIdRefresh:
    case kIdRefreshShown: return window && HasEngine();
    // Moving works on the configured collection, never on the one shown.
    case kIdChangeCollectionPath: return AnyCollectionFiles() && !open;
    case kIdKeySearching: return window && keywordDialog && (openDialog || IsCollectionWindowActive());
    case kIdKeySearchShown: return window && keywordDialog && open;
    case kIdDeleteCollection: return openDialog;
    case kIdCollectionInfo: return open && HasEngine() && m_collections->Hooks().collectionInfoDialog;
    case kIdFavorites: return window && favorites;
    case kIdDeleteFromFavorites: return favorites && Filled(m_seams.deleteFromFavorites);
    case kIdImportDescriptIon:
    case kIdExportDescriptIon: return open && HasEngine() && !m_collections->Store().IsFavoritesView() && !editing;

    case kIdExtensionTool: return Filled(m_seams.fileExtensionTool);
    case kIdFileAttributes:
        return HasEngine() && m_fileInfo->Hooks().dialog && (!IsCollectionWindowActive() || (CurrentRow() && !editing));
    case kIdReplaceInFiles:
        return Filled(m_seams.replaceInFiles) && HasEngine() && (openDialog || IsCollectionWindowActive());
    case kIdSaveVsProject:
    case kIdSaveAnyProject: return Filled(m_seams.saveProjectAs);
    case kIdCopyAllFiles: return Filled(m_seams.copyAllFiles);

    case kIdTextualEditing: return Filled(m_seams.openDocument) && ContextMenuRecord().has_value();
    case kIdRunFile: return Filled(m_seams.runFile) && ContextMenuRecord().has_value();
    case kIdPrintFile: return Filled(m_seams.printFile) && ContextMenuRecord().has_value();
    case kIdDeleteFile: return HasEngine() && CurrentRow().has_value() && !editing;
    case kIdAddToFavorites:
        return HasEngine() && open && !m_collections->Store().IsFavoritesView() && CurrentRow() && !editing;
    default: return false;
    }
}

void CMainFrame::UpdateCommandUi() {
    SwitchMenus();
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) it.value()->setEnabled(IsCommandEnabled(it.key()));
    m_actions[kIdViewToolbar]->setChecked(m_toolBar && !m_toolBar->isHidden());
    m_actions[kIdViewStatusBar]->setChecked(!statusBar()->isHidden());
}

void CMainFrame::RunCommand(int id) {
    if (m_actions.contains(id)) Dispatch(id);
}

void CMainFrame::Dispatch(int id) {
    if (m_helpMode) {
        LeaveContextHelpMode();
        m_contextHelp.WinHelp(m_ports.prompt, kHelpContextBase + unsigned(id));
        UpdateCommandUi();
        return;
    }
    // A state that changed since the last update never runs a command its rule forbids.
    if (!IsCommandEnabled(id)) {
        UpdateCommandUi();
        return;
    }
    if (IsViewCommand(id)) {
        m_seams.runViewCommand(id);
        UpdateCommandUi();
        return;
    }
    switch (id) {
    case kIdFileNew: m_seams.newDocument(); break;
    case kIdFileOpen: OnFileOpen(); break;
    case kIdAppExit: close(); break;
    case kIdAppAbout: OnAppAbout(); break;
    case kIdContextHelp: EnterContextHelpMode(); break;
    case kIdHelpTopics:
    case kIdHelp: OpenHelpDocument(); break;
    case kIdViewToolbar: m_toolBar->setVisible(m_toolBar->isHidden()); break;
    case kIdViewStatusBar: statusBar()->setVisible(statusBar()->isHidden()); break;
    case kIdWindowCascade: m_mdi->cascadeSubWindows(); break;
    case kIdWindowTile: m_mdi->tileSubWindows(); break;
    case kIdWindowArrange: ArrangeIcons(); break;

    case kIdOpenCollections: m_commands->OnOpenCollections(); break;
    case kIdNewCollection: m_commands->OnNewCollection(); break;
    case kIdChooseCollection: m_commands->OnChooseCollection(); break;
    case kIdRefresh:
    case kIdRefreshShown: OnRefreshCollection(); break;
    case kIdChangeCollectionPath: m_commands->OnChangeCollectionPath(); break;
    case kIdKeySearching: OnKeySearching(); break;
    case kIdKeySearchShown: m_commands->KeywordSearch(); break;
    case kIdDeleteCollection: m_commands->OnDeleteCollection(); break;
    case kIdCollectionInfo: m_commands->OnCollectionInfo(); break;
    case kIdFavorites: OnFavorites(); break;
    case kIdDeleteFromFavorites: m_seams.deleteFromFavorites(); break;
    case kIdImportDescriptIon: ImportDescriptIon(*m_collections, m_ports); break;
    case kIdExportDescriptIon: ExportDescriptIon(*m_collections, m_ports); break;

    case kIdExtensionTool: m_seams.fileExtensionTool(); break;
    case kIdFileAttributes: OnFileAttributes(); break;
    case kIdReplaceInFiles: OnReplaceInFiles(); break;
    case kIdSaveVsProject: m_seams.saveProjectAs(false); break;
    case kIdSaveAnyProject: m_seams.saveProjectAs(true); break;
    case kIdCopyAllFiles: m_seams.copyAllFiles(); break;

    case kIdTextualEditing: OnTextualEditing(); break;
    case kIdRunFile:
    case kIdPrintFile: OnLaunchFile(id); break;
    case kIdDeleteFile: OnDeleteFile(); break;
    case kIdAddToFavorites: OnAddToFavorites(); break;
    default: break;
    }
    UpdateCommandUi();
}

void CMainFrame::ShowCollection() {
    if (m_seams.collectionWindow.showCollection) m_seams.collectionWindow.showCollection();
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::OnActivateFromSecondInstance(const QString& file) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (!file.isEmpty()) OpenDocumentFile(FromQPath(file));
}

bool CMainFrame::OpenDocumentFile(const std::filesystem::path& file, bool fromCollection) {
    if (!m_seams.openDocument) return false;
    m_openingPath = file;
    const bool opened = m_seams.openDocument(file, fromCollection);
    if (!opened) m_openingPath.clear();
    UpdateCommandUi();
    return opened;
}

void CMainFrame::OnFileOpen() {
    CSettings& settings = m_ports.settings;
    const std::string chosen = m_ports.pickers.OpenFile("Open resource file", kOpenFilter, settings.Get(kLoadFileName));
    if (chosen.empty()) return;
    settings.Set(kLoadFileName, chosen);
    OpenDocumentFile(chosen);
}

void CMainFrame::OpenHelpDocument() {
    if (!m_seams.openHelpDocument) return;
    const auto help = FindHelpDocument(m_ports.prompt, m_workingDir, m_programDir);
    if (!help) return;
    m_openingPath = *help;
    if (!m_seams.openHelpDocument(*help)) m_openingPath.clear();
}

void CMainFrame::EnterContextHelpMode() {
    if (m_helpMode) return;
    m_helpMode = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    UpdateCommandUi();
}

void CMainFrame::LeaveContextHelpMode() {
    if (!m_helpMode) return;
    m_helpMode = false;
    QApplication::restoreOverrideCursor();
}

void CMainFrame::OnRefreshCollection() {
    // Shows the favorites or refreshes the current collection; the window follows through the
    // engine's refill.
    m_collections->OpenCurrentCollection();
}

bool CMainFrame::ChooseCollectionFirst() {
    if (IsCollectionWindowActive()) return true;
    if (!::ChooseCollectionFirst(*m_collections, m_ports.settings, m_commands->Hooks().openCollectionDialog))
        return false;
    // An open window shows the collection the command would otherwise run on.
    if (CollectionWindow()) return m_collections->OpenCurrentCollection();
    return true;
}

void CMainFrame::OnKeySearching() {
    if (ChooseCollectionFirst()) m_commands->KeywordSearch();
}

void CMainFrame::OnReplaceInFiles() {
    // The seam asks for the scope itself: the replace run may work on another collection than
    // the one the window shows, without reloading it.
    m_seams.replaceInFiles();
}

void CMainFrame::OnFavorites() { m_collections->ShowFavorites(); }

void CMainFrame::OnFileAttributes() {
    std::optional<std::size_t> record;
    if (IsCollectionWindowActive())
        if (const auto row = CurrentRow()) record = m_collections->Store().RecordOfRow(*row);
    m_fileInfo->OnFileInfo(record);
}

void CMainFrame::OnTextualEditing() {
    const auto record = ContextMenuRecord();
    if (!record) return;
    const std::filesystem::path file = m_collections->Store().Records()[*record].location;
    if (!CheckTextualFile(m_ports.prompt, file)) {
        m_openingPath.clear();
        if (m_commands->Hooks().bringWindowToFront) m_commands->Hooks().bringWindowToFront();
        return;
    }
    OpenDocumentFile(file, true);
}

void CMainFrame::OnLaunchFile(int id) {
    const auto record = ContextMenuRecord();
    if (!record) return;
    const std::filesystem::path file = m_collections->Store().Records()[*record].location;
    if (id == kIdRunFile) m_seams.runFile(file);
    else
        m_seams.printFile(file);
}

void CMainFrame::OnDeleteFile() {
    if (const auto row = CurrentRow()) m_commands->OnDeleteFile(*row);
}

void CMainFrame::OnAddToFavorites() {
    if (const auto row = CurrentRow()) m_collections->AddToFavorites(*row);
}

std::string CMainFrame::GetCollectionInformationText(bool forTip) const {
    if (!HasEngine()) return {};
    return ::GetCollectionInformationText(*m_collections, m_ports.settings, CollectionWindow() != nullptr, forTip);
}

void CMainFrame::ArrangeIcons() {
    // Minimised document windows line up along the bottom edge, left to right.
    int x = 0;
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (!w->isMinimized()) continue;
        if (x + w->width() > m_mdi->viewport()->width() && x > 0) x = 0;
        w->move(x, m_mdi->viewport()->height() - w->height());
        x += w->width();
    }
}

void CMainFrame::OnFocusChanged(QWidget* old, QWidget* now) {
    UpdateCommandUi();
    if (!now || now->window() != this) return;
    QWidget* collection = CollectionWindow();
    if (!collection || !collection->isVisible()) return;
    if (old && (old->window() == this || old->window() == collection)) return;
    KeepCollectionWindowBehind();
}

void CMainFrame::KeepCollectionWindowBehind() {
    // Restacking without activation: on X11 both raises reach the window manager; a Wayland
    // compositor ignores them and keeps its own order.
    if (QWidget* collection = CollectionWindow()) collection->raise();
    raise();
}
