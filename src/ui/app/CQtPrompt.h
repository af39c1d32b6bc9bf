#pragma once

#include "app/Ports.h"

class QWidget;

// Message boxes on QMessageBox. The caption defaults to the program's name.
class CQtPrompt : public CPrompt {
public:
    explicit CQtPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    EPromptAnswer Ask(std::string_view text, std::string_view caption, EPromptButtons buttons, EPromptIcon icon,
                      int defaultButton) override;

private:
    QWidget* m_parent;
};
