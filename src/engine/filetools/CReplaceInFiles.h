#pragma once

#include "app/Ports.h"
#include "collections/CParseExt.h"
#include "filetools/CTreeGuard.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The "WARNING" question for a read-only file: OK or Cancel, with the "Make for all files" box.
class CReadOnlyWarning {
public:
    struct CAnswer {
        bool ok = false;
        bool forAll = false;
    };
    virtual ~CReadOnlyWarning() = default;
    virtual CAnswer Ask(std::string_view text) = 0;
};

class CCollections;

// What the replace run works on: the current collection's directory tree, or the favorites.
struct CReplaceScope {
    bool favorites = false;
    std::string baseDirectory;
    const CCollections* collections = nullptr; // where the favorites come from; must outlive the run
    bool collectionWindowOpen = false;

    // The current collection of the main frame (the favorites while they are shown).
    static CReplaceScope FromCollections(const CCollections& collections, bool collectionWindowOpen);
};

// "Replace in collection files": the dialog's rules and the run over the scope's files.
class CReplaceInFiles {
public:
    struct CTexts {
        std::string from, to, alsoFrom, alsoTo, extensions;
    };
    struct CCounts {
        std::uint64_t found = 0;
        std::uint64_t opened = 0;
        std::uint64_t replaced = 0; // bytes removed in cleaning mode
        std::uint64_t candidates = 0;
    };

    CReplaceInFiles(CPorts& ports, CReadOnlyWarning& warning, CReplaceScope scope)
        : m_ports(ports), m_warning(warning), m_scope(std::move(scope)) {}

    std::string Title() const;
    // The dialog's start values from the settings.
    CTexts InitialTexts() const;
    static const char* HelpText();

    enum class EOk { Nothing, Refused, Ended, Ran };
    // OK: stores the texts, normalises the extension list in texts, and runs when it should.
    // Ran when the files were visited (the counts message was shown).
    EOk OnOk(CTexts& texts);
    const CCounts& Counts() const { return m_counts; }
    bool Stopped() const { return m_stopped; }
    // Files whose rewrite failed in the last run (each after its message); they count neither
    // as opened nor with their words.
    std::uint64_t Failed() const { return m_failed; }

    // One file's text with every occurrence replaced; count gets the replaced words. With also
    // texts set, each replacement is followed by the additional one inside the same word.
    static std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to,
                                   std::string_view alsoFrom, std::string_view alsoTo, std::uint64_t& count);
    // Without the non-text bytes (below 32 except TAB, LF, CR; 128 and above) up to the first
    // zero byte; count gets the bytes removed.
    static std::string CleanText(std::string_view text, std::uint64_t& count);

private:
    bool Run(const CTexts& texts, bool cleaning);
    bool CountCandidates(std::vector<std::string>& favorites);
    // Which files of the base directory the run may touch: no link out of it, and every file
    // once however many links or names lead to it.
    CTreeGuard BaseDirectoryGuard() const {
        return CTreeGuard(CTreeGuard::ELinks::InsideFolder, m_scope.baseDirectory);
    }
    void ProcessFile(const std::string& path, const CTexts& texts, bool cleaning);
    // Whether the file may be rewritten as the writer will judge it, after the read-only
    // question for a read-only file; false skips the file.
    bool MayRewrite(const std::string& path);

    CPorts& m_ports;
    CReadOnlyWarning& m_warning;
    CReplaceScope m_scope;
    CParseExt m_filter;
    CCounts m_counts;
    std::uint64_t m_failed = 0;
    bool m_applyToAll = false;
    bool m_stopped = false;
};
