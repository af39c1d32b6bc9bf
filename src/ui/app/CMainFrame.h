#pragma once

#include <QMainWindow>

// The program's main window. It grows its menus and toolbars as the subsystems arrive; for now
// it carries the Help menu.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

public slots:
    void OnAppAbout();
    // A second start handed us its command-line file: come to the front (and open it, once
    // text documents exist).
    void OnActivateFromSecondInstance(const QString& file);

signals:
    void openDocumentRequested(const QString& file);
};
