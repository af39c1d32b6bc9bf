#include "app/CProgressDlg.h"

#include "QtConvert.h"
#include "app/CProgressBar.h"
#include "app/CProgressState.h"
#include "app/Ports.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace {
// Set when a quit request arrives while an operation pumps events; the request is made again
// once control is back in the main loop, so the program still ends after the operation.
bool s_quitPending = false;

class CQuitWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
            s_quitPending = true;
            return true;
        }
        return false;
    }
};
} // namespace

CProgressDlg::CProgressDlg(CPrompt& prompt, QWidget* owner)
    : QDialog(nullptr), m_prompt(prompt), m_owner(owner), m_lastReset(QDateTime::currentMSecsSinceEpoch()) {
    setObjectName(QStringLiteral("progressDlg"));
    setWindowTitle(ToQ(kProgressCaption));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_bar = new CProgressBar(this);
    m_bar->setMinimumSize(300, 64);
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setObjectName(QStringLiteral("stopButton"));
    m_stop->setAutoDefault(false);
    connect(m_stop, &QPushButton::clicked, this, &CProgressDlg::OnStop);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 8);
    layout->addWidget(m_bar, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_stop);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    resize(340, 120);

    // Not a Qt child of the owner: a long operation disables its windows, and the Stop button
    // must stay usable. The window system still keeps the dialog above its owner.
    if (QWidget* owner = m_owner.data()) {
        connect(owner, &QObject::destroyed, this, &QObject::deleteLater);
        if (owner->isVisible()) {
            winId();
            if (QWindow* top = owner->window()->windowHandle()) windowHandle()->setTransientParent(top);
            if (QScreen* screen = owner->screen()) move(screen->availableGeometry().center() - rect().center());
            show();
        }
    }
}

void CProgressDlg::SetRange(double total) {
    m_bar->SetRange(total);
    PumpEvents();
}

void CProgressDlg::SetPos(double value) {
    m_bar->SetPos(value);
    PumpEvents();
}

void CProgressDlg::SetPosText(double value, std::string_view text) {
    m_bar->SetPosText(value, text);
    PumpEvents();
}

void CProgressDlg::SetCreeping(bool on) {
    m_bar->SetCreeping(on);
    PumpEvents();
}

void CProgressDlg::KeepAlive(unsigned intervalMs, bool force) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!force && now - m_lastReset <= qint64(intervalMs)) return;
    m_bar->update();
    PumpEvents();
    m_lastReset = now;
}

bool CProgressDlg::PumpEvents() {
    static CQuitWatcher watcher;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return true;
    app->installEventFilter(&watcher);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    app->removeEventFilter(&watcher);
    if (!s_quitPending) return true;
    // Asked again from the main loop, after the operation has returned.
    s_quitPending = false;
    QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
    return false;
}

void CProgressDlg::OnStop() {
    if (m_asking || m_aborted) return;
    m_asking = true;
    // No is the default, so a stray Enter keeps the operation running.
    if (m_prompt.AskYesNo(kProgressAbortQuestion, {}, 1)) m_aborted = true;
    m_asking = false;
}

void CProgressDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        OnStop();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CProgressDlg::closeEvent(QCloseEvent* event) {
    // The window stays until its operation ends; closing it counts as Stop.
    event->ignore();
    OnStop();
}

void CProgressDlg::reject() { OnStop(); }
