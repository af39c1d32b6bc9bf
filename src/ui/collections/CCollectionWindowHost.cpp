#include "collections/CCollectionWindowHost.h"

#include "CDataTableAccessible.h"
#include "app/CMainFrame.h"
#include "collections/CCollectionCommands.h"
#include "collections/CCollectionDlgs.h"
#include "collections/CCollectionWnd.h"
#include "collections/CCollections.h"

CCollectionWindowHost::CCollectionWindowHost(CMainFrame& frame, const CUiServices& services)
    : QObject(&frame), m_frame(frame), m_services(services) {}

CCollectionWindowHost::~CCollectionWindowHost() { delete m_window.data(); }

CCollectionWindowHost* CCollectionWindowHost::Install(CMainFrame& frame, const CUiServices& services) {
    auto* host = new CCollectionWindowHost(frame, services);
    CFrameSeams& seams = frame.Seams();
    CFrameSeams::CCollectionWindow& cw = seams.collectionWindow;
    cw.showCollection = [host] { host->ShowCollection(); };
    cw.window = [host]() -> QWidget* { return host->Window(); };
    cw.currentRow = [host]() -> std::optional<std::size_t> {
        CCollectionWnd* w = host->Window();
        return w ? w->CurrentRow() : std::nullopt;
    };
    cw.contextMenuRow = [host]() -> std::optional<std::size_t> {
        CCollectionWnd* w = host->Window();
        return w ? w->ContextMenuRow() : std::nullopt;
    };
    cw.isEditing = [host] {
        CCollectionWnd* w = host->Window();
        return w && w->IsEditing();
    };
    seams.deleteFromFavorites = [host, &frame] {
        CCollectionWnd* w = host->Window();
        frame.CollectionCommands()->DeleteFromFavorites(w ? w->CurrentRow() : std::nullopt);
    };

    CCollectionCommandHooks& hooks = frame.CollectionCommands()->Hooks();
    hooks.isWindowActive = [host] {
        CCollectionWnd* w = host->Window();
        return w && w->IsCollectionWindowActive();
    };
    hooks.setWindowCaption = [host](const std::string& caption) {
        if (CCollectionWnd* w = host->Window()) w->SetCaption(caption);
    };
    hooks.showNotFound = [host](int column) {
        if (CCollectionWnd* w = host->Window()) w->ShowNotFound(column);
    };
    InstallCollectionDialogs(frame);
    InstallDataTableAccessibility();
    frame.UpdateCommandUi();
    return host;
}

CCollectionWnd* CCollectionWindowHost::Window() const {
    return m_window && !m_window->IsClosed() ? m_window.data() : nullptr;
}

void CCollectionWindowHost::ShowCollection() {
    if (!Window()) m_window = new CCollectionWnd(m_frame, m_services);
    m_window->ShowCollection();
}
