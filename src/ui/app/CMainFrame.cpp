#include "app/CMainFrame.h"

#include "app/CAboutDlg.h"
#include "app/Resources.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenuBar>
#include <QStatusBar>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    InitQuillboxResources();
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Quillbox"));
    setWindowIcon(QIcon(QStringLiteral(":/quillbox.png")));
    resize(900, 600);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("actionExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* about = help->addAction(QStringLiteral("&About Quillbox..."));
    about->setObjectName(QStringLiteral("actionAbout"));
    connect(about, &QAction::triggered, this, &CMainFrame::OnAppAbout);

    statusBar()->showMessage(QStringLiteral("Ready"));
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::OnActivateFromSecondInstance(const QString& file) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (!file.isEmpty()) emit openDocumentRequested(file);
}
