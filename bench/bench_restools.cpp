// The identifier searches over a generated project: 5,000 identifiers, 20 MB of sources, set
// against GNU grep -oF -f names over the same files.
#include "app/CMemorySettings.h"
#include "app/QuietPorts.h"
#include "restools/CResourceTools.h"
#include "restools/CResourceView.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
extern char** environ;

namespace {

constexpr int kNames = 5000;
constexpr int kFiles = 20;
constexpr std::size_t kFileBytes = 1 << 20; // 20 files of 1 MB

class CFixedDialogs : public CResourceDialogs {
public:
    CFixedDialogs(CPrompt& prompt, CSettings& settings, std::string folder, std::string keyword)
        : m_prompt(prompt), m_settings(settings), m_folder(std::move(folder)), m_keyword(std::move(keyword)) {}
    bool RunRcOptionsDialog(bool withAllText) override {
        SaveRcOptions(m_settings, CRcOptions{{}, true}, withAllText);
        return true;
    }
    bool RunProjectSearchDialog(CProjectSearchOptions& o) override {
        o = {m_folder, m_keyword, ".rc", true};
        return AcceptProjectSearchOptions(m_prompt, m_settings, o);
    }

private:
    CPrompt& m_prompt;
    CSettings& m_settings;
    std::string m_folder;
    std::string m_keyword;
};

struct CGenerated {
    fs::path dir;
    std::string header;
    std::vector<std::string> files;
};

// Identifier-heavy text: most words start like identifiers, so the cheap rejection of the
// matcher is not what is measured.
const CGenerated& Generated() {
    static const CGenerated g = [] {
        CGenerated g;
        g.dir = fs::temp_directory_path() / ("quillbox-bench-" + std::to_string(::getpid()));
        fs::create_directories(g.dir / "src");
        std::mt19937 rng(42);
        std::vector<std::string> names;
        const char* prefixes[] = {"IDD_", "IDC_", "ID_", "IDS_", "IDR_", "IDM_"};
        std::ofstream list(g.dir / "names.txt");
        for (int i = 0; i < kNames; ++i) {
            names.push_back(std::string(prefixes[i % 6]) + "ITEM_" + std::to_string(i * 7919 % 100000));
            g.header += "#define " + names.back() + " " + std::to_string(1000 + i) + "\r\n";
            list << names.back() << "\n";
        }
        std::ofstream(g.dir / "resource.h") << g.header;
        const char* words[] = {
            "    CONTROL", "\"Caption text\",", "IDC_STATIC,", "7,",     "WS_TABSTOP", "BEGIN",
            "END",         "#ifdef DEMO",       "#else",       "#endif", "// note",    "ID_UNKNOWN_1"};
        for (int f = 0; f < kFiles; ++f) {
            std::string text;
            text.reserve(kFileBytes + 200);
            while (text.size() < kFileBytes) {
                for (int w = 0; w < 6; ++w) {
                    // Half the names used, a quarter of the words other words.
                    if (rng() % 4 == 0) text += words[rng() % 12];
                    else
                        text += names[rng() % (kNames / 2)];
                    text += rng() % 3 == 0 ? ", " : " ";
                }
                text += "\r\n";
            }
            const fs::path path = g.dir / "src" / ("part" + std::to_string(f) + ".rc");
            std::ofstream(path, std::ios::binary) << text;
            g.files.push_back(path.string());
        }
        return g;
    }();
    return g;
}

void RunSearch(benchmark::State& state, bool project, const std::string& keyword) {
    const CGenerated& g = Generated();
    CQuietPorts quiet(true);
    CPorts& ports = quiet.ports;
    CFixedDialogs dialogs(quiet.prompt, quiet.settings, g.dir.string(), keyword);
    std::size_t red = 0;
    for (auto _ : state) {
        CMemoryResourceView view(g.dir / "resource.h", g.header);
        CResourceTools tools(view, dialogs, ports);
        tools.DetectKind();
        const bool ok = project ? tools.OnFindInProject() : tools.OnFindInRcFile();
        if (!ok) state.SkipWithError("search did not run");
        red = tools.RedIdentifiers().size();
    }
    state.counters["red"] = double(red);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kFiles * std::int64_t(kFileBytes));
}

void BM_AllTextSearch(benchmark::State& state) { RunSearch(state, false, ""); }
void BM_ProjectSearch(benchmark::State& state) { RunSearch(state, true, ""); }
void BM_ProjectSearchNegativeKeyword(benchmark::State& state) { RunSearch(state, true, "DEMO"); }

void RunGrep(benchmark::State& state, std::vector<std::string> args) {
    const CGenerated& g = Generated();
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    // The C locale is grep's fastest way through bytes.
    std::vector<std::string> envStore = {"LC_ALL=C"};
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).rfind("LC_ALL=", 0) != 0) envStore.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Not /dev/null: GNU grep stops at the first match when its output goes nowhere.
    const std::string out = (g.dir / "grep.out").string();
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    double childCpu = 0;
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), envp.data()) != 0) {
            state.SkipWithError("grep cannot be started");
            break;
        }
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        childCpu += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                    double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
        if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
            state.SkipWithError("grep failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    // On a shared machine the processor time of grep says more than the clock.
    state.counters["grep_cpu_ms"] = state.iterations() ? childCpu / double(state.iterations()) : 0;
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kFiles * std::int64_t(kFileBytes));
}

void BM_GrepFixedStrings(benchmark::State& state) {
    const CGenerated& g = Generated();
    std::vector<std::string> args = {"grep", "-oF", "-f", (g.dir / "names.txt").string()};
    args.insert(args.end(), g.files.begin(), g.files.end());
    RunGrep(state, std::move(args));
}

// What a user would type for the project search: every whole-word use of the names in the tree.
void BM_GrepWordsRecursive(benchmark::State& state) {
    const CGenerated& g = Generated();
    RunGrep(state, {"grep", "-rhowF", "-f", (g.dir / "names.txt").string(), (g.dir / "src").string()});
}

BENCHMARK(BM_AllTextSearch)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ProjectSearch)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ProjectSearchNegativeKeyword)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_GrepFixedStrings)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_GrepWordsRecursive)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

struct CCleanUp {
    ~CCleanUp() {
        std::error_code ec;
        fs::remove_all(fs::temp_directory_path() / ("quillbox-bench-" + std::to_string(::getpid())), ec);
    }
} g_cleanUp;

} // namespace
