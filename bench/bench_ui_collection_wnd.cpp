// The collection window over 100,000 records: what the user waits for after the command (the
// first rows), after a jump to a far row (the buffer refill) and after a key in the description
// box (the filter over every record).
#include "BenchRoot.h"
#include "app/CMainFrame.h"
#include "app/QuietPorts.h"
#include "collections/CCollectionWindowHost.h"
#include "collections/CCollectionWnd.h"
#include "collections/CCollections.h"
#include "table/CDataTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 100'000;

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_ui_collection_wnd";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: Qt Test's input devices go away at exit before a static application would.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// A frame with the real collection window host over a collection of kRecords records, one in
// fifth of them described with "kiwi" (the letter k matches two descriptions in five).
struct CBenchWnd {
    QApplication& app = App();
    CQuietPorts quiet{true};
    CMainFrame frame{quiet.prompt, quiet.settings, quiet.progress, quiet.pickers};
    CCollectionWindowHost* host = nullptr;
    fs::path docs = Root() / "docs";

    CBenchWnd() {
        fs::create_directories(docs);
        frame.AttachCollections(Root() / "home", Root() / "program");
        host = CCollectionWindowHost::Install(frame, CUiServices{&quiet.prompt, &quiet.settings, &frame});
        const fs::path file = Store().GetCollectionFilePath(docs.string());
        fs::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << "#Docs#" << docs.string() << "#bench#*.*\r\n";
        static const char* kWords[] = {"kiwi salad", "plain notes", "kept letters", "old photos", "tax papers"};
        for (int i = 0; i < kRecords; ++i) {
            out << docs.string() << "/sub" << i / 1000 << "/file" << i << ".txt#" << kWords[i % 5] << ' ' << i << '#';
            if (i % 3 == 0) out << 'g' << i % 7;
            out << "\r\n";
        }
    }
    CCollectionStore& Store() { return frame.Collections()->Store(); }
    void Load() {
        Store().SetBaseDirectory(docs.string());
        Store().SetCollectionFilePath(Store().GetCollectionFilePath(docs.string()));
        Store().LoadCollection();
    }
    CCollectionWnd& Show() {
        host->ShowCollection();
        QApplication::processEvents();
        return *host->Window();
    }
    void Close() {
        if (CCollectionWnd* w = host->Window()) w->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
    static void Type(QWidget* box, Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(box, &release);
    }
};

CBenchWnd& Bench() {
    static CBenchWnd* bench = new CBenchWnd; // kept to the end: the window outlives the runs
    return *bench;
}

// From the command to the painted first rows of a collection that is already loaded.
void BM_FirstRows(benchmark::State& state) {
    CBenchWnd& b = Bench();
    b.Close();
    for (auto _ : state) {
        state.PauseTiming();
        b.Load();
        state.ResumeTiming();
        CCollectionWnd& w = b.Show();
        benchmark::DoNotOptimize(w.Table()->GetCellText(0, 1));
        state.PauseTiming();
        b.Close();
        state.ResumeTiming();
    }
    state.counters["rows"] = double(kRecords);
}
BENCHMARK(BM_FirstRows)->Unit(benchmark::kMillisecond)->Iterations(10);

// A jump of the scroll box to a far row: the buffer moves and its 400 rows are filled again
// and painted.
void BM_ScrollRefill(benchmark::State& state) {
    CBenchWnd& b = Bench();
    b.Close();
    b.Load();
    CDataTable& table = *b.Show().Table();
    // Long tables scroll in scaled steps.
    const int far[] = {int(50'000 / table.Model().Scale()), int(90'000 / table.Model().Scale())};
    int k = 0;
    for (auto _ : state) {
        table.OnVScrollCode(4, far[k], true);
        table.repaint();
        k = 1 - k;
    }
    const int top = table.Model().TopRow();
    if (top < 40'000 || table.GetCellText(top, 1).empty()) state.SkipWithError("far row not filled");
}
BENCHMARK(BM_ScrollRefill)->Unit(benchmark::kMillisecond);

// One letter typed into the empty description box: every record is searched and the found
// list shown.
void BM_DescriptionBoxKey(benchmark::State& state) {
    CBenchWnd& b = Bench();
    QLineEdit* box = nullptr;
    for (auto _ : state) {
        state.PauseTiming();
        // A new window over the whole list, as before the first key.
        b.Close();
        b.Load();
        box = b.Show().DescriptionBox();
        state.ResumeTiming();
        CBenchWnd::Type(box, Qt::Key_K, QStringLiteral("k"));
        QApplication::processEvents();
    }
    if (!box || box->text() != QLatin1String("k")) state.SkipWithError("the key did not reach the box");
    state.counters["found"] = double(b.Store().RowCount());
}
BENCHMARK(BM_DescriptionBoxKey)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
