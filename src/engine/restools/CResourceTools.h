#pragma once

#include "app/Ports.h"
#include "restools/RcScript.h"
#include "restools/ResourceModel.h"
#include "restools/ResourceOptions.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CParseExt;
class CNameMatcher;
class CResourceView;

// The resource tools of one text view: the view kind, the working copy of the text, the mark
// list they leave behind and the commands that use them. The view owns one and forwards its
// resource commands; quillbox-cli runs the same commands on a CMemoryResourceView. A command
// that is disabled in the current state does nothing and returns false.
class CResourceTools {
public:
    CResourceTools(CResourceView& view, CResourceDialogs& dialogs, CPorts& ports);
    ~CResourceTools();

    // After a document with a path is loaded: the kind from its extension and text.
    void DetectKind();
    void SetKind(EViewKind kind) { m_kind = kind; }
    EViewKind Kind() const { return m_kind; }

    bool CanCorrect() const { return m_kind == EViewKind::ResourceHeader; }
    bool CanFindInRcFile() const { return m_kind == EViewKind::ResourceHeader && !m_marks.collapsed; }
    bool CanFindInProject() const { return m_kind == EViewKind::ResourceHeader; }
    bool CanCompare() const { return m_kind == EViewKind::RcScript; }
    bool CanRcOptions() const { return m_kind == EViewKind::RcScript; }
    bool CanGoToNext() const { return m_marks.Count() > 0 && !m_marks.collapsed; }
    bool CanCollapse() const { return CanGoToNext(); }
    bool CanRestore() const { return m_marks.Count() > 0 && m_marks.collapsed; }
    bool CanInvertRed() const { return m_kind == EViewKind::ResourceHeader && CanGoToNext() && m_marks.hasRed; }
    bool CanExcludeRed() const { return CanGoToNext() && m_marks.hasRed; }

    // "Correct resource file".
    bool OnCorrectResourceFile();
    // "Find existetn identificators in RC-file": true when the search ran to its marks.
    bool OnFindInRcFile();
    // "Options of checking..."
    bool OnRcOptions();
    // "Find existent identificators in project": true when the search ran to its marks.
    bool OnFindInProject();
    // "Compare another RC...": true when the compare ran to its marks.
    bool OnCompareRc();
    bool OnGoToNextMark();
    bool OnCollapseColors();
    bool OnRestoreCollapsed();
    bool OnInvertRed();
    bool OnExcludeRed();

    // The user changed the text: the ranges no longer describe it.
    void OnTextEdited();

    const CMarkList& Marks() const { return m_marks; }
    const CIdentifierList& Identifiers() const { return m_ids; }
    // The names whose ranges are marked red, in header order.
    std::vector<std::string> RedIdentifiers() const;
    const std::string& WorkingText() const { return m_text; }
    const std::string& CollapsedText() const { return m_collapsed; }

private:
    void RefreshText();
    void ColorRanges();
    void ApplyIdentifierMarks();
    bool SearchRcByGroups();
    bool SearchRcAllText();
    bool WalkProjectFiles(const std::string& folder, unsigned long& counter);
    void ScanRcFileForNames(const std::string& path, std::string_view name, unsigned long filesDone);
    void ScanProjectFile(const std::string& path);
    void OpenProgressIfWorthIt(std::size_t fileCount, double range);
    void CompareDialog(const CRcBlock& block, const CRcLists& other);
    void CompareMenu(const CRcBlock& block, const CRcLists& other);
    using CStringIndex = std::unordered_map<std::string_view, const CRcEntry*>;
    void CompareStrings(const std::vector<CRcEntry>& entries, const CStringIndex& other);

    CResourceView& m_view;
    CResourceDialogs& m_dialogs;
    CPorts& m_ports;
    EViewKind m_kind = EViewKind::None;
    std::string m_text;
    CMarkList m_marks;
    bool m_marksAreIdentifiers = false; // range i belongs to identifier i
    CIdentifierList m_ids;
    std::string m_collapsed;
    bool m_modifiedAtCollapse = false;

    // State of one walk over the project files.
    std::unique_ptr<CParseExt> m_filter;
    std::unique_ptr<CNameMatcher> m_matcher;
    std::unique_ptr<CProgress> m_progress;
    bool m_rcMode = false;
    unsigned long m_percent = 0;
    std::string m_keyword;
    bool m_negative = false;
};
