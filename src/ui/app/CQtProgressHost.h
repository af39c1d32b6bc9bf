#pragma once

#include "app/Ports.h"

#include <QPointer>
#include <QWidget>

// Opens a CProgressDlg for each long operation; the dialog closes when the returned object goes.
class CQtProgressHost : public CProgressHost {
public:
    explicit CQtProgressHost(CPrompt& prompt, QWidget* owner = nullptr) : m_prompt(prompt), m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }
    std::unique_ptr<CProgress> OpenProgress() override;

private:
    CPrompt& m_prompt;
    QPointer<QWidget> m_owner;
};
