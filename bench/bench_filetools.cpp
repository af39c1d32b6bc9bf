// Replace in files against sed, and the flat copy and project save-as against cp -r.
//
// Inputs are made once under $TMPDIR/quillbox-bench-filetools: a 50 MB text with 1,000,000
// occurrences of "word", and a project tree of 10,000 files of 1 KB with distinct names in 100
// folders.

#include "app/QuietPorts.h"
#include "filetools/CCopyAllFiles.h"
#include "filetools/CProjectSaveAs.h"
#include "filetools/CReplaceInFiles.h"

#include "app/CMemorySettings.h"
#include "app/FileAccess.h"
#include "app/Ports.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct CNullPorts : CQuietPorts {
    CNullPorts() : CQuietPorts(true) {}
};

fs::path Root() {
    const char* tmp = std::getenv("TMPDIR");
    return fs::path(tmp && *tmp ? tmp : "/tmp") / "quillbox-bench-filetools";
}

// 50-byte lines, each with one "word": 1,000,000 lines make 50 MB.
const std::string& BigText() {
    static const std::string text = [] {
        const std::string line = "lorem ipsum dolor sit amet word consectetur elit\r\n";
        std::string t;
        t.reserve(line.size() * 1000000);
        for (int i = 0; i < 1000000; ++i) t += line;
        return t;
    }();
    return text;
}

fs::path BigFile() {
    const fs::path p = Root() / "big.txt";
    std::error_code ec;
    if (fs::file_size(p, ec) != BigText().size()) {
        fs::create_directories(Root());
        std::ofstream(p, std::ios::binary).write(BigText().data(), std::streamsize(BigText().size()));
    }
    return p;
}

fs::path Tree() {
    const fs::path root = Root() / "Proj";
    if (!fs::exists(root / "Proj.dsp")) {
        const std::string body = [] {
            std::string s;
            while (s.size() < 1024) s += "// Proj source line with PROJ_H and proj_var\r\n";
            return s;
        }();
        for (int d = 0; d < 100; ++d) {
            const fs::path dir = root / ("dir" + std::to_string(d));
            fs::create_directories(dir);
            for (int f = 0; f < 100; ++f)
                std::ofstream(dir / ("Proj" + std::to_string(d) + "_" + std::to_string(f) + ".cpp"), std::ios::binary)
                    << body;
        }
        std::ofstream(root / "Proj.dsp") << "Proj";
    }
    return root;
}

int Spawn(std::vector<std::string> args, const fs::path& out = {}) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!out.empty()) posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

void BM_ReplaceText_InMemory(benchmark::State& state) {
    const std::string& text = BigText();
    for (auto _ : state) {
        std::uint64_t count = 0;
        std::string out = CReplaceInFiles::ReplaceText(text, "word", "words", "", "", count);
        benchmark::DoNotOptimize(out.data());
        if (count != 1000000) state.SkipWithError("wrong count");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}

// Read, replace, atomic write (temporary file, flush, rename), as replace in files does per file.
void BM_ReplaceFile_ReadReplaceWrite(benchmark::State& state) {
    const fs::path in = BigFile(), out = Root() / "out-engine.txt";
    CFixedAnswerPrompt prompt(true);
    for (auto _ : state) {
        const auto text = ReadWholeFile(prompt, in);
        std::uint64_t count = 0;
        const std::string result = CReplaceInFiles::ReplaceText(*text, "word", "words", "", "", count);
        if (!WriteWholeFile(prompt, out, result, false)) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(BigText().size()));
}

void BM_Sed(benchmark::State& state) {
    const fs::path in = BigFile(), out = Root() / "out-sed.txt";
    for (auto _ : state)
        if (Spawn({"sed", "s/word/words/g", in.string()}, out) != 0) state.SkipWithError("sed failed");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(BigText().size()));
}

void Fresh(benchmark::State& state, const fs::path& target) {
    state.PauseTiming();
    fs::remove_all(target);
    ::sync();
    state.ResumeTiming();
}

void BM_CopyAllFiles_10000(benchmark::State& state) {
    const fs::path src = Tree(), target = Root() / "flat";
    CNullPorts p;
    for (auto _ : state) {
        Fresh(state, target);
        CCopyAllFiles copy(p.ports);
        copy.CopyAllFiles(src, target, -1, nullptr);
        if (copy.Copied() != 10001) state.SkipWithError("wrong count");
    }
}

void BM_SaveProjectAs_Any_10000(benchmark::State& state) {
    const fs::path src = Tree(), target = Root() / "AnyCopy";
    CNullPorts p;
    for (auto _ : state) {
        Fresh(state, target);
        CProjectSaveAs saveAs(p.ports, CProjectSaveAs::EVariant::Any);
        saveAs.CopyProject(src / "Proj.dsp", target / "AnyCopy.dsp");
        if (saveAs.FilesCopied() != 10001) state.SkipWithError("wrong count");
    }
}

// Every file read, renamed inside and written through the atomic write.
void BM_SaveProjectAs_Vs_10000(benchmark::State& state) {
    const fs::path src = Tree(), target = Root() / "VsCopy";
    CNullPorts p;
    for (auto _ : state) {
        Fresh(state, target);
        CProjectSaveAs saveAs(p.ports, CProjectSaveAs::EVariant::Vs);
        saveAs.CopyProject(src / "Proj.dsp", target / "VsCopy.dsp");
        if (saveAs.FilesCopied() != 10001) state.SkipWithError("wrong count");
    }
}

void BM_CpR_10000(benchmark::State& state) {
    const fs::path src = Tree(), target = Root() / "cpcopy";
    for (auto _ : state) {
        Fresh(state, target);
        if (Spawn({"cp", "-r", src.string(), target.string()}) != 0) state.SkipWithError("cp failed");
    }
}

} // namespace

BENCHMARK(BM_ReplaceText_InMemory)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReplaceFile_ReadReplaceWrite)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Sed)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CopyAllFiles_10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveProjectAs_Any_10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveProjectAs_Vs_10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CpR_10000)->Unit(benchmark::kMillisecond)->Iterations(3);
