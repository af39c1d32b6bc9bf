#pragma once

#include "app/CProgressState.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

// The drawn bar of the progress indicator: a scaled band with a ruler underneath, a marker at
// its end, the time since it appeared and a label. Repaints itself every 200 ms so the clock runs.
class CProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit CProgressBar(QWidget* parent = nullptr);

    void SetRange(double total);
    void SetPos(double value);
    void SetPosText(double value, std::string_view text);
    void SetCreeping(bool on);

    const CProgressState& State() const { return m_state; }
    long long ElapsedMs() const { return m_clock.elapsed(); }
    // The pixel width of the filled band for the current values.
    int BandWidth() const;
    QRect BandRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CProgressState m_state;
    QElapsedTimer m_clock;
    QTimer m_repaint;
};
