#pragma once

#include <QWidget>

class CDataTable;

// The raised box with the down arrow at the right of an edit whose list is open.
class CTableDropButton : public QWidget {
    Q_OBJECT
public:
    explicit CTableDropButton(CDataTable& table, QWidget* host);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CDataTable& m_table;
};
