#pragma once

#include "filetools/CReplaceInFiles.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLabel;

// Dialog "WARNING": a read-only file met during a replace run, with "Make for all files".
class CReadOnlyWarningDlg : public QDialog {
    Q_OBJECT
public:
    CReadOnlyWarningDlg(std::string_view text, QWidget* parent = nullptr);
    QLabel* textLabel = nullptr;
    QCheckBox* forAllBox = nullptr;
};

// The replace run's read-only question on that dialog.
class CQtReadOnlyWarning : public CReadOnlyWarning {
public:
    explicit CQtReadOnlyWarning(QWidget* parent) : m_parent(parent) {}
    CAnswer Ask(std::string_view text) override;

private:
    QPointer<QWidget> m_parent;
};
