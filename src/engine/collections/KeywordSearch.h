#pragma once

#include "collections/CKeywordFinder.h"

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class CPrompt;
class CSettings;
struct CPorts;

// The keywords of a search text: split at every '+', blanks (spaces only) trimmed at both ends
// of each piece, blanks inside kept. A text ending in '+' gives a last, empty keyword.
std::vector<std::string> BuildKeywordSet(std::string_view text);

// Whether a collection file holds every keyword. Files without an extension, with an excluded
// extension, that are no regular files, cannot be opened, are empty, or whose first bytes are
// not text (except .doc, .dbf, .xls) hold nothing. Large files are read piece by piece into one
// reused buffer, so memory stays bounded and a file whose keywords are all found early is not
// read to its end.
class CKeywordFileTest {
public:
    CKeywordFileTest(const std::vector<std::string>& keywords, bool noCase);
    ~CKeywordFileTest();
    CKeywordFileTest(const CKeywordFileTest&) = delete;
    CKeywordFileTest& operator=(const CKeywordFileTest&) = delete;
    bool Matches(const std::string& location);
    bool Matches(const std::filesystem::path& location) { return Matches(location.native()); }

    // Bytes read at most in one piece (a test may make it small to cross piece borders).
    void SetPieceSize(std::size_t bytes);
    // Once stop is set, a file being read is given up (no match). stop must outlive the test.
    void StopWhen(const std::atomic<bool>& stop) { m_stop = &stop; }

private:
    bool Scan(int fd, std::size_t fileSize, bool binaryAllowed);
    int OpenInFolder(const std::string& name, std::size_t& size);

    std::vector<CKeywordFinder> m_finders;
    std::vector<bool> m_found;
    std::size_t m_longest = 0;
    std::size_t m_pieceSize;
    std::string m_buffer;
    const std::atomic<bool>* m_stop = nullptr;
    std::string m_dirPath; // the folder m_dirFd was opened for
    int m_dirFd = -1;
};

// Tests every location and returns, in record order, the indexes of the files holding every
// keyword. With more than 200 locations the progress indicator shows "Found: %lu" after every
// 20th file and Stop ends the search there: the files up to that one keep their result, later
// ones count as not tested. The frame and the collection window are disabled meanwhile. The
// files are read on `workers` threads (0: on the calling thread); only the calling thread
// touches the ports.
std::vector<std::size_t> SearchCollectionFiles(const std::vector<std::string>& locations,
                                               const std::vector<std::string>& keywords, bool noCase, CPorts& ports,
                                               unsigned workers);
std::vector<std::size_t> SearchCollectionFiles(const std::vector<std::string>& locations,
                                               const std::vector<std::string>& keywords, bool noCase, CPorts& ports);

struct CKeywordMatch {
    std::size_t start;
    std::size_t end;
    bool operator==(const CKeywordMatch&) const = default;
};

// Every occurrence of the keywords in text, left to right and not overlapping; where two
// keywords start at one place the earlier one in the set wins. Empty keywords mark nothing.
// At most maxPairs are returned.
std::vector<CKeywordMatch> FindKeywordMatches(std::string_view text, const std::vector<std::string>& keywords,
                                              bool noCase, std::size_t maxPairs);

// The last keyword search as the frame keeps it: the keyword set stays in force for every text
// document opened later, until a refresh or the next search.
class CKeywordSearchState {
public:
    static constexpr std::size_t kPairCapacity = 10000;

    void SetKeywords(std::string_view text, bool noCase);
    const std::vector<std::string>& Keywords() const { return m_keywords; }
    const std::string& KeywordText() const { return m_text; }
    bool NoCase() const { return m_noCase; }
    bool InForce() const { return m_inForce; }
    void SetInForce(bool on) { m_inForce = on; }

    // Reads file whole and, while the search is in force, finds the keyword matches in it.
    // false after a message, for an empty file, or when memory runs out.
    bool PrepareSelPos(CPrompt& prompt, const std::filesystem::path& file);

    struct CSelPos {
        const std::vector<CKeywordMatch>& pairs;
        std::string_view text;
    };
    CSelPos GetSelPos() const { return {m_pairs, FileText()}; }
    // The keywords for the keyword combo box (empty ones left out).
    std::vector<std::string> GetKeywords() const;
    void FreeSelPos();

private:
    // A large text gets its own mapping with huge pages: faulting in 50 MB page by page costs
    // more than reading it.
    class CTextBuffer {
    public:
        CTextBuffer() = default;
        explicit CTextBuffer(std::size_t bytes); // throws std::bad_alloc
        CTextBuffer(CTextBuffer&& other) noexcept;
        CTextBuffer& operator=(CTextBuffer&& other) noexcept;
        ~CTextBuffer();
        char* Data() const { return m_data; }

    private:
        char* m_data = nullptr;
        std::size_t m_mapped = 0; // the mapping's length, 0 when m_data came from new[]
    };

    std::string_view FileText() const { return {m_fileText.Data(), m_fileSize}; }

    std::string m_text;
    bool m_noCase = false;
    std::vector<std::string> m_keywords;
    bool m_inForce = false;
    CTextBuffer m_fileText; // zero-terminated
    std::size_t m_fileSize = 0;
    std::vector<CKeywordMatch> m_pairs;
};

// The "Searching in all files" dialog's rules.
struct CKeywordDialogValues {
    std::string keyword;
    bool noCase = false;
};
CKeywordDialogValues LoadKeywordDialog(const CSettings& settings);
// false after "Insert keyword, please." for an empty text.
bool CheckKeywordText(CPrompt& prompt, std::string_view text);
// OK pressed: false after "Insert keyword, please." (the dialog stays open); otherwise the
// values are written to the settings.
bool AcceptKeywordDialog(CPrompt& prompt, CSettings& settings, const CKeywordDialogValues& values);
