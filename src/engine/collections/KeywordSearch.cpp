#include "collections/KeywordSearch.h"

#include "app/FileAccess.h"
#include "app/Ports.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/CKeywordTestPool.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kDefaultPieceSize = std::size_t(1) << 20;
constexpr std::size_t kProgressThreshold = 200;
constexpr std::size_t kProgressStep = 20;
constexpr std::size_t kHugePageThreshold = std::size_t(4) << 20;

// Opens a regular file for reading without ever blocking on a pipe or device; -1 otherwise.
// A relative path is taken from the folder dirFd (AT_FDCWD: the current one).
int OpenRegularFile(int dirFd, const char* path, std::size_t& size) {
    const int fd = ::openat(dirFd, path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = std::size_t(st.st_size);
    return fd;
}

// Reads up to want bytes from offset at; fewer only at the end of the file. -1 on a read error.
// pread, as it takes no lock on the file position, which read does in a process with threads.
long ReadFully(int fd, char* into, std::size_t want, std::size_t at) {
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = ::pread(fd, into + got, want - got, off_t(at + got));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        got += std::size_t(n);
    }
    return long(got);
}

bool ReadsBinary(std::string_view location) {
    const auto ext = FileExtension(location);
    return ext && (EqualsNoCase(*ext, "doc") || EqualsNoCase(*ext, "dbf") || EqualsNoCase(*ext, "xls"));
}

} // namespace

std::vector<std::string> BuildKeywordSet(std::string_view text) {
    std::vector<std::string> keywords;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = text.find('+', start);
        std::string_view piece = text.substr(start, plus == std::string_view::npos ? text.npos : plus - start);
        while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
        while (!piece.empty() && piece.back() == ' ') piece.remove_suffix(1);
        keywords.emplace_back(piece);
        if (plus == std::string_view::npos) break;
        start = plus + 1;
    }
    return keywords;
}

CKeywordFileTest::CKeywordFileTest(const std::vector<std::string>& keywords, bool noCase)
    : m_pieceSize(kDefaultPieceSize) {
    m_finders.reserve(keywords.size());
    for (const std::string& k : keywords) {
        m_finders.emplace_back(k, noCase);
        m_longest = std::max(m_longest, k.size());
    }
    m_found.resize(m_finders.size());
}

void CKeywordFileTest::SetPieceSize(std::size_t bytes) { m_pieceSize = std::max<std::size_t>(bytes, 1); }

CKeywordFileTest::~CKeywordFileTest() {
    if (m_dirFd >= 0) ::close(m_dirFd);
}

int CKeywordFileTest::OpenInFolder(const std::string& name, std::size_t& size) {
    // Locations come folder by folder, so the folder stays open and each file is opened from
    // it: the kernel then looks up one name instead of the whole path.
    const std::size_t slash = name.rfind('/');
    if (slash == std::string::npos || slash == 0) return OpenRegularFile(AT_FDCWD, name.c_str(), size);
    const std::string_view dir(name.data(), slash);
    if (dir != m_dirPath) {
        if (m_dirFd >= 0) ::close(m_dirFd);
        m_dirPath.assign(dir);
        m_dirFd = ::open(m_dirPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    if (m_dirFd < 0) return OpenRegularFile(AT_FDCWD, name.c_str(), size);
    return OpenRegularFile(m_dirFd, name.c_str() + slash + 1, size);
}

bool CKeywordFileTest::Matches(const std::string& name) {
    if (IsExcludedExtension(name)) return false;
    std::size_t size = 0;
    int fd = -1;
    try {
        fd = OpenInFolder(name, size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (fd < 0) return false;
    bool result = false;
    try {
        result = size > 0 && Scan(fd, size, ReadsBinary(name));
    } catch (const std::bad_alloc&) {
        result = false;
    }
    ::close(fd);
    return result;
}

bool CKeywordFileTest::Scan(int fd, std::size_t fileSize, bool binaryAllowed) {
    std::size_t remaining = 0;
    for (std::size_t k = 0; k < m_finders.size(); ++k) {
        m_found[k] = m_finders[k].Size() == 0;
        if (!m_found[k]) ++remaining;
    }
    // A keyword that straddles two pieces lies wholly inside the last longest - 1 bytes of the
    // one piece plus the next piece, so those bytes are carried over.
    const std::size_t overlap = m_longest > 0 ? m_longest - 1 : 0;
    const std::size_t piece = std::min(fileSize, m_pieceSize);
    if (m_buffer.size() < piece + overlap) m_buffer.resize(piece + overlap);

    std::size_t carry = 0;
    std::size_t total = 0;
    bool first = true;
    while (total < fileSize) {
        if (m_stop && m_stop->load(std::memory_order_relaxed)) return false;
        const std::size_t want = std::min(piece, fileSize - total);
        const long got = ReadFully(fd, m_buffer.data() + carry, want, total);
        if (got <= 0) return false;
        const std::size_t n = std::size_t(got);
        if (first) {
            if (!binaryAllowed && IsBinaryContent(std::string_view(m_buffer.data() + carry, n))) return false;
            if (remaining == 0) return true;
            first = false;
        }
        const std::string_view view(m_buffer.data(), carry + n);
        // In the last piece a keyword not found ends the test; the others need not be looked for.
        const bool last = total + n >= fileSize;
        for (std::size_t k = 0; k < m_finders.size(); ++k) {
            if (m_found[k]) continue;
            if (m_finders[k].Find(view) == CKeywordFinder::npos) {
                if (last) return false;
                continue;
            }
            m_found[k] = true;
            if (--remaining == 0) return true;
        }
        total += n;
        const std::size_t keep = std::min(overlap, view.size());
        std::memmove(m_buffer.data(), view.data() + view.size() - keep, keep);
        carry = keep;
        if (n < want) break; // the file shrank behind our back
    }
    return false;
}

std::vector<std::size_t> SearchCollectionFiles(const std::vector<std::string>& locations,
                                               const std::vector<std::string>& keywords, bool noCase, CPorts& ports) {
    return SearchCollectionFiles(locations, keywords, noCase, ports, CKeywordTestPool::DefaultWorkers());
}

std::vector<std::size_t> SearchCollectionFiles(const std::vector<std::string>& locations,
                                               const std::vector<std::string>& keywords, bool noCase, CPorts& ports,
                                               unsigned workers) {
    std::unique_ptr<CProgress> progress;
    if (locations.size() > kProgressThreshold) {
        progress = ports.progress.OpenProgress();
        progress->SetRange(double(locations.size() / kProgressStep));
    } else {
        ports.busy.SetWaitCursor(true);
    }
    ports.busy.EnableFrame(false);
    ports.busy.EnableCollectionWindow(false);

    std::vector<std::size_t> found;
    {
        // The workers run ahead of this loop; what they test past a Stop is dropped with them.
        CKeywordTestPool pool(locations, keywords, noCase, workers);
        unsigned long fed = 0;
        for (std::size_t i = 0; i < locations.size(); ++i) {
            // Waiting for the record of the next progress step first lets this thread sleep once
            // a step instead of once a file; it never waits past that step.
            if (i == 0 || i % kProgressStep == 1) {
                const std::size_t stepRecord = i == 0 ? 0 : i + kProgressStep - 1;
                pool.WaitFor(std::min(stepRecord, locations.size() - 1));
            }
            if (pool.Holds(i)) found.push_back(i);
            if (progress && i % kProgressStep == 0) {
                progress->SetPosText(double(fed++), Format("Found: %lu", static_cast<unsigned long>(found.size())));
                if (progress->IsAborted()) break;
            }
        }
    }

    progress.reset();
    ports.busy.EnableFrame(true);
    ports.busy.EnableCollectionWindow(true);
    ports.busy.SetWaitCursor(false);
    return found;
}

std::vector<CKeywordMatch> FindKeywordMatches(std::string_view text, const std::vector<std::string>& keywords,
                                              bool noCase, std::size_t maxPairs) {
    std::vector<CKeywordFinder> finders;
    for (const std::string& k : keywords)
        if (!k.empty()) finders.emplace_back(k, noCase);
    std::vector<CKeywordMatch> pairs;
    if (finders.empty()) return pairs;

    // next[k] is the first place at or after the scan position where keyword k lies; between
    // the scan position and the nearest of them no keyword starts.
    std::vector<std::size_t> next(finders.size(), 0);
    for (std::size_t k = 0; k < finders.size(); ++k) next[k] = finders[k].Find(text, 0);
    std::size_t pos = 0;
    while (pairs.size() < maxPairs) {
        std::size_t best = CKeywordFinder::npos;
        std::size_t bestK = 0;
        for (std::size_t k = 0; k < finders.size(); ++k) {
            if (next[k] != CKeywordFinder::npos && next[k] < pos) next[k] = finders[k].Find(text, pos);
            if (next[k] < best) {
                best = next[k];
                bestK = k;
            }
        }
        if (best == CKeywordFinder::npos) break;
        pos = best + finders[bestK].Size();
        pairs.push_back({best, pos});
    }
    return pairs;
}

CKeywordSearchState::CTextBuffer::CTextBuffer(std::size_t bytes) {
    if (bytes >= kHugePageThreshold) {
        void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        ::madvise(p, bytes, MADV_HUGEPAGE);
#endif
        m_data = static_cast<char*>(p);
        m_mapped = bytes;
    } else {
        m_data = new char[bytes];
    }
}

CKeywordSearchState::CTextBuffer::CTextBuffer(CTextBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_mapped(std::exchange(other.m_mapped, 0)) {}

CKeywordSearchState::CTextBuffer& CKeywordSearchState::CTextBuffer::operator=(CTextBuffer&& other) noexcept {
    if (this != &other) {
        this->~CTextBuffer();
        m_data = std::exchange(other.m_data, nullptr);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

CKeywordSearchState::CTextBuffer::~CTextBuffer() {
    if (m_mapped) ::munmap(m_data, m_mapped);
    else
        delete[] m_data;
    m_data = nullptr;
    m_mapped = 0;
}

void CKeywordSearchState::SetKeywords(std::string_view text, bool noCase) {
    m_text = std::string(text);
    m_noCase = noCase;
    m_keywords = BuildKeywordSet(text);
}

bool CKeywordSearchState::PrepareSelPos(CPrompt& prompt, const fs::path& file) {
    FreeSelPos();
    if (m_inForce && m_keywords.empty()) {
        prompt.Message("CMainFrame::PrepareSelPos error: it's nor ready searching attributes.");
        return false;
    }
    std::size_t size = 0;
    const int fd = OpenRegularFile(AT_FDCWD, file.c_str(), size);
    if (fd < 0) {
        prompt.Message("CMainFrame::PrepareSelPos error: can not read file.");
        return false;
    }
    long got = 0;
    try {
        // Not zero-filled first: read() writes every byte that counts.
        m_fileText = CTextBuffer(size + 1);
        got = ReadFully(fd, m_fileText.Data(), size, 0);
    } catch (const std::bad_alloc&) {
        ::close(fd);
        FreeSelPos();
        return false;
    }
    ::close(fd);
    if (got < 0) {
        FreeSelPos();
        prompt.Message("CMainFrame::PrepareSelPos error: can not read file.");
        return false;
    }
    m_fileSize = std::size_t(got);
    m_fileText.Data()[m_fileSize] = '\0';
    if (m_fileSize == 0) {
        FreeSelPos();
        return false;
    }

    if (m_inForce) {
        const std::size_t capacity = std::min(m_fileSize + 2, kPairCapacity);
        try {
            m_pairs = FindKeywordMatches(FileText(), m_keywords, m_noCase, capacity - 1);
        } catch (const std::bad_alloc&) {
            FreeSelPos();
            return false;
        }
    }
    return true;
}

std::vector<std::string> CKeywordSearchState::GetKeywords() const {
    std::vector<std::string> out;
    for (const std::string& k : m_keywords)
        if (!k.empty()) out.push_back(k);
    return out;
}

void CKeywordSearchState::FreeSelPos() {
    m_fileText = CTextBuffer();
    m_fileSize = 0;
    std::vector<CKeywordMatch>().swap(m_pairs);
}

CKeywordDialogValues LoadKeywordDialog(const CSettings& settings) {
    return {settings.Get(kSearchKeyword), settings.Get(kSearchNoCase)};
}

bool CheckKeywordText(CPrompt& prompt, std::string_view text) {
    if (!text.empty()) return true;
    prompt.Message("Insert keyword, please.");
    return false;
}

bool AcceptKeywordDialog(CPrompt& prompt, CSettings& settings, const CKeywordDialogValues& values) {
    if (!CheckKeywordText(prompt, values.keyword)) return false;
    settings.Set(kSearchKeyword, values.keyword);
    settings.Set(kSearchNoCase, values.noCase);
    return true;
}
