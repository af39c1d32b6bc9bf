#include "CTipWnd.h"

#include "QtConvert.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {
constexpr int kBorder = 1; // the popup's frame line
constexpr int kMargin = kBorder + 1;
constexpr int kScreenFrame = 4; // room kept free at the screen's right and bottom
constexpr int kMenuHeight = 20;

std::vector<QString> SplitLines(const QString& text) {
    std::vector<QString> lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.push_back(line);
            line.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

QTimer& DelayTimer() {
    // Process-wide: a delayed show reaches whichever tip is current when it fires.
    static QTimer* timer = [] {
        auto* t = new QTimer(QCoreApplication::instance());
        t->setSingleShot(true);
        t->setInterval(CTipWnd::kDelayMs);
        return t;
    }();
    return *timer;
}

QRect ScreenAt(QPoint p) {
    QScreen* s = QGuiApplication::screenAt(p);
    if (!s) s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}
} // namespace

// The popup of a shown tip: draws the text and hands clicks and keys back to its tip.
class CTipPopup : public QWidget {
public:
    CTipPopup(CTipWnd& tip, QWidget* owner) : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint), m_tip(tip) {
        setObjectName(QStringLiteral("tipPopup"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_DeleteOnClose, false);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QColor back = palette().color(QPalette::ToolTipBase);
        QColor ink = palette().color(QPalette::ToolTipText);
        if (m_tip.m_color) {
            back = ToQColor(*m_tip.m_color);
            if (IsDarkColor(*m_tip.m_color)) ink = Qt::white;
        }
        p.fillRect(rect(), back);
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (m_tip.m_text.empty()) return;
        p.setFont(m_tip.TipFont());
        p.setPen(ink);
        const int step = p.fontMetrics().height();
        int y = kBorder;
        for (const QString& line : SplitLines(ToQ(m_tip.m_text))) {
            p.drawText(QRect(kMargin, y, width(), step), Qt::TextExpandTabs | Qt::AlignLeft | Qt::AlignTop, line);
            y += step;
        }
    }
    void mousePressEvent(QMouseEvent* e) override { m_tip.PassToOwner(e, e->globalPosition().toPoint()); }
    void keyPressEvent(QKeyEvent* e) override { m_tip.PassToOwner(e, QCursor::pos()); }

private:
    CTipWnd& m_tip;
};

CTipWnd* CTipWnd::s_current = nullptr;

CTipWnd::CTipWnd(QWidget* mainWindow, QObject* parent) : QObject(parent), m_mainWindow(mainWindow) {
    m_hoverTimer.setInterval(200);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CTipWnd::CheckHover);
    m_boxTimer.setInterval(kPollMs);
    connect(&m_boxTimer, &QTimer::timeout, this, &CTipWnd::CheckPointerBox);
    m_timeoutTimer.setSingleShot(true);
    connect(&m_timeoutTimer, &QTimer::timeout, this, &CTipWnd::HideTip);
    m_followTimer.setInterval(kPollMs);
    connect(&m_followTimer, &QTimer::timeout, this, &CTipWnd::CheckFollow);
    m_leaveRect = ScreenAt(QCursor::pos());
}

CTipWnd::~CTipWnd() {
    TakeDown();
    if (s_current == this) s_current = nullptr;
}

QWidget* CTipWnd::Popup() const { return m_popup; }

void CTipWnd::SetTipText(std::string_view text) {
    if (!m_shown) m_text.assign(text);
}

void CTipWnd::SetTipColor(CColorRef color) { m_color = color; }

void CTipWnd::SetPlacement(const CRect& screenRect) { m_placement = screenRect; }

void CTipWnd::SetHoverRect(int left, int top, int right, int bottom, bool enable) {
    if (!enable) {
        m_hover.reset();
    } else if (right >= left && bottom >= top && left >= 0 && top >= 0) {
        m_hover = CRect{left, top, right, bottom};
    }
}

void CTipWnd::ResetTip() {
    m_placement.reset();
    m_color.reset();
    m_font.reset();
    m_useGuiFont = false;
    m_leaveRect = ScreenAt(QCursor::pos());
}

void CTipWnd::BecomeCurrent() {
    if (s_current && s_current != this && s_current->m_shown) s_current->TakeDown();
    s_current = this;
}

bool CTipWnd::ArmAtPointer(QWidget* owner) {
    if (m_armed) return false;
    m_armed = true;
    BecomeCurrent();
    DelayTimer().stop();
    if (m_text.empty()) return false;
    m_owner = owner;
    const QPoint at = QCursor::pos();
    m_pointerBox = QRect(at - QPoint(kCursorSize, kCursorSize), at + QPoint(kCursorSize, kCursorSize));
    m_useGuiFont = true;
    return true;
}

void CTipWnd::ShowAtPointer(QWidget* owner, int timeoutMs) {
    if (!ArmAtPointer(owner)) return;
    CreateAndShow();
    m_boxTimer.start();
    if (timeoutMs > 0 && !m_hover) m_timeoutTimer.start(timeoutMs);
}

void CTipWnd::ShowDelayed(QWidget* owner) {
    if (!ArmAtPointer(owner)) return;
    DelayTimer().disconnect();
    connect(&DelayTimer(), &QTimer::timeout, &CTipWnd::OnDelayedShow);
    DelayTimer().start();
}

void CTipWnd::OnDelayedShow() {
    CTipWnd* tip = s_current;
    if (!tip) return;
    tip->CreateAndShow();
    tip->m_boxTimer.start();
}

void CTipWnd::ShowFor(QWidget* owner, const CLogFont* font, bool followMouse) {
    BecomeCurrent();
    m_armed = false;
    QWidget* mainWindow = m_mainWindow;
    m_owner = owner ? owner : mainWindow;
    // Only for the window the user works in.
    QWidget* active = QApplication::activeWindow();
    const bool ours =
        active && ((m_owner && active == m_owner->window()) || (m_popup && active == m_popup) || active == mainWindow);
    if (!ours) return;
    if (m_shown) TakeDown();
    if (m_text.empty()) return;
    m_useGuiFont = true;
    if (font && !m_font) m_font = MakeQFont(*font);
    CreateAndShow();
    if (m_shown && followMouse && !m_hover) StartFollowing();
}

void CTipWnd::HideTip() {
    m_hoverTimer.stop();
    if (m_armed) {
        DelayTimer().stop();
        m_boxTimer.stop();
    }
    TakeDown();
    if (s_current == this) s_current = nullptr;
    m_armed = false;
}

QFont CTipWnd::TipFont() const {
    if (m_font) return *m_font;
    if (m_useGuiFont) return QApplication::font();
    return m_popup ? m_popup->font() : QApplication::font();
}

QRect CTipWnd::PlaceTip(const CPlaceInput& in) {
    const int scrollBar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int w = in.textSize.width(), h = in.textSize.height();
    int x = in.pointer.x(), y = in.pointer.y();
    int width = w + 2 * kMargin, height = h + 2 * kBorder;
    const int right = in.screen.x() + in.screen.width() - kScreenFrame;
    if (x + width > right) x = right - w - scrollBar;
    if (in.defaultFont) y += kCursorSize / 2;
    const int bottom = in.screen.y() + in.screen.height() - kMenuHeight - kScreenFrame;
    if (y + height > bottom) y = bottom - h;
    if (in.placement) {
        x = in.placement->left;
        y = in.placement->top;
        if (in.placement->bottom != 0) height = in.placement->bottom - in.placement->top + kBorder;
        width = std::max(width, in.placement->Width());
        return QRect(x, y, width, height);
    }
    return QRect(x + 10, y, width, height);
}

void CTipWnd::CreateAndShow() {
    if (m_shown || m_text.empty()) return;
    m_popup = new CTipPopup(*this, m_owner);
    const QFontMetrics fm(TipFont());
    int w = 0, h = 0;
    for (const QString& line : SplitLines(ToQ(m_text))) {
        w = std::max(w, fm.size(Qt::TextExpandTabs, line.isEmpty() ? QStringLiteral(" ") : line).width());
        h += fm.height();
    }
    const QPoint at = QCursor::pos();
    if (m_hover) m_hoverTimer.start();
    m_popup->setGeometry(PlaceTip({at, QSize(w, h), ScreenAt(at), m_useGuiFont && !m_font, m_placement}));
    m_popup->show();
    m_shown = true;
}

void CTipWnd::TakeDown() {
    StopFollowing();
    m_boxTimer.stop();
    m_timeoutTimer.stop();
    m_font.reset();
    if (m_popup) {
        m_popup->hide();
        m_popup->deleteLater();
        m_popup = nullptr;
    }
    m_shown = false;
    m_leaveRect = ScreenAt(QCursor::pos());
}

void CTipWnd::CheckPointerBox() {
    if (!m_shown) return;
    if (!m_pointerBox.contains(QCursor::pos())) HideTip();
}

void CTipWnd::CheckHover() {
    if (!m_hover) {
        m_hoverTimer.stop();
        return;
    }
    const QPoint p = QCursor::pos();
    if (p.x() < m_hover->left || p.x() >= m_hover->right || p.y() < m_hover->top || p.y() >= m_hover->bottom) HideTip();
}

void CTipWnd::StartFollowing() {
    m_following = true;
    qApp->installEventFilter(this);
    m_followTimer.start();
}

void CTipWnd::StopFollowing() {
    if (!m_following) return;
    m_following = false;
    qApp->removeEventFilter(this);
    m_followTimer.stop();
}

void CTipWnd::CheckFollow() {
    if (!m_shown) return;
    const QPoint p = QCursor::pos();
    const bool overTip = m_popup && m_popup->geometry().contains(p);
    const bool overOwner = m_owner && m_owner->isVisible() && m_owner->rect().contains(m_owner->mapFromGlobal(p));
    if ((!overTip && !overOwner) || !m_leaveRect.contains(p)) TakeDown();
}

bool CTipWnd::eventFilter(QObject* watched, QEvent* event) {
    if (!m_following || !watched->isWidgetType()) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton) {
            // The click belongs to what lies under the tip.
            PassToOwner(event, me->globalPosition().toPoint());
            return true;
        }
        TakeDown();
        return false;
    }
    case QEvent::KeyPress:
    case QEvent::NonClientAreaMouseButtonPress: TakeDown(); return false;
    case QEvent::MouseMove: CheckFollow(); return false;
    default: return false;
    }
}

void CTipWnd::PassToOwner(QEvent* event, QPoint globalPos) {
    QPointer<QWidget> owner = m_owner;
    TakeDown();
    if (!owner) return;
    // Delivered to the deepest widget of the owner under the point, as if the tip were not there.
    QWidget* target = owner;
    if (QWidget* child = owner->childAt(owner->mapFromGlobal(globalPos))) target = child;
    if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, ke->key(), ke->modifiers(), ke->text()));
        return;
    }
    auto* me = static_cast<QMouseEvent*>(event);
    const QPointF local = target->mapFromGlobal(QPointF(globalPos));
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, local, QPointF(globalPos),
                                                        me->button(), me->buttons() | me->button(), me->modifiers()));
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonRelease, local, QPointF(globalPos),
                                                        me->button(), Qt::NoButton, me->modifiers()));
    if (s_current == this) s_current = nullptr;
}
