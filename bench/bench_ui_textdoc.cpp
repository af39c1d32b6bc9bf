// A 20 MB text file must open (read, decode, first paint) within a second, 9,999 keyword marks
// apply within 200 ms and a typed character answers within 50 ms.
#include "app/CMainFrame.h"
#include "app/CMdiClientWnd.h"
#include "app/QuietPorts.h"
#include "collections/CCollectionCommands.h"
#include "textdoc/CTextDocuments.h"
#include "textdoc/CtavDoc.h"
#include "textdoc/CtavView.h"

#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_ui_textdoc";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: Qt Test's input devices go away at exit before a static application would.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// 20 MB of CR LF lines with a non-ASCII letter each, "needle" on 9,999 of them.
std::filesystem::path LargeFile() {
    static const std::filesystem::path file = [] {
        const auto path = std::filesystem::temp_directory_path() / "quillbox_bench_20mb.txt";
        const std::string line = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod \xC3\xA4\r\n";
        std::string bytes;
        while (bytes.size() < 20u * 1024 * 1024) bytes += line;
        const std::size_t lines = bytes.size() / line.size();
        for (std::size_t i = 1; i < 10000; ++i) bytes.replace(i * (lines / 10000) * line.size(), 6, "needle");
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }();
    return file;
}

double ResidentMiB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

struct CBenchFrame {
    QApplication& app = App();
    CQuietPorts ports{false};
    CMainFrame frame{ports.prompt, ports.settings, ports.progress, ports.pickers};
    CTextDocuments* docs = new CTextDocuments(frame);

    explicit CBenchFrame(bool marks) {
        frame.AttachCollections(std::filesystem::temp_directory_path() / "quillbox_bench_home",
                                std::filesystem::temp_directory_path());
        frame.resize(1000, 700);
        frame.show();
        if (marks) {
            frame.CollectionCommands()->Search().SetKeywords("needle", true);
            frame.CollectionCommands()->Search().SetInForce(true);
        }
    }
    CtavView* Open() {
        docs->OpenDocumentFile(LargeFile(), true);
        frame.grab(); // the first paint
        return docs->ActiveView();
    }
};

void BM_OpenLargeFile(benchmark::State& state) {
    const bool marks = state.range(0) != 0;
    LargeFile();
    for (auto _ : state) {
        state.PauseTiming();
        CBenchFrame f(marks);
        state.ResumeTiming();
        benchmark::DoNotOptimize(f.Open());
        state.PauseTiming();
        f.frame.MdiArea()->closeAllSubWindows();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLargeFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The rest of the text arrives from the event loop after the first paint; this is until the last
// slice is in.
void BM_LoadLargeFileWhole(benchmark::State& state) {
    LargeFile();
    for (auto _ : state) {
        state.PauseTiming();
        CBenchFrame f(false);
        const double before = ResidentMiB();
        state.ResumeTiming();
        CtavView* v = f.Open();
        while (v->Document()->IsLoading()) QCoreApplication::processEvents();
        state.PauseTiming();
        // What the open document holds, against the file's size.
        state.counters["memory_x_file"] =
            (ResidentMiB() - before) * 1024.0 * 1024.0 / double(std::filesystem::file_size(LargeFile()));
        f.frame.MdiArea()->closeAllSubWindows();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadLargeFileWhole)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TypeIntoLargeFile(benchmark::State& state) {
    CBenchFrame f(state.range(0) != 0);
    CtavView* v = f.Open();
    while (v->Document()->IsLoading()) QCoreApplication::processEvents();
    for (auto _ : state) {
        QTest::keyClick(v, Qt::Key_X);
        v->viewport()->grab();
    }
}
BENCHMARK(BM_TypeIntoLargeFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
