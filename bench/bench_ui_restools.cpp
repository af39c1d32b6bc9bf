// The resource tools' colours in the text view: 5,000 ranges (one per identifier of a large
// header) must colour and paint within 200 ms. The view shows them as extra selections; the
// character formats of the document, the other way a text widget offers, are measured beside.
#include "app/CMainFrame.h"
#include "app/CMdiClientWnd.h"
#include "app/QuietPorts.h"
#include "restools/CViewResourceTools.h"
#include "restools/ResourceModel.h"
#include "textdoc/CTextDocuments.h"
#include "textdoc/CtavView.h"

#include <QApplication>
#include <QMdiArea>
#include <QTextBlock>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr int kRanges = 5000;

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_ui_restools";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

struct CHeader {
    std::filesystem::path path;
    std::vector<std::pair<std::size_t, std::size_t>> lines; // byte ranges of the define lines
};

const CHeader& Header() {
    static const CHeader h = [] {
        CHeader h;
        h.path = std::filesystem::temp_directory_path() / "quillbox_bench_resource.h";
        std::string text = "// generated\r\n";
        for (int i = 0; i < kRanges; ++i) {
            const std::size_t start = text.size();
            text += "#define IDC_CONTROL_" + std::to_string(i) + "  " + std::to_string(1000 + i);
            h.lines.emplace_back(start, text.size());
            text += "\r\n";
        }
        std::ofstream(h.path, std::ios::binary) << text;
        return h;
    }();
    return h;
}

struct CBenchFrame {
    QApplication& app = App();
    CQuietPorts ports{false};
    CMainFrame frame{ports.prompt, ports.settings, ports.progress, ports.pickers};
    CTextDocuments* docs = new CTextDocuments(frame);
    CtavView* view = nullptr;

    CBenchFrame() {
        frame.AttachCollections(std::filesystem::temp_directory_path() / "quillbox_bench_home",
                                std::filesystem::temp_directory_path());
        frame.resize(1000, 700);
        frame.show();
        docs->OpenDocumentFile(Header().path, false);
        view = docs->ActiveView();
        frame.grab();
    }
    // The windows go before the frame, as when the user closes them.
    ~CBenchFrame() { frame.MdiArea()->closeAllSubWindows(); }
};

// What a search does when every identifier turns red: the text back in black, each range
// coloured, the selection set, then the first paint.
void BM_ColourRangesAsExtraSelections(benchmark::State& state) {
    CBenchFrame f;
    CViewResourceTools& tools = f.view->ResourceTools();
    const std::string text = tools.WorkingText();
    for (auto _ : state) {
        tools.ReloadTextBlack(text);
        for (const auto& [start, end] : Header().lines) tools.SetRangeColor(start, end, kColorRed);
        tools.SelectRange(Header().lines.front().first, Header().lines.front().second);
        f.view->viewport()->grab();
    }
    state.counters["ranges"] = double(f.view->extraSelections().size());
}
BENCHMARK(BM_ColourRangesAsExtraSelections)->Unit(benchmark::kMillisecond)->Iterations(5);

// Scrolling through the coloured text: each page paints with 5,000 selections in the list.
void BM_PaintPageWithColouredRanges(benchmark::State& state) {
    CBenchFrame f;
    CViewResourceTools& tools = f.view->ResourceTools();
    tools.ReloadTextBlack(tools.WorkingText());
    for (const auto& [start, end] : Header().lines) tools.SetRangeColor(start, end, kColorRed);
    tools.Flush();
    int line = 0;
    for (auto _ : state) {
        line = (line + 400) % kRanges;
        tools.SelectRange(Header().lines[std::size_t(line)].first, Header().lines[std::size_t(line)].first);
        f.view->viewport()->grab();
    }
}
BENCHMARK(BM_PaintPageWithColouredRanges)->Unit(benchmark::kMillisecond)->Iterations(10);

// The same colours as character formats of the document, in one edit block.
void BM_ColourRangesAsCharFormats(benchmark::State& state) {
    CBenchFrame f;
    QTextDocument* doc = f.view->document();
    std::vector<std::pair<int, int>> ranges;
    for (int i = 0; i < kRanges; ++i) {
        const int len = int(Header().lines[std::size_t(i)].second - Header().lines[std::size_t(i)].first);
        ranges.emplace_back(doc->findBlockByNumber(i + 1).position(), len);
    }
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    QTextCharFormat black;
    black.setForeground(QColor(0, 0, 0));
    for (auto _ : state) {
        QTextCursor c(doc);
        c.beginEditBlock();
        c.select(QTextCursor::Document);
        c.mergeCharFormat(black);
        for (const auto& [start, len] : ranges) {
            c.setPosition(start);
            c.setPosition(start + len, QTextCursor::KeepAnchor);
            c.mergeCharFormat(red);
        }
        c.endEditBlock();
        f.view->viewport()->grab();
    }
}
BENCHMARK(BM_ColourRangesAsCharFormats)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
