// Keyword search over a generated collection of 10,000 text files (about 200 MB), against GNU
// grep on the same file list, and the match pairs of a 50 MB file.
//
// The files are made once under $TMPDIR/quillbox-bench-keywords and reused. Every run first
// reads them all, so both sides work on a warm cache.

#include "app/QuietPorts.h"
#include "collections/KeywordSearch.h"

#include "app/CMemorySettings.h"
#include "app/Ports.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 10000;
constexpr std::size_t kFileSize = 20000;
// "needle" is in 10% of the files; "orchid", "quartz" and "zephyr" in 50%, 30% and 20%.
const char* const kOne = "needle";
const char* const kThree[] = {"orchid", "quartz", "zephyr"};

std::vector<std::string> MakeVocabulary(std::mt19937& rng) {
    std::vector<std::string> words;
    for (int i = 0; i < 3000; ++i) {
        std::string w(3 + rng() % 7, 'a');
        for (char& c : w) c = char('a' + rng() % 26);
        words.push_back(w);
    }
    return words;
}

std::string MakeText(std::mt19937& rng, const std::vector<std::string>& words, std::size_t size) {
    std::string text;
    text.reserve(size + 64);
    std::size_t column = 0;
    while (text.size() < size) {
        const std::string& w = words[rng() % words.size()];
        text += w;
        column += w.size();
        if (column > 70) {
            text += "\r\n";
            column = 0;
        } else {
            text += rng() % 9 == 0 ? ", " : " ";
        }
    }
    return text;
}

void Insert(std::mt19937& rng, std::string& text, const char* word) {
    text.insert(rng() % (text.size() - 1), std::string(" ") + word + " ");
}

fs::path CorpusFile(const fs::path& dir, int i) {
    std::string sub = "d", name = "file";
    sub += std::to_string(i / 500);
    name += std::to_string(i);
    name += ".txt";
    return dir / sub / name;
}

struct CCorpus {
    fs::path dir;
    std::vector<std::string> files;
    std::uint64_t bytes = 0;
    fs::path listFile; // NUL-separated, for xargs -0
};

const CCorpus& Corpus() {
    static const CCorpus corpus = [] {
        CCorpus c;
        c.dir = fs::temp_directory_path() / "quillbox-bench-keywords";
        const fs::path done = c.dir / "complete.v1";
        if (!fs::exists(done)) {
            fs::remove_all(c.dir);
            fs::create_directories(c.dir);
            std::mt19937 rng(2026);
            const auto words = MakeVocabulary(rng);
            for (int i = 0; i < kFiles; ++i) {
                std::string text = MakeText(rng, words, kFileSize - 2000 + rng() % 4000);
                if (rng() % 10 == 0) Insert(rng, text, kOne);
                if (rng() % 10 < 5) Insert(rng, text, kThree[0]);
                if (rng() % 10 < 3) Insert(rng, text, kThree[1]);
                if (rng() % 10 < 2) Insert(rng, text, kThree[2]);
                const fs::path file = CorpusFile(c.dir, i);
                fs::create_directories(file.parent_path());
                std::ofstream(file, std::ios::binary) << text;
            }
            std::ofstream(done) << "ok";
        }
        for (int i = 0; i < kFiles; ++i) {
            const fs::path p = CorpusFile(c.dir, i);
            c.files.push_back(p.string());
            c.bytes += fs::file_size(p);
        }
        c.listFile = c.dir / "list0";
        std::ofstream list(c.listFile, std::ios::binary);
        for (const auto& f : c.files) list << f << '\0';
        return c;
    }();
    return corpus;
}

std::size_t OurSearch(const std::string& keywordText, bool noCase = false) {
    CQuietPorts quiet(false);
    return SearchCollectionFiles(Corpus().files, BuildKeywordSet(keywordText), noCase, quiet.ports).size();
}

// Runs a fixed command line and counts the lines it printed.
std::size_t CountLines(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return 0;
    std::size_t lines = 0;
    for (int c; (c = std::fgetc(pipe)) != EOF;)
        if (c == '\n') ++lines;
    ::pclose(pipe);
    return lines;
}

std::string GrepOne() {
    return "LC_ALL=C xargs -0 grep -lF -- " + std::string(kOne) + " < '" + Corpus().listFile.string() + "'";
}
std::string GrepThree() {
    return "LC_ALL=C xargs -0 grep -lF -- " + std::string(kThree[0]) + " < '" + Corpus().listFile.string() +
           "' | LC_ALL=C xargs -r -d '\\n' grep -lF -- " + kThree[1] + " | LC_ALL=C xargs -r -d '\\n' grep -lF -- " +
           kThree[2];
}

void Report(benchmark::State& state, std::size_t found) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Corpus().bytes));
    state.counters["found"] = double(found);
}

void BM_KeywordSearch_One(benchmark::State& state) {
    OurSearch(kOne); // warm the cache
    std::size_t found = 0;
    for (auto _ : state) found = OurSearch(kOne);
    Report(state, found);
}

void BM_Grep_One(benchmark::State& state) {
    std::size_t found = 0;
    for (auto _ : state) found = CountLines(GrepOne());
    Report(state, found);
}

// "No case" against grep -i (ASCII folding in the C locale on both sides).
void BM_KeywordSearch_OneNoCase(benchmark::State& state) {
    std::size_t found = 0;
    for (auto _ : state) found = OurSearch("NEEDLE", true);
    Report(state, found);
}

void BM_Grep_OneNoCase(benchmark::State& state) {
    const std::string command = "LC_ALL=C xargs -0 grep -liF -- NEEDLE < '" + Corpus().listFile.string() + "'";
    std::size_t found = 0;
    for (auto _ : state) found = CountLines(command);
    Report(state, found);
}

void BM_KeywordSearch_Three(benchmark::State& state) {
    const std::string text = std::string(kThree[0]) + " + " + kThree[1] + " + " + kThree[2];
    std::size_t found = 0;
    for (auto _ : state) found = OurSearch(text);
    Report(state, found);
}

void BM_Grep_Three(benchmark::State& state) {
    std::size_t found = 0;
    for (auto _ : state) found = CountLines(GrepThree());
    Report(state, found);
}

BENCHMARK(BM_KeywordSearch_One)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Grep_One)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_KeywordSearch_OneNoCase)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Grep_OneNoCase)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_KeywordSearch_Three)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Grep_Three)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// A 50 MB text with a keyword every 100 bytes or so.
const fs::path& BigFile() {
    static const fs::path path = [] {
        const fs::path p = fs::temp_directory_path() / "quillbox-bench-keywords-50mb.txt";
        if (!fs::exists(p) || fs::file_size(p) < 50'000'000) {
            std::mt19937 rng(5);
            const auto words = MakeVocabulary(rng);
            std::string text = MakeText(rng, words, 50'000'000);
            for (std::size_t at = 50; at + 10 < text.size(); at += 80 + rng() % 40)
                text.replace(at, 6, (rng() % 2) ? "needle" : "NEEDLE");
            std::ofstream(p, std::ios::binary) << text;
        }
        return p;
    }();
    return path;
}

void BM_PrepareSelPos_50MB(benchmark::State& state) {
    CFixedAnswerPrompt prompt(false);
    CKeywordSearchState search;
    search.SetKeywords("needle + orchid", true);
    search.SetInForce(true);
    const fs::path& file = BigFile();
    search.PrepareSelPos(prompt, file); // warm the cache
    std::size_t pairs = 0;
    for (auto _ : state) {
        search.PrepareSelPos(prompt, file);
        pairs = search.GetSelPos().pairs.size();
        search.FreeSelPos();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(fs::file_size(BigFile())));
    state.counters["pairs"] = double(pairs);
}
BENCHMARK(BM_PrepareSelPos_50MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// The match walk without the pair bound, on the first 1/4, 1/2 and all of the 50 MB text:
// the time grows with the text, not faster.
void BM_FindKeywordMatches_Unbounded(benchmark::State& state) {
    static const std::string text = [] {
        std::ifstream in(BigFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    const std::string_view part(text.data(), text.size() * std::size_t(state.range(0)) / 4);
    std::size_t pairs = 0;
    for (auto _ : state) pairs = FindKeywordMatches(part, {"needle", "orchid"}, true, SIZE_MAX).size();
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(part.size()));
    state.SetComplexityN(std::int64_t(part.size()));
    state.counters["pairs"] = double(pairs);
}
BENCHMARK(BM_FindKeywordMatches_Unbounded)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
