#pragma once

#include <QBrush>
#include <QMdiArea>

// The area that holds the document windows, painted with our tiled picture from its top-left
// corner; a display of fewer than 8 bits per pixel gets the workspace colour instead.
class CMdiClientWnd : public QMdiArea {
    Q_OBJECT
public:
    explicit CMdiClientWnd(QWidget* parent = nullptr);

    static QBrush BackgroundFor(int depth, const QPalette& palette);
    void UpdateBackground();

protected:
    void showEvent(QShowEvent* event) override;
};
