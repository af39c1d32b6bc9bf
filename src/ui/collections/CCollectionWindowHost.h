#pragma once

#include "CUiServices.h"

#include <QObject>
#include <QPointer>

class CCollectionWnd;
class CMainFrame;

// The frame's ownership of the collection window: creates it on the first showCollection,
// hands it out while it is open, and deletes it with the frame. Fills the frame's collection
// window seams and the engine's window and dialog hooks.
class CCollectionWindowHost : public QObject {
    Q_OBJECT
public:
    // Call after CMainFrame::AttachCollections and before the start-up steps run.
    static CCollectionWindowHost* Install(CMainFrame& frame, const CUiServices& services);
    ~CCollectionWindowHost() override;

    void ShowCollection();
    // The window while it is open, else nullptr.
    CCollectionWnd* Window() const;

private:
    CCollectionWindowHost(CMainFrame& frame, const CUiServices& services);

    CMainFrame& m_frame;
    CUiServices m_services;
    QPointer<CCollectionWnd> m_window;
};
