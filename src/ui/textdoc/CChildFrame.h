#pragma once

#include <QMdiSubWindow>

class CtavView;

// A document window: asks about unsaved changes when the last window of its document closes.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CChildFrame(QWidget* parent = nullptr);
    CtavView* View() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool AskToSave();
};
