#include "textdoc/CChildFrame.h"

#include "QtConvert.h"
#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/TextUtil.h"
#include "textdoc/CtavDoc.h"
#include "textdoc/CtavView.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QTextDocument>

CChildFrame::CChildFrame(QWidget* parent) : QMdiSubWindow(parent) { setAttribute(Qt::WA_DeleteOnClose); }

CtavView* CChildFrame::View() const { return qobject_cast<CtavView*>(widget()); }

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (AskToSave()) {
        if (CtavView* view = View()) view->OnClose();
        QMdiSubWindow::closeEvent(event);
    } else {
        event->ignore();
    }
}

bool CChildFrame::AskToSave() {
    CtavView* view = View();
    CtavDoc* doc = view ? view->Document() : nullptr;
    if (!doc || !doc->Text()->isModified()) return true;
    // Only the last window of a document asks.
    int windows = 0;
    for (QMdiSubWindow* w : mdiArea()->subWindowList())
        if (auto* f = qobject_cast<CChildFrame*>(w); f && !f->isHidden() && f->View() && f->View()->Document() == doc)
            ++windows;
    if (windows > 1) return true;
    CMainFrame* frame = qobject_cast<CMainFrame*>(window());
    if (!frame) return true;
    const std::string text = Format("Save changes to %s?", FromQ(doc->Title()).c_str());
    switch (frame->Ports().prompt.Ask(text, "Quillbox", EPromptButtons::YesNoCancel, EPromptIcon::Warning)) {
    case EPromptAnswer::Yes: return view->Save(kIdFileSave);
    case EPromptAnswer::No: return true;
    default: return false;
    }
}
