// Refresh of a generated tree against `find DIR -type f` on the same warm tree, and loading and
// writing a large collection file.
#include "BenchRoot.h"
#include "app/CMemorySettings.h"
#include "app/Ports.h"
#include "app/QuietPorts.h"
#include "collections/CCollections.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

namespace {

struct CBenchPorts : CQuietPorts {
    CBenchPorts() : CQuietPorts(true) {}
};

// files spread over nested folders (20 files a folder, 10 folders a level), five extensions of
// which three pass the filter. Built once per size.
fs::path Tree(int files) {
    static std::map<int, fs::path> trees;
    if (auto it = trees.find(files); it != trees.end()) return it->second;
    const fs::path base = Root() / ("tree" + std::to_string(files));
    static const char* kExt[] = {"txt", "h", "cpp", "doc", "bin"};
    for (int i = 0; i < files; ++i) {
        const int folder = i / 20;
        const fs::path dir = base / ("a" + std::to_string(folder % 10)) / ("b" + std::to_string(folder / 10 % 10)) /
                             ("c" + std::to_string(folder / 100));
        if (i % 20 == 0) fs::create_directories(dir);
        std::ofstream(dir / ("file" + std::to_string(i) + "." + kExt[i % 5]));
    }
    return trees[files] = base;
}

void BM_Refresh(benchmark::State& state) {
    const fs::path tree = Tree(int(state.range(0)));
    const fs::path home = Root() / ("home" + std::to_string(state.range(0)));
    fs::create_directories(home);
    CBenchPorts p;
    p.settings.WriteString("Property", "mainDir", tree.string());
    p.settings.WriteString("Property", "mainDirExt", "txt; h; cpp");
    {
        CCollections first(p.ports, home);
        CRefreshOptions create;
        create.noQuestion = create.quietCreation = true;
        if (!first.RefreshCollectionWithUI(create)) state.SkipWithError("first refresh failed");
    }
    std::size_t records = 0;
    for (auto _ : state) {
        CCollections coll(p.ports, home);
        if (!coll.RefreshCollectionWithUI()) state.SkipWithError("refresh failed");
        records = coll.Store().RecordCount();
    }
    state.counters["records"] = double(records);
}
BENCHMARK(BM_Refresh)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FindTypeF(benchmark::State& state) {
    const fs::path tree = Tree(int(state.range(0)));
    const std::string cmd = "find '" + tree.string() + "' -type f > /dev/null";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("find failed");
}
BENCHMARK(BM_FindTypeF)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A collection file of n records with descriptions and groups, as a long-used one looks, with
// the given line end.
fs::path BigCollection(int n, std::string_view eol = "\r\n") {
    const std::string tag = eol == "\r\n" ? "" : eol == "\n" ? "-lf" : "-cr";
    const fs::path file = Root() / ("big" + std::to_string(n) + tag + ".inf");
    if (fs::exists(file)) return file;
    std::ofstream out(file, std::ios::binary);
    out << "#Big#/data/big#A large collection#txt, h, cpp" << eol;
    for (int i = 0; i < n; ++i)
        out << "/data/big/folder" << i / 100 << "/some file name " << i << ".txt#description of file " << i << "#group"
            << i % 7 << "; shared" << eol;
    return file;
}

void BM_LoadCollection(benchmark::State& state) {
    const fs::path file = BigCollection(int(state.range(0)));
    CBenchPorts p;
    CCollectionStore store(p.prompt, Root());
    store.SetCollectionFilePath(file);
    for (auto _ : state) benchmark::DoNotOptimize(store.LoadCollection());
}
BENCHMARK(BM_LoadCollection)->Arg(100000)->Unit(benchmark::kMillisecond);

// Files written on old Macs end their lines with CR alone; they must load about as fast as LF
// ones (arg 0: LF, 1: CR).
void BM_LoadLineEnds(benchmark::State& state) {
    const fs::path file = BigCollection(100000, state.range(0) == 0 ? "\n" : "\r");
    CBenchPorts p;
    CCollectionStore store(p.prompt, Root());
    store.SetCollectionFilePath(file);
    std::size_t records = 0;
    for (auto _ : state) benchmark::DoNotOptimize(records = store.LoadCollection());
    state.counters["records"] = double(records);
    state.SetLabel(state.range(0) == 0 ? "LF" : "CR only");
}
BENCHMARK(BM_LoadLineEnds)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WriteCollectionFile(benchmark::State& state) {
    const fs::path file = BigCollection(int(state.range(0)));
    CBenchPorts p;
    CCollectionStore store(p.prompt, Root());
    store.SetCollectionFilePath(file);
    store.LoadCollection();
    store.SetCollectionFilePath(Root() / "written.inf");
    for (auto _ : state)
        if (!store.WriteCollectionFile()) state.SkipWithError("write failed");
}
BENCHMARK(BM_WriteCollectionFile)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SaveChangesLastRecord(benchmark::State& state) {
    const fs::path file = BigCollection(int(state.range(0)));
    fs::copy_file(file, Root() / "edited.inf", fs::copy_options::overwrite_existing);
    CBenchPorts p;
    CCollectionStore store(p.prompt, Root());
    store.SetCollectionFilePath(Root() / "edited.inf");
    store.LoadCollection();
    const std::size_t last = store.RecordCount() - 1;
    for (auto _ : state)
        if (store.SaveChanges(last, "edited", "g") != ERecordWrite::Written) state.SkipWithError("rewrite failed");
}
BENCHMARK(BM_SaveChangesLastRecord)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
