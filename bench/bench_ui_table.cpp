// Painting and scrolling a table must not depend on how many rows it represents: the buffer is
// a window of at most 400 rows onto the total.
#include "table/CDataTable.h"

#include "app/QuietPorts.h"
#include "app/TextUtil.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_ui_table";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: Qt Test's input devices go away at exit before a static application would.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

struct CBenchTable {
    QApplication& app = App();
    CQuietPorts quiet{false};
    QWidget window;
    CUiServices services{&quiet.prompt, &quiet.settings, &window};
    CDataTable* table = new CDataTable(services, &window);

    explicit CBenchTable(int rows) {
        window.resize(800, 600);
        CDataTableParams p(quiet.settings);
        p.columnCount = 3;
        p.totalRows = rows;
        p.bufferRows = std::min(rows, 400);
        p.rowNumbers = 1;
        p.backColor = 0xFFFFFF;
        for (int c = 0; c < 3; ++c) p.SetColumnWidth(c, 240);
        table->Create(&window, p, 0, 0);
        for (int r = 0; r < p.bufferRows; ++r) {
            table->SetCellText(r, 0, Format("Row %d with a description long enough to be cut at the edge", r), false);
            table->SetCellText(r, 1, Format("read-only %d", r), false);
            table->SetCellText(r, 2, "choice", false);
        }
        table->SetColumnKind(2, kCellChoiceOnly, false);
        table->SetCurrentCell(3, 1);
    }
};

void BM_PaintTable(benchmark::State& state) {
    CBenchTable b(int(state.range(0)));
    QImage img(780, 580, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&img);
        b.table->PaintTable(p, img.size());
    }
}
BENCHMARK(BM_PaintTable)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void BM_LineDown(benchmark::State& state) {
    CBenchTable b(int(state.range(0)));
    for (auto _ : state) {
        if (b.table->Model().TopRow() >= b.table->Model().VMax()) b.table->OnVScrollCode(4, 0, true);
        b.table->OnVScrollCode(1, 0, false);
    }
}
BENCHMARK(BM_LineDown)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void BM_LineDownAndPaint(benchmark::State& state) {
    CBenchTable b(int(state.range(0)));
    QImage img(780, 580, QImage::Format_RGB32);
    for (auto _ : state) {
        if (b.table->Model().TopRow() >= b.table->Model().VMax()) b.table->OnVScrollCode(4, 0, true);
        b.table->OnVScrollCode(1, 0, false);
        QPainter p(&img);
        b.table->PaintTable(p, img.size());
    }
}
BENCHMARK(BM_LineDownAndPaint)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

} // namespace
