// Odd but legal inputs that once cost quadratic time: a header of 200,000 defines with every
// other one red, a 1 MB RC script on one line, and 20,000 nested #ifndef blocks on the keyword.
#include "app/QuietPorts.h"
#include "restools/CResourceTools.h"
#include "restools/CResourceView.h"
#include "restools/ConditionalBlocks.h"
#include "restools/RcScript.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class CAllTextDialogs : public CResourceDialogs {
public:
    explicit CAllTextDialogs(CSettings& settings) : m_settings(settings) {}
    bool RunRcOptionsDialog(bool withAllText) override {
        SaveRcOptions(m_settings, CRcOptions{{}, true}, withAllText);
        return true;
    }
    bool RunProjectSearchDialog(CProjectSearchOptions&) override { return false; }

private:
    CSettings& m_settings;
};

fs::path BenchDir() { return fs::temp_directory_path() / ("quillbox-bench-odd-" + std::to_string(::getpid())); }

void BM_ExcludeRedAlternating(benchmark::State& state) {
    constexpr int kDefines = 200000;
    const fs::path dir = BenchDir();
    fs::create_directories(dir);
    std::string header, used;
    for (int i = 0; i < kDefines; ++i) {
        const std::string name = (i % 2 ? "IDB_" : "IDA_") + std::to_string(i);
        header += "#define " + name + " " + std::to_string(i) + "\r\n";
        if (i % 2) used += name + "\r\n";
    }
    std::ofstream(dir / "used.rc", std::ios::binary) << used;
    CQuietPorts quiet(true);
    CAllTextDialogs dialogs(quiet.settings);
    for (auto _ : state) {
        state.PauseTiming();
        CMemoryResourceView view(dir / "resource.h", header);
        CResourceTools tools(view, dialogs, quiet.ports);
        tools.DetectKind();
        if (!tools.OnFindInRcFile()) state.SkipWithError("search did not run");
        state.ResumeTiming();
        if (!tools.OnExcludeRed()) state.SkipWithError("nothing red");
        benchmark::DoNotOptimize(view.Text().size());
    }
}

void BM_RcBlocksOnOneLine(benchmark::State& state) {
    std::string rc;
    for (int i = 0; rc.size() < (1u << 20); ++i)
        rc += "D" + std::to_string(i) + " DIALOG DISCARDABLE BEGIN LTEXT \"x\", IDC_X END ";
    const CRcGroups all{true, true, true};
    for (auto _ : state) benchmark::DoNotOptimize(ParseRcLists(rc, all).dialogs.size());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rc.size()));
}

void BM_PositiveFilterNestedIfndef(benchmark::State& state) {
    constexpr int kLevels = 20000;
    std::string text;
    for (int i = 0; i < kLevels; ++i) text += "#ifndef KEY\r\nx\r\n";
    for (int i = 0; i < kLevels; ++i) text += "#endif\r\n";
    for (auto _ : state) benchmark::DoNotOptimize(ApplyPositiveFilter(text, "KEY").size());
}

BENCHMARK(BM_ExcludeRedAlternating)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_RcBlocksOnOneLine)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_PositiveFilterNestedIfndef)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

struct CCleanUp {
    ~CCleanUp() {
        std::error_code ec;
        fs::remove_all(BenchDir(), ec);
    }
} g_cleanUp;

} // namespace
