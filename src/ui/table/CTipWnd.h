#pragma once

#include "TableBasics.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <optional>
#include <string>
#include <string_view>

class QWidget;
class CTipPopup;

// A tip: a small bordered popup with a text of one or more lines, shown near the pointer or
// over a given rectangle, and taken down when the pointer moves away, a time runs out or the
// user clicks or types (the click or key then goes on to the owner). Each owner keeps its own
// CTipWnd; at most one of them is current in the process. CTipWnd decides when and where; the
// popup (CTipPopup) exists only while the tip is shown, and text and settings stay for the next
// show.
class CTipWnd : public QObject {
    Q_OBJECT
public:
    // mainWindow (may be null) stands in for a missing owner; see ShowFor.
    explicit CTipWnd(QWidget* mainWindow, QObject* parent = nullptr);
    ~CTipWnd() override;

    // Ignored while the tip is shown.
    void SetTipText(std::string_view text);
    void SetTipColor(CColorRef color);
    // Screen rectangle whose top-left (and, with a bottom, height) the tip takes.
    void SetPlacement(const CRect& screenRect);
    // Screen rectangle the pointer must stay in; enable false switches it off.
    void SetHoverRect(int left, int top, int right, int bottom, bool enable);
    void ResetTip();

    void ShowAtPointer(QWidget* owner, int timeoutMs);
    // As ShowAtPointer without a time-out, 500 ms later.
    void ShowDelayed(QWidget* owner);
    // Shows at once for owner (the main window when null); with followMouse the tip goes as
    // soon as the pointer leaves the tip and the owner, or on a click or key.
    void ShowFor(QWidget* owner, const CLogFont* font, bool followMouse);
    void HideTip();

    bool IsShown() const { return m_shown; }
    const std::string& TipText() const { return m_text; }
    QWidget* Popup() const;
    QWidget* Owner() const { return m_owner; }
    static CTipWnd* Current() { return s_current; }

    // Where a tip of textSize goes for a pointer at pointer on screen (without a placement).
    struct CPlaceInput {
        QPoint pointer;
        QSize textSize;
        QRect screen;
        bool defaultFont = true;
        std::optional<CRect> placement;
    };
    static QRect PlaceTip(const CPlaceInput& in);

    // Pointer polling interval of the leave checks, in ms.
    static constexpr int kPollMs = 20;
    static constexpr int kDelayMs = 500;
    static constexpr int kCursorSize = 32;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CTipPopup;
    void BecomeCurrent();
    // The common start of the pointer-anchored shows; false when nothing is to be shown.
    bool ArmAtPointer(QWidget* owner);
    void CreateAndShow();
    void TakeDown();
    void StartFollowing();
    void StopFollowing();
    void CheckPointerBox();
    void CheckHover();
    void CheckFollow();
    void PassToOwner(QEvent* event, QPoint globalPos);
    QFont TipFont() const;
    static void OnDelayedShow();

    std::string m_text;
    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_owner;
    QPointer<CTipPopup> m_popup;
    bool m_shown = false;
    bool m_armed = false;
    bool m_following = false;
    bool m_useGuiFont = false;
    std::optional<CColorRef> m_color;
    std::optional<QFont> m_font;
    std::optional<CRect> m_placement;
    std::optional<CRect> m_hover;
    QRect m_pointerBox;
    QRect m_leaveRect;
    QTimer m_hoverTimer;   // every 200 ms while a hover rectangle is set
    QTimer m_boxTimer;     // the pointer left the box around where it was at the show
    QTimer m_timeoutTimer; // the caller's time-out
    QTimer m_followTimer;  // pointer checks while following

    static CTipWnd* s_current;
};
