#pragma once

#include "CDataTable.h"

#include "TestPorts.h"

#include <QApplication>
#include <QDrag>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

// A table whose modal steps (menus, dialogs, the drag loop) are scripted.
class CTestTable : public CDataTable {
public:
    using CDataTable::CDataTable;
    std::function<int(QMenu&)> onMenu;
    std::optional<CLogFont> font;
    std::function<int(QDrag&)> onDrag;

protected:
    int ExecPopup(QMenu& menu, QPoint) override { return onMenu ? onMenu(menu) : 0; }
    std::optional<CColorRef> PickColor(CColorRef) override { return std::nullopt; }
    std::optional<CLogFont> PickFont(const CLogFont&) override { return font; }
    int RunDrag(QDrag& drag) override { return onDrag ? onDrag(drag) : 0; }
};

// Every notification, with a copy of the payloads the tests read.
struct CRecord {
    int code = 0;
    CTableDrop drop;
};

// A window holding one table; records every notification, which `answer` may answer first.
struct CTableHost {
    CMemorySettings settings;
    CScriptedPrompt prompt;
    QWidget window;
    CTestTable* table = new CTestTable(CUiServices{&prompt, &settings, nullptr}, &window);
    std::vector<CRecord> records;
    std::function<void(CTableNotify&)> answer;

    explicit CTableHost(QSize size = {600, 400}) {
        window.resize(size);
        QObject::connect(table, &CDataTable::notify, &window, [this](CTableNotify& n) {
            if (answer) answer(n);
            CRecord r;
            r.code = n.code;
            if (auto* c = dynamic_cast<CTableDrop*>(&n)) r.drop = *c;
            records.push_back(r);
        });
    }
    void Show() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
    }
    // Created with row numbers, shown and painted, nothing recorded yet.
    void Create(CDataTableParams p) {
        p.rowNumbers = 1;
        ASSERT_TRUE(table->Create(&window, p, 0, 0));
        Show();
        ASSERT_TRUE(table->IsPainted());
        records.clear();
    }
    int Count(int code) const {
        return int(std::count_if(records.begin(), records.end(), [code](const CRecord& r) { return r.code == code; }));
    }
    const CRecord* Last(int code) const {
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            if (it->code == code) return &*it;
        return nullptr;
    }
    QWidget* View() const { return table->viewport(); }
};

// 12-pixel fonts: header 20 high, rows 16 high; with row numbers the cells start at x = 32.
inline CDataTableParams TableParams(int columns, int buffer, int total, std::vector<int> widths = {100, 100, 100}) {
    CMemorySettings none;
    CDataTableParams p(none);
    p.headerFont.height = 12;
    p.headerFont.faceName = "DejaVu Sans";
    p.cellFont = p.headerFont;
    p.columnCount = columns;
    p.bufferRows = buffer;
    p.totalRows = total;
    for (std::size_t i = 0; i < widths.size(); ++i) p.SetColumnWidth(int(i), widths[i]);
    p.backColor = 0xFFFFFF;
    return p;
}
