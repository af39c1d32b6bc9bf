#pragma once

#include <QDialog>

#include <string>

class CExtensionTool;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Dialog "Extension tool": the extension box, what the desktop associates with it, "New link"
// and "Remove". Stays open after each of them; only "Cancel" closes it.
class CExtensionToolDlg : public QDialog {
    Q_OBJECT
public:
    // tool must outlive the dialog; startText is the box's first text.
    CExtensionToolDlg(CExtensionTool& tool, const std::string& startText, QWidget* parent = nullptr);

    QLineEdit* extensionEdit = nullptr;
    QPlainTextEdit* infoText = nullptr;
    QPushButton* newLinkButton = nullptr;
    QPushButton* removeButton = nullptr;
    QPushButton* cancelButton = nullptr;

    // The zero-delay timer's work, public so tests need not wait for the event loop.
    void OnFirstTick();

private:
    void OnTextChanged();
    void OnNewLink();
    void OnRemove();
    void ShowState();

    CExtensionTool& m_tool;
    bool m_started = false;
};
