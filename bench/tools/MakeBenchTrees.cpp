// Makes the trees of the whole-process comparison (bench/compare.sh) under a cache folder, once:
// a tree whose stamp file is there is left alone, so later runs reuse it.
//
//   quillbox-bench-trees CACHE
//
// refresh-100k  100,000 files of about 200 bytes, 40 a folder, three levels of folders
// refresh-1m    1,000,000 such files (about 200 MB), same shape
// search-10k    10,000 text files, about 225 MB; ALPHA in about 18% of them, BRAVO and CHARLIE
//               in about 30% each, independently
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Beside each finished tree (inside it would be one more file to find). Bump the version when a
// tree's shape changes: older trees are then made anew.
constexpr const char* kStampSuffix = ".complete-v1";

struct CShape {
    const char* name;
    int files;
    int level1, level2, level3; // folders per level; files / (product) files in each leaf
    std::size_t minSize, maxSize;
    bool keywords;
};

const CShape kShapes[] = {
    {"refresh-100k", 100000, 10, 10, 25, 100, 300, false},
    {"search-10k", 10000, 5, 5, 10, 5000, 40000, true},
    {"refresh-1m", 1000000, 25, 25, 40, 100, 300, false},
};

const char* const kExtensions[] = {"txt", "h", "cpp", "md", "c"};

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool MakeDir(const std::string& path) { return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST; }

bool WriteFile(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += std::size_t(n);
    }
    return ::close(fd) == 0;
}

class CTextMaker {
public:
    explicit CTextMaker(unsigned seed) : m_rng(seed) {
        for (int i = 0; i < 4000; ++i) {
            std::string w(2 + m_rng() % 9, 'a');
            for (char& c : w) c = char('a' + m_rng() % 26);
            m_words.push_back(std::move(w));
        }
    }

    // Prose-like lines: lower-case words, a capital at each sentence start, CR LF line ends.
    std::string Text(std::size_t size) {
        std::string text;
        text.reserve(size + 32);
        std::size_t column = 0;
        bool sentenceStart = true;
        while (text.size() < size) {
            std::string w = m_words[m_rng() % m_words.size()];
            if (sentenceStart) w[0] = char(w[0] - 'a' + 'A');
            text += w;
            column += w.size() + 1;
            const unsigned r = m_rng() % 16;
            sentenceStart = r == 0;
            if (r == 0) text += '.';
            else if (r == 1)
                text += ',';
            if (column > 72) {
                text += "\r\n";
                column = 0;
            } else {
                text += ' ';
            }
        }
        text.resize(size);
        return text;
    }

    void Insert(std::string& text, const char* word) {
        const std::size_t at = m_rng() % (text.size() - 1);
        text.insert(at, std::string(" ") + word + " ");
    }

    std::mt19937& Rng() { return m_rng; }

private:
    std::mt19937 m_rng;
    std::vector<std::string> m_words;
};

bool MakeTree(const std::string& cache, const CShape& shape) {
    const std::string root = cache + "/" + shape.name;
    const std::string stamp = root + kStampSuffix;
    if (Exists(stamp)) return true;
    std::fprintf(stderr, "Making %s (once; kept for later runs)...\n", root.c_str());
    if (Exists(root) && std::system(("rm -rf '" + root + "'").c_str()) != 0) return false;
    if (!MakeDir(root)) return false;

    CTextMaker maker(20260 + unsigned(shape.files));
    const int leaves = shape.level1 * shape.level2 * shape.level3;
    const int perLeaf = shape.files / leaves;
    // One long text cut into file contents, so the small files cost no text making each.
    const std::string pool = maker.Text(1 << 20);
    int file = 0;
    for (int a = 0; a < shape.level1; ++a) {
        const std::string da = root + "/dir" + std::to_string(a);
        if (!MakeDir(da)) return false;
        for (int b = 0; b < shape.level2; ++b) {
            const std::string db = da + "/sub" + std::to_string(b);
            if (!MakeDir(db)) return false;
            for (int c = 0; c < shape.level3; ++c) {
                const std::string dc = db + "/leaf" + std::to_string(c);
                if (!MakeDir(dc)) return false;
                for (int i = 0; i < perLeaf; ++i, ++file) {
                    auto& rng = maker.Rng();
                    const std::size_t size = shape.minSize + rng() % (shape.maxSize - shape.minSize + 1);
                    std::string text;
                    if (shape.keywords) {
                        text = maker.Text(size);
                        if (rng() % 100 < 18) maker.Insert(text, "ALPHA");
                        if (rng() % 100 < 30) maker.Insert(text, "BRAVO");
                        if (rng() % 100 < 30) maker.Insert(text, "CHARLIE");
                    } else {
                        text = pool.substr(rng() % (pool.size() - size), size);
                    }
                    const std::string name = dc + "/file" + std::to_string(file) + "." + kExtensions[file % 5];
                    if (!WriteFile(name, text)) return false;
                }
            }
        }
    }
    return WriteFile(stamp, "ok\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CACHE\n", argv[0]);
        return 2;
    }
    const std::string cache = argv[1];
    if (!MakeDir(cache)) {
        std::fprintf(stderr, "cannot make %s: %s\n", cache.c_str(), std::strerror(errno));
        return 1;
    }
    for (const CShape& shape : kShapes) {
        if (!MakeTree(cache, shape)) {
            std::fprintf(stderr, "cannot make the tree %s under %s: %s\n", shape.name, cache.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    return 0;
}
