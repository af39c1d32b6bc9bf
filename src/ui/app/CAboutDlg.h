#pragma once

#include <QDialog>

// The About box: program icon, "Quillbox\r\nVersion " with the project version, and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
