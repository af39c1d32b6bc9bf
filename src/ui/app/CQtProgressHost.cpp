#include "app/CQtProgressHost.h"

#include "app/CProgressDlg.h"

namespace {
class CQtProgress : public CProgress {
public:
    explicit CQtProgress(CProgressDlg* dlg) : m_dlg(dlg) {}
    ~CQtProgress() override { delete m_dlg.data(); }
    void SetRange(double total) override {
        if (m_dlg) m_dlg->SetRange(total);
    }
    void SetPos(double value) override {
        if (m_dlg) m_dlg->SetPos(value);
    }
    void SetPosText(double value, std::string_view text) override {
        if (m_dlg) m_dlg->SetPosText(value, text);
    }
    void SetCreeping(bool on) override {
        if (m_dlg) m_dlg->SetCreeping(on);
    }
    // A dialog that is gone (its owner closed under the operation) means stop.
    bool IsAborted() override { return !m_dlg || m_dlg->IsAborted(); }
    void KeepAlive(unsigned intervalMs, bool force) override {
        if (m_dlg) m_dlg->KeepAlive(intervalMs, force);
        else
            CProgressDlg::PumpEvents();
    }

private:
    QPointer<CProgressDlg> m_dlg;
};
} // namespace

std::unique_ptr<CProgress> CQtProgressHost::OpenProgress() {
    return std::make_unique<CQtProgress>(new CProgressDlg(m_prompt, m_owner.data()));
}
