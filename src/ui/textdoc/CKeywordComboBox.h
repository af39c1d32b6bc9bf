#pragma once

#include <QComboBox>

// The editable keyword box on the main toolbar (32042). Remembers whether the user typed.
class CKeywordComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CKeywordComboBox(QWidget* parent = nullptr);
    bool WasTyped() const { return m_typed; }
    void SetTyped(bool on) { m_typed = on; }

private:
    bool m_typed = false;
};
