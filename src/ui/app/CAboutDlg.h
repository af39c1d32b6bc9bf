#pragma once

#include <QDialog>

// The About box: program icon, "Quillbox\r\nVersion 1.0" and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
