// CMainFrame's creation, layout, placement and closing; its commands are in CMainFrameCommands.cpp.
#include "app/CMainFrame.h"

#include "QtConvert.h"
#include "ToolBarAccess.h"
#include "app/CMainToolBar.h"
#include "app/CMdiClientWnd.h"
#include "app/CommandTable.h"
#include "app/MainFrameRules.h"
#include "app/Resources.h"
#include "app/SettingsKeys.h"
#include "collections/CCollectionCommands.h"
#include "collections/CCollections.h"
#include "filetools/CFileInfo.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

const char* const CMainFrame::kIdleMessage = "For Help, press F1";

namespace {

QString PlainText(const CCommandDef& c) {
    QString s = QString::fromLatin1(*c.text ? c.text : c.prompt);
    s = s.left(s.indexOf(QLatin1Char('\t')));
    s.remove(QLatin1Char('&'));
    return s.trimmed();
}

QList<QKeySequence> KeysOf(const CCommandDef& c) {
    QList<QKeySequence> keys;
    for (const QString& k : QString::fromLatin1(c.keys).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        keys << QKeySequence(k, QKeySequence::PortableText);
    return keys;
}

} // namespace

CMainFrame::CMainFrame(CPrompt& prompt, CSettings& settings, CProgressHost& progress, CPickers& pickers,
                       QWidget* parent)
    : QMainWindow(parent),
      m_busy(
          this, [this] { return CollectionWindow(); }, [this](std::string_view t) { SetMessageText(ToQ(t)); }),
      m_ports{prompt, settings, progress, pickers, m_busy} {
    InitQuillboxResources();
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Quillbox"));
    setWindowIcon(QIcon(QStringLiteral(":/quillbox.png")));
    setAccessibleName(QStringLiteral("Quillbox"));
    resize(900, 600);

    m_mdi = new CMdiClientWnd(this);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        SwitchMenus();
        UpdateCommandUi();
    });

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    RestorePlacement();
    SwitchMenus();

    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::OnFocusChanged);
    qApp->installEventFilter(this);
    auto* idle = new QTimer(this);
    idle->setInterval(500);
    connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateCommandUi);
    idle->start();
    UpdateCommandUi();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // Closing the child windows below still emits signals; this frame's members are going.
    m_mdi->disconnect(this);
    disconnect(qApp, nullptr, this, nullptr);
    // The engine's hooks point back into this frame.
    m_fileInfo.reset();
    m_commands.reset();
    m_collections.reset();
}

void CMainFrame::AttachCollections(const std::filesystem::path& workingDir, const std::filesystem::path& programDir) {
    m_workingDir = workingDir;
    m_programDir = programDir;
    m_fileInfo.reset();
    m_commands.reset();
    m_collections = std::make_unique<CCollections>(m_ports, workingDir);
    m_collections->Hooks().refillWindow = [this] { ShowCollection(); };
    m_commands = std::make_unique<CCollectionCommands>(*m_collections, m_ports);
    CCollectionCommandHooks& hooks = m_commands->Hooks();
    hooks.isWindowOpen = [this] { return CollectionWindow() != nullptr; };
    hooks.bringWindowToFront = [this] {
        if (QWidget* w = CollectionWindow()) {
            w->raise();
            w->activateWindow();
        }
    };
    hooks.closeWindow = [this] {
        if (QWidget* w = CollectionWindow()) w->close();
    };
    m_fileInfo = std::make_unique<CFileInfo>(m_ports, *m_collections);
    m_fileInfo->Hooks().refillWindow = [this] { ShowCollection(); };
    UpdateCommandUi();
}

void CMainFrame::CreateActions() {
    for (const CCommandDef& c : Commands()) {
        auto* a = new QAction(this);
        a->setObjectName(QStringLiteral("action%1").arg(c.id));
        a->setData(c.id);
        a->setText(*c.text ? QString::fromLatin1(c.text) : PlainText(c));
        a->setStatusTip(QString::fromLatin1(c.prompt));
        a->setToolTip(QString::fromLatin1(c.prompt));
        if (*c.icon) a->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(c.icon))));
        // Application-wide, so they work in the collection window too; a modal dialog still
        // keeps them, and edit fields keep their own editing keys.
        a->setShortcuts(KeysOf(c));
        a->setShortcutContext(Qt::ApplicationShortcut);
        // The keys show as the text has them ("Strl+F"), not as Qt would write the shortcut.
        a->setShortcutVisibleInContextMenu(false);
        connect(a, &QAction::triggered, this, [this, id = c.id] { Dispatch(id); });
        m_actions.insert(c.id, a);
        addAction(a); // keys work whichever menu is shown
    }
    m_actions[kIdViewToolbar]->setCheckable(true);
    m_actions[kIdViewStatusBar]->setCheckable(true);
}

QMenu* CMainFrame::BuildMenu(const char* title, std::span<const int> items) {
    auto* menu = new QMenu(QString::fromLatin1(title), this);
    menu->setAccessibleName(QString::fromLatin1(title).remove(QLatin1Char('&')));
    for (const int id : items) {
        if (id == kSeparator) menu->addSeparator();
        else if (id == kCppToolsSubmenu)
            menu->addMenu(m_cppTools);
        else
            menu->addAction(m_actions.value(id));
    }
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
    return menu;
}

void CMainFrame::CreateMenus() {
    m_cppTools = BuildMenu(kCppToolsTitle, ::CppToolsMenu());
    for (const bool document : {false, true}) {
        auto& menus = document ? m_menus1003 : m_menus1002;
        for (const CMenuDef& def : MainMenu(document)) {
            QMenu* menu = BuildMenu(def.title, def.items);
            if (def.items.size() && def.items.front() == kIdWindowNew)
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowMenu(menu); });
            if (def.items.size() && def.items.front() == kIdFileNew)
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillRecentFiles(menu); });
            menus.push_back(menu);
        }
    }
    menuBar()->setAccessibleName(QStringLiteral("Menu bar"));
}

int CMainFrame::DocumentCount() const {
    const auto windows = m_mdi->subWindowList();
    return int(std::count_if(windows.begin(), windows.end(), [](const QMdiSubWindow* w) { return !w->isHidden(); }));
}

std::vector<QMenu*> CMainFrame::MenusFor(bool documentOpen) const { return documentOpen ? m_menus1003 : m_menus1002; }

void CMainFrame::SwitchMenus() {
    const bool document = DocumentCount() > 0;
    if (document == m_showsDocumentMenu && !menuBar()->actions().isEmpty()) return;
    m_showsDocumentMenu = document;
    menuBar()->clear();
    for (QMenu* menu : MenusFor(document)) menuBar()->addMenu(menu);
}

void CMainFrame::FillWindowMenu(QMenu* menu) {
    for (QAction* a : menu->actions())
        if (a->property("windowEntry").toBool()) delete a;
    const auto windows = m_mdi->subWindowList();
    if (windows.isEmpty()) return;
    QAction* separator = menu->addSeparator();
    separator->setProperty("windowEntry", true);
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(w->windowTitle()));
        a->setProperty("windowEntry", true);
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, m_mdi, [this, w] { m_mdi->setActiveSubWindow(w); });
    }
}

void CMainFrame::FillRecentFiles(QMenu* menu) {
    for (QAction* a : menu->actions())
        if (a->property("recentEntry").toBool()) delete a;
    QAction* placeholder = m_actions.value(kIdRecentFile);
    const auto files = m_seams.recentFiles ? m_seams.recentFiles() : std::vector<std::filesystem::path>();
    placeholder->setVisible(files.empty());
    for (std::size_t i = 0; i < files.size() && i < 10; ++i) {
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(ToQPath(files[i])), menu);
        a->setProperty("recentEntry", true);
        a->setEnabled(bool(m_seams.openDocument));
        connect(a, &QAction::triggered, this, [this, f = files[i]] { OpenDocumentFile(f); });
        menu->insertAction(placeholder, a);
    }
}

void CMainFrame::CreateToolBar() {
    m_toolBar = new CMainToolBar(QStringLiteral("Toolbar"), this, this);
    NameToolBarExtension(*m_toolBar);
    m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_toolBar->setAccessibleName(QStringLiteral("Main toolbar"));
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->SetInformationSource([this] { return GetCollectionInformationText(true); });
    for (const int id : MainToolBarButtons()) {
        if (id == kSeparator) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* a = m_actions.value(id);
        m_toolBar->addAction(a);
        if (QWidget* b = m_toolBar->widgetForAction(a)) b->setAccessibleName(PlainText(*FindCommand(id)));
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::ShowResourceToolBar(int kind, bool show) {
    for (QToolBar* bar : m_resourceBars)
        if (bar) bar->hide();
    if (!show || (kind != 1 && kind != 2)) return;
    QToolBar*& bar = m_resourceBars[kind - 1];
    if (!bar) {
        bar = new QToolBar(kind == 1 ? QStringLiteral("RC compare") : QStringLiteral("Resource tools"), this);
        NameToolBarExtension(*bar);
        bar->setObjectName(kind == 1 ? QStringLiteral("toolBar1003") : QStringLiteral("toolBar128"));
        bar->setAccessibleName(bar->windowTitle());
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        bar->setIconSize(m_toolBar->iconSize());
        for (const int id : ResourceToolBarButtons(kind)) {
            if (id == kSeparator) {
                bar->addSeparator();
                continue;
            }
            bar->addAction(m_actions.value(id));
            if (QWidget* b = bar->widgetForAction(m_actions.value(id)))
                b->setAccessibleName(PlainText(*FindCommand(id)));
        }
        addToolBar(Qt::TopToolBarArea, bar);
    }
    bar->show();
}

QToolBar* CMainFrame::ResourceToolBar(int kind) const {
    return kind == 1 || kind == 2 ? m_resourceBars[kind - 1] : nullptr;
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setAccessibleName(QStringLiteral("Status bar"));
    m_message = new QLabel(QString::fromLatin1(kIdleMessage), bar);
    m_message->setObjectName(QStringLiteral("messagePane"));
    m_message->setAccessibleName(QStringLiteral("Message"));
    bar->addWidget(m_message, 1);
    const char* texts[] = {"CAP", "NUM", "SCRL"};
    const char* names[] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    for (int i = 0; i < 3; ++i) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QStringLiteral("pane%1").arg(QLatin1String(texts[i])));
        pane->setAccessibleName(QLatin1String(names[i]));
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(pane);
        m_lockPanes[i] = pane;
    }
    UpdateLockPanes();
}

std::vector<QLabel*> CMainFrame::StatusPanes() const {
    return {m_message, m_lockPanes[0], m_lockPanes[1], m_lockPanes[2]};
}

void CMainFrame::UpdateLockPanes() {
    const char* texts[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        m_lockPanes[i]->setText(m_lockState[i] ? QLatin1String(texts[i]) : QString());
        m_lockPanes[i]->setAccessibleDescription(m_lockState[i] ? QStringLiteral("on") : QStringLiteral("off"));
    }
}

void CMainFrame::SetMessageText(const QString& text) { m_message->setText(text); }

QString CMainFrame::MessageText() const { return m_message->text(); }

void CMainFrame::SetCaretStatus(unsigned long line, unsigned long start, unsigned long end) {
    SetMessageText(ToQ(CaretStatusText(line, start, end)));
}

void CMainFrame::RestorePlacement() {
    const CWindowPlacement p = ReadMainPlacement(m_ports.settings);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 768);
    if (!IsRestorablePlacement(p, size.width(), size.height())) return;
    setGeometry(p.left, p.top, std::max(1, p.right - p.left), std::max(1, p.bottom - p.top));
    // A window brought back minimised looks like one that never started.
    m_startMaximized = p.show == CWindowPlacement::kShowMaximized;
}

void CMainFrame::SavePlacement() {
    QRect g = normalGeometry();
    if (!g.isValid()) g = geometry();
    const int show = isMaximized()   ? CWindowPlacement::kShowMaximized
                     : isMinimized() ? CWindowPlacement::kShowMinimized
                                     : CWindowPlacement::kShowNormal;
    WriteMainPlacement(m_ports.settings, {g.left(), g.top(), g.left() + g.width(), g.top() + g.height(), show});
}

void CMainFrame::ShowAtStart() {
    if (m_startMaximized) showMaximized();
    else
        show();
    // A window manager activates a new window itself; without one the frame would start
    // without the keyboard.
    activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A dialog still open (a screen reader or the session can ask to close past it) would be
    // destroyed inside its own event loop with the window that owns it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        event->ignore();
        modal->raise();
        modal->activateWindow();
        return;
    }
    m_closing = true;
    if (QWidget* w = CollectionWindow()) w->close();
    if (m_seams.saveKeywordList) m_seams.saveKeywordList();
    SavePlacement();
    // Each document asks for its own unsaved changes; one that is kept keeps the program running.
    m_mdi->closeAllSubWindows();
    m_closing = false;
    if (DocumentCount() > 0) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        SetMessageText(tip.isEmpty() ? QString::fromLatin1(kIdleMessage) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            const int lock = key->key() == Qt::Key_CapsLock     ? 0
                             : key->key() == Qt::Key_NumLock    ? 1
                             : key->key() == Qt::Key_ScrollLock ? 2
                                                                : -1;
            // A key event passes several objects; it is counted where it enters, at its window.
            if (lock >= 0 && qobject_cast<QWindow*>(watched)) {
                m_lockState[lock] = !m_lockState[lock];
                UpdateLockPanes();
            }
        }
        if (m_helpMode && key->key() == Qt::Key_Escape) {
            LeaveContextHelpMode();
            return true;
        }
    }
    if (m_helpMode && event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        // Menus and toolbar buttons choose a command; any other window has no help text.
        for (auto* w = static_cast<QWidget*>(watched); w; w = w->parentWidget())
            if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w) || qobject_cast<QToolButton*>(w))
                return QMainWindow::eventFilter(watched, event);
        LeaveContextHelpMode();
        m_contextHelp.WinHelp(m_ports.prompt, 0);
        UpdateCommandUi();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
