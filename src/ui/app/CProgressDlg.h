#pragma once

#include <QDialog>
#include <QPointer>

#include <string_view>

class CPrompt;
class CProgressBar;
class QPushButton;

// The modeless progress indicator. Every feed lets the event loop run once, so the bar repaints,
// the clock runs and Stop (or Esc) can ask "Abort???" while a long operation keeps the thread.
class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    // Belongs to owner and goes with it. Shown centred on the screen only when that owner is
    // visible; without an owner it stays hidden.
    CProgressDlg(CPrompt& prompt, QWidget* owner);
    QWidget* Owner() const { return m_owner; }

    void SetRange(double total);
    void SetPos(double value);
    void SetPosText(double value, std::string_view text);
    void SetCreeping(bool on);
    bool IsAborted() const { return m_aborted; }
    // For loops that run long between two feeds: repaints and lets events through at most
    // every intervalMs (always when forced).
    void KeepAlive(unsigned intervalMs, bool force);

    CProgressBar* Bar() const { return m_bar; }
    QPushButton* StopButton() const { return m_stop; }

    // Lets waiting events run once; false when the application was asked to quit meanwhile.
    static bool PumpEvents();

public slots:
    void OnStop();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    CPrompt& m_prompt;
    QPointer<QWidget> m_owner;
    CProgressBar* m_bar;
    QPushButton* m_stop;
    bool m_aborted = false;
    bool m_asking = false;
    qint64 m_lastReset;
};
