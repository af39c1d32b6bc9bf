#include "filetools/CReplaceDlg.h"

#include "filetools/FileToolWidgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace {

// The run's indicator; the dialog stays disabled while it is open.
class CDisablingProgress : public CProgress {
public:
    // The dialog was disabled before the inner indicator opened.
    CDisablingProgress(std::unique_ptr<CProgress> inner, QWidget* dialog)
        : m_inner(std::move(inner)), m_dialog(dialog) {}
    ~CDisablingProgress() override {
        m_inner.reset();
        if (m_dialog) m_dialog->setEnabled(true);
    }
    void SetRange(double total) override { m_inner->SetRange(total); }
    void SetPos(double value) override { m_inner->SetPos(value); }
    void SetPosText(double value, std::string_view text) override { m_inner->SetPosText(value, text); }
    void SetCreeping(bool on) override { m_inner->SetCreeping(on); }
    bool IsAborted() override { return m_inner->IsAborted(); }
    void KeepAlive(unsigned intervalMs, bool force) override { m_inner->KeepAlive(intervalMs, force); }

private:
    std::unique_ptr<CProgress> m_inner;
    QPointer<QWidget> m_dialog;
};

} // namespace

CReplaceDlg::CReplaceDlg(CPorts& ports, CReadOnlyWarning& warning, CProgressHost& progress, CReplaceScope scope,
                         QWidget* parent)
    : QDialog(parent), m_ports{ports.prompt, ports.settings, *this, ports.pickers, ports.busy}, m_progress(progress),
      m_engine(m_ports, warning, std::move(scope)) {
    setWindowTitle(ToQ(m_engine.Title()));
    setObjectName(QStringLiteral("replaceDlg"));
    const CReplaceInFiles::CTexts texts = m_engine.InitialTexts();
    fromEdit = new QLineEdit(ToQ(texts.from), this);
    toEdit = new QLineEdit(ToQ(texts.to), this);
    alsoFromEdit = new QLineEdit(ToQ(texts.alsoFrom), this);
    alsoToEdit = new QLineEdit(ToQ(texts.alsoTo), this);
    extensionEdit = new QLineEdit(ToQ(texts.extensions), this);
    okButton = Button("OK", this);
    okButton->setDefault(true);
    cancelButton = Button("Cancel", this);
    helpButton = Button("Help", this);

    auto* layout = new QVBoxLayout(this);
    auto* words = new QGridLayout;
    words->addWidget(NamingLabel("From text ", fromEdit, this), 0, 0);
    words->addWidget(fromEdit, 0, 1);
    words->addWidget(NamingLabel("To text", toEdit, this), 1, 0);
    words->addWidget(toEdit, 1, 1);
    layout->addLayout(words);
    auto* more = new QGroupBox(QStringLiteral("More options (it may ignory)"), this);
    auto* moreLayout = new QGridLayout(more);
    moreLayout->addWidget(NamingLabel("If was found words then to do replace too: from", alsoFromEdit, more), 0, 0, 1,
                          2);
    moreLayout->addWidget(alsoFromEdit, 1, 0, 1, 2);
    moreLayout->addWidget(NamingLabel("To ", alsoToEdit, more), 2, 0);
    moreLayout->addWidget(alsoToEdit, 2, 1);
    layout->addWidget(more);
    layout->addWidget(NamingLabel("Replace in all file with extensons (etx1, ex2):", extensionEdit, this));
    layout->addWidget(extensionEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(helpButton);
    layout->addLayout(buttons);
    ChainTabOrder({fromEdit, toEdit, alsoFromEdit, alsoToEdit, extensionEdit, okButton, cancelButton, helpButton});
    resize(460, sizeHint().height());

    connect(okButton, &QPushButton::clicked, this, &CReplaceDlg::OnOk);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, &CReplaceDlg::OnHelp);
    fromEdit->setFocus();
}

std::unique_ptr<CProgress> CReplaceDlg::OpenProgress() {
    setEnabled(false);
    std::unique_ptr<CProgress> inner = m_progress.OpenProgress();
    return std::make_unique<CDisablingProgress>(std::move(inner), this);
}

void CReplaceDlg::OnOk() {
    CReplaceInFiles::CTexts texts{FromQ(fromEdit->text()), FromQ(toEdit->text()), FromQ(alsoFromEdit->text()),
                                  FromQ(alsoToEdit->text()), FromQ(extensionEdit->text())};
    m_last = m_engine.OnOk(texts);
    if (m_last != CReplaceInFiles::EOk::Refused) extensionEdit->setText(ToQ(texts.extensions));
}

void CReplaceDlg::OnHelp() {
    m_ports.prompt.Ask(CReplaceInFiles::HelpText(), {}, EPromptButtons::Ok, EPromptIcon::Information);
}
