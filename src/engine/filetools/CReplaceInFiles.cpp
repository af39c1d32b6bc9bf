#include "filetools/CReplaceInFiles.h"

#include "app/CFileWriter.h"
#include "app/FileAccess.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/CCollections.h"
#include "collections/DirectoryWalk.h"
#include "filetools/FileCopy.h"

#include <cstring>
#include <set>

namespace fs = std::filesystem;

namespace {

unsigned long Ul(std::uint64_t v) { return static_cast<unsigned long>(v); }

// memmem is markedly faster than a first-byte scan plus compare on texts with many hits.
std::size_t FindBytes(std::string_view hay, std::string_view needle) {
    const void* at = ::memmem(hay.data(), hay.size(), needle.data(), needle.size());
    return at ? std::size_t(static_cast<const char*>(at) - hay.data()) : std::string_view::npos;
}

bool IsWordEnd(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

// The text still to be scanned: a few bytes of inserted text that are scanned again (pending),
// then the rest of the original text. The replacement never moves what follows; the output
// grows at its end only, so a file with many hits costs one pass.
class CScanner {
public:
    CScanner(std::string_view text, std::string& out) : m_text(text), m_rest(text), m_out(out) {}

    std::size_t Size() const { return m_pending.size() + m_rest.size(); }
    char At(std::size_t k) const { return k < m_pending.size() ? m_pending[k] : m_rest[k - m_pending.size()]; }
    bool MatchesAt(std::size_t k, std::string_view s) const {
        if (Size() < k + s.size()) return false;
        for (std::size_t i = 0; i < s.size(); ++i)
            if (At(k + i) != s[i]) return false;
        return true;
    }
    bool HasPending() const { return !m_pending.empty(); }
    std::size_t PendingSize() const { return m_pending.size(); }
    std::string_view Rest() const { return m_rest; }
    std::size_t RestOffset() const { return m_text.size() - m_rest.size(); }

    void Emit(std::size_t n) {
        const std::size_t p = std::min(n, m_pending.size());
        m_out.append(m_pending, 0, p);
        m_pending.erase(0, p);
        n -= p;
        m_out.append(m_rest.substr(0, n));
        m_rest.remove_prefix(n);
    }
    void Drop(std::size_t n) {
        const std::size_t p = std::min(n, m_pending.size());
        m_pending.erase(0, p);
        m_rest.remove_prefix(n - p);
    }
    void Insert(std::string_view s) { m_pending.insert(0, s); }

    // Position of the first word end at or after 0, or npos. Word ends in the original text are
    // remembered, so texts without blanks do not make this quadratic.
    std::size_t NextWordEnd() {
        for (std::size_t k = 0; k < m_pending.size(); ++k)
            if (IsWordEnd(m_pending[k])) return k;
        const std::size_t off = RestOffset();
        if (m_wordEnd == std::string_view::npos || m_wordEnd < off) {
            if (m_noWordEndFrom <= off) return std::string_view::npos;
            m_wordEnd = m_text.find_first_of(" \r\n\t", off);
            if (m_wordEnd == std::string_view::npos) {
                m_noWordEndFrom = off;
                return std::string_view::npos;
            }
        }
        return m_pending.size() + (m_wordEnd - off);
    }
    // First occurrence of s that lies wholly before end, or npos.
    std::size_t Find(std::string_view s, std::size_t end) {
        if (s.empty()) return std::string_view::npos;
        const std::size_t pendingStarts = m_pending.size();
        for (std::size_t k = 0; k < pendingStarts && k + s.size() <= end; ++k)
            if (MatchesAt(k, s)) return k;
        const std::size_t off = RestOffset();
        if (m_also == std::string_view::npos || m_also < off) {
            if (m_noAlsoFrom <= off) return std::string_view::npos;
            m_also = m_text.find(s, off);
            if (m_also == std::string_view::npos) {
                m_noAlsoFrom = off;
                return std::string_view::npos;
            }
        }
        const std::size_t k = pendingStarts + (m_also - off);
        return k + s.size() <= end ? k : std::string_view::npos;
    }

private:
    std::string_view m_text;
    std::string_view m_rest;
    std::string m_pending;
    std::string& m_out;
    std::size_t m_wordEnd = std::string_view::npos;
    std::size_t m_noWordEndFrom = std::string_view::npos;
    std::size_t m_also = std::string_view::npos;
    std::size_t m_noAlsoFrom = std::string_view::npos;
};

} // namespace

std::string CReplaceInFiles::ReplaceText(std::string_view text, std::string_view from, std::string_view to,
                                         std::string_view alsoFrom, std::string_view alsoTo, std::uint64_t& count) {
    std::string out;
    if (from.empty()) return std::string(text);
    const bool additional = !alsoFrom.empty() && !alsoTo.empty();
    out.reserve(to.size() > from.size() ? text.size() + text.size() / 4 : text.size());
    CScanner scan(text, out);
    while (scan.Size() > 0) {
        if (!scan.HasPending()) {
            // Fast path: jump straight to the next occurrence in the original text.
            const std::size_t hit = FindBytes(scan.Rest(), from);
            if (hit == std::string_view::npos) {
                scan.Emit(scan.Size());
                break;
            }
            scan.Emit(hit);
        } else if (scan.PendingSize() >= from.size() || !scan.MatchesAt(0, from)) {
            // A match lying wholly inside text this run has just inserted is not taken: the
            // additional replacement could otherwise feed itself for ever ("a" to "ba", then
            // "b" to "b"). Every replacement so uses up at least one byte of the file.
            scan.Emit(1);
            continue;
        }
        scan.Drop(from.size());
        ++count;
        if (!additional) {
            out.append(to);
            continue;
        }
        // Within the word that starts with the inserted text, the additional replacement.
        scan.Insert(to);
        const std::size_t wordEnd = scan.NextWordEnd();
        const std::size_t end = wordEnd == std::string_view::npos ? scan.Size() : wordEnd;
        const std::size_t also = scan.Find(alsoFrom, end);
        if (also != std::string_view::npos) {
            scan.Emit(also);
            scan.Drop(alsoFrom.size());
            out.append(alsoTo);
        } else if (wordEnd == std::string_view::npos) {
            scan.Emit(scan.Size());
        } else {
            scan.Emit(wordEnd + 1);
        }
    }
    return out;
}

std::string CReplaceInFiles::CleanText(std::string_view text, std::uint64_t& count) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0) break;
        if ((c < 32 && c != 9 && c != 10 && c != 13) || c >= 128) ++count;
        else
            out += char(c);
    }
    out.append(text.substr(i));
    return out;
}

CReplaceScope CReplaceScope::FromCollections(const CCollections& collections, bool collectionWindowOpen) {
    CReplaceScope scope;
    scope.favorites = collections.Store().IsFavoritesView();
    scope.baseDirectory = collections.Store().BaseDirectory();
    scope.collections = &collections;
    scope.collectionWindowOpen = collectionWindowOpen;
    return scope;
}

std::string CReplaceInFiles::Title() const {
    return Format("Replace in all files in %s",
                  m_scope.favorites ? "Favorite collection" : m_scope.baseDirectory.c_str());
}

CReplaceInFiles::CTexts CReplaceInFiles::InitialTexts() const {
    const CSettings& s = m_ports.settings;
    CTexts t;
    const std::string mainExt = s.Get(kMainDirExt);
    t.extensions = m_scope.collectionWindowOpen && mainExt != "*.*" ? mainExt : s.Get(kReplaceExt);
    if (t.extensions.empty()) t.extensions = ".*";
    t.from = s.Get(kReplaceFrom);
    t.to = s.Get(kReplaceTo);
    t.alsoFrom = s.Get(kReplaceAlsoFrom);
    t.alsoTo = s.Get(kReplaceAlsoTo);
    return t;
}

const char* CReplaceInFiles::HelpText() {
    // sic: these texts keep their spelling as users know it
    return "Symply choose keywords for replacing.\r\nClick OK.\r\nWill be look for all files in this collection "
           "directory\r\nand subdirectories with replace.\r\n\r\nIf you don't set any words for searghing,\r\nthen "
           "programm will be look for non textual symbol\r\nand remove it from all files.\r\n\r\nYou can set an "
           "extend option:\r\nIf you inserted several words,\r\nit would be find-replace for first word only.\r\nFor "
           "example: you want to do replace <aaaa/bbbb.h>\r\nto \"../aaa/bbb.h\"\r\nYou must insert first words: "
           "<aaa/ to \"../aaa/\r\nand additional words: .h> to .h\".";
}

CReplaceInFiles::EOk CReplaceInFiles::OnOk(CTexts& texts) {
    CSettings& s = m_ports.settings;
    s.Set(kReplaceFrom, texts.from);
    s.Set(kReplaceTo, texts.to);
    s.Set(kReplaceAlsoFrom, texts.alsoFrom);
    s.Set(kReplaceAlsoTo, texts.alsoTo);
    // An empty list is refused by the filter with its message; running over every file after
    // that message would surprise.
    if (!m_filter.ParsingExtensionToken(m_ports.prompt, texts.extensions)) return EOk::Refused;
    texts.extensions = m_filter.GetExtensionList();
    s.Set(kReplaceExt, texts.extensions);

    bool cleaning = false;
    if (texts.from.empty()) {
        m_ports.prompt.Message("The word for searching is not defined.\r\nWill be removed all non textual symbol "
                               "in all files. OK?");
        cleaning = true;
    } else if (texts.to.empty()) {
        return EOk::Nothing;
    }
    if (!Run(texts, cleaning)) return EOk::Ended;
    m_ports.prompt.Message(Format("Found %lu files, was opened %lu files\r\nReplaced %lu words.", Ul(m_counts.found),
                                  Ul(m_counts.opened), Ul(m_counts.replaced)));
    return EOk::Ran;
}

bool CReplaceInFiles::CountCandidates(std::vector<std::string>& favorites) {
    CPrompt& prompt = m_ports.prompt;
    if (m_scope.favorites) {
        // Unreadable favorites are no candidates: "Found not any files..." follows. The
        // favorites are files chosen one by one (a link among them was chosen too); two that
        // are one file are processed once.
        const auto locations = m_scope.collections ? m_scope.collections->FavoriteLocations() : std::nullopt;
        std::set<std::pair<std::uint64_t, std::uint64_t>> seen;
        for (const std::string& location : locations.value_or(std::vector<std::string>())) {
            if (!m_filter.IsMatch(location)) continue;
            const CFileId id = FileIdOf(location);
            if (id.valid && !seen.insert({id.dev, id.ino}).second) continue;
            favorites.push_back(location);
        }
        m_counts.candidates = favorites.size();
        return true;
    }
    if (m_scope.baseDirectory.empty()) {
        prompt.Message("It's not right directory path.");
        return false;
    }
    bool failed = false;
    CTreeGuard guard = BaseDirectoryGuard();
    CWalkCallbacks cb;
    cb.file = [&](const CWalkFile& f) {
        if (m_filter.IsMatch(f.name) && guard.Admit(std::string(f.path))) ++m_counts.candidates;
        return true;
    };
    cb.unlistable = [&](const std::string&) {
        failed = true;
        return false;
    };
    WalkDirectory(m_scope.baseDirectory, cb);
    if (failed) {
        prompt.Message("checNfiles: Was error...");
        prompt.Message("Was error...");
        return false;
    }
    return true;
}

bool CReplaceInFiles::Run(const CTexts& texts, bool cleaning) {
    CPrompt& prompt = m_ports.prompt;
    m_counts = {};
    m_failed = 0;
    m_stopped = false;
    std::vector<std::string> favorites;
    if (!CountCandidates(favorites)) return false;
    if (m_counts.candidates == 0) {
        prompt.Message(Format("Found not any files with extension \"%s\".", texts.extensions.c_str()));
        return false;
    }
    const std::string question =
        m_scope.favorites
            ? Format("%lu files was found\r\nin favorites.\r\n\r\nDo you want to continue search and replacement?",
                     Ul(m_counts.candidates))
            : Format("%lu files was found\r\nin \"%s\" directory.\r\n\r\nDo you want to continue search and "
                     "replacement?",
                     Ul(m_counts.candidates), m_scope.baseDirectory.c_str());
    if (!prompt.AskYesNo(question)) return false;

    std::unique_ptr<CProgress> progress = m_ports.progress.OpenProgress();
    progress->SetRange(double(m_counts.candidates));
    auto visit = [&](const std::string& path) {
        if (progress->IsAborted()) return false;
        ++m_counts.found;
        ProcessFile(path, texts, cleaning);
        progress->SetPos(double(m_counts.found));
        return !progress->IsAborted();
    };
    if (m_scope.favorites) {
        for (const std::string& path : favorites)
            if (!visit(path)) {
                m_stopped = true;
                break;
            }
    } else {
        CTreeGuard guard = BaseDirectoryGuard();
        CWalkCallbacks cb;
        cb.file = [&](const CWalkFile& f) {
            if (!m_filter.IsMatch(f.name)) return true;
            const auto file = guard.Admit(std::string(f.path));
            if (!file || visit(file->string())) return true;
            m_stopped = true;
            return false;
        };
        cb.unlistable = [&](const std::string&) {
            prompt.Message("ReadRecursive: Was error...");
            return false;
        };
        WalkDirectory(m_scope.baseDirectory, cb);
    }
    return true;
}

bool CReplaceInFiles::MayRewrite(const std::string& path) {
    // The owner's write bit and this user's real permission, as the writer will judge them: a
    // file of someone else's that we may not write is one that cannot be opened.
    const auto writable = [&] { return IsExistingFile(path, true) && UserMayWrite(path); };
    if (writable()) return true;
    if (!NeedsAttributeReset(path)) return false; // missing, or not ours to write: skipped
    if (!m_applyToAll) {
        const CReadOnlyWarning::CAnswer a = m_warning.Ask(
            Format("File\r\n%s\r\nis readonly.\r\nWhat do you like to remove this atribute?", path.c_str()));
        if (!a.ok) return false;
        if (a.forAll) m_applyToAll = true;
    }
    SetFileAttribute(path, kAttrArchive);
    return writable();
}

void CReplaceInFiles::ProcessFile(const std::string& path, const CTexts& texts, bool cleaning) {
    if (!MayRewrite(path)) return;
    const auto text = ReadWholeFile(m_ports.prompt, path);
    if (!text) return;
    std::uint64_t count = 0;
    const std::string result = cleaning ? CleanText(*text, count)
                                        : ReplaceText(*text, texts.from, texts.to, texts.alsoFrom, texts.alsoTo, count);
    // An unchanged file is not rewritten. A failed rewrite keeps the old text and has shown its
    // message; the file then counts neither as opened nor with its words.
    if (count > 0 && result != *text && !WriteWholeFile(m_ports.prompt, path, result, false)) {
        ++m_failed;
        return;
    }
    ++m_counts.opened;
    m_counts.replaced += count;
}
