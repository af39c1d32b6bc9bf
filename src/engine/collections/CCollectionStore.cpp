#include "collections/CCollectionStore.h"

#include "app/FileAccess.h"
#include "app/Ports.h"
#include "app/TextUtil.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sys/mman.h>

namespace {

constexpr const char* kCanNotOpenForWriting = "Can not open this collection file for writing.";
constexpr const char* kRefusedText = "This text can not be stored in the collection:\r\n"
                                     "a description or a group may not hold '#' or a line break.";
constexpr const char* kLineGoneText =
    "The collection file no longer lists\r\n\"%s\".\r\nPlease refresh the collection.";
constexpr std::size_t kMaxGroupName = 255;
constexpr std::size_t kMaxFileNameBytes = 255; // of one path component, on the file systems we meet
// A shortened name leaves room beside it for the writer's temporary file name.
constexpr std::size_t kShortenedNameBytes = 200;
constexpr std::string_view kCollectionExtension = ".inf";

// A large list is faulted in 2 MB at a time where the system allows it: faulting in a hundred
// megabytes page by page costs more than reading the file they come from.
void AdviseHugePages(const void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kPage = 4096;
    constexpr std::uintptr_t kHuge = std::uintptr_t(2) << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kPage - 1);
    if (end > begin + kHuge) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

// One line of text from pos: its content and where the next line starts. A line ends at CR LF,
// LF or a lone CR, so files written with any of them read the same.
struct CLine {
    std::size_t begin;
    std::size_t end;  // content end (exclusive)
    std::size_t next; // start of the next line
};

// One pass that stops at whichever of CR and LF comes first: searching for one of them alone
// would run to the end of a file that has none of it, for every line.
CLine NextLine(std::string_view text, std::size_t pos) {
    const char* base = text.data();
    const std::size_t n = text.size();
    std::size_t end = pos;
    while (end < n && base[end] != '\r' && base[end] != '\n') ++end;
    if (end == n) return {pos, n, n};
    const bool crLf = base[end] == '\r' && end + 1 < n && base[end + 1] == '\n';
    return {pos, end, end + (crLf ? 2 : 1)};
}

// FNV-1a: stable across runs and builds, so a shortened name always finds its file again.
std::uint64_t StableHash(std::string_view text) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

// Record lines: every non-empty line after the header, so a stray blank line never shifts the
// record numbers between loading and a rewrite.
template <typename F> void ForEachRecordLine(std::string_view text, std::size_t from, F&& f) {
    std::size_t pos = from;
    while (pos < text.size()) {
        const CLine line = NextLine(text, pos);
        pos = line.next;
        if (line.end == line.begin) continue;
        if (!f(line)) return;
    }
}

} // namespace

CCollectionStore::CCollectionStore(CPrompt& prompt, std::filesystem::path workingDirectory)
    : m_prompt(prompt), m_workingDir(std::move(workingDirectory)), m_name(kNonameCollection) {
    m_header = {kNonameCollection, "", "", ""};
}

std::string CCollectionStore::MakeCollectionFileName(std::string_view baseDirectory) {
    std::string out;
    out.reserve(baseDirectory.size());
    for (const char c : baseDirectory)
        if (c != ':' && c != '/' && c != '\\') out += c;
    if (out.size() + kCollectionExtension.size() <= kMaxFileNameBytes) return out;
    char hash[18];
    std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(StableHash(baseDirectory)));
    std::size_t keep = kShortenedNameBytes - (sizeof hash - 1);
    // Never cut a UTF-8 character in two.
    while (keep > 0 && (static_cast<unsigned char>(out[keep]) & 0xC0) == 0x80) --keep;
    out.resize(keep);
    out += hash;
    return out;
}

std::filesystem::path CCollectionStore::GetCollectionFilePath(std::string_view baseDirectory) const {
    return m_workingDir / (MakeCollectionFileName(baseDirectory) + std::string(kCollectionExtension));
}

bool CCollectionStore::IsStorableField(std::string_view text) {
    // One pass; find_first_of would search the three characters again at every byte.
    for (const char c : text)
        if (c == '#' || c == '\r' || c == '\n') return false;
    return true;
}

bool CCollectionStore::CheckStorable(std::string_view text) {
    if (IsStorableField(text)) return true;
    m_prompt.Message(kRefusedText);
    return false;
}

std::optional<std::size_t> CCollectionStore::ParseCollectionHeader(std::string_view text) {
    m_header = {kNonameCollection, "", "", ""};
    if (text.empty()) return std::nullopt;
    const CLine line = NextLine(text, 0);
    const std::string_view first = text.substr(0, line.end);
    // Text before the opening '#' belongs to no field; fields past the fourth are ignored.
    int field = -1;
    std::size_t start = 0;
    const auto close = [&](std::size_t end) {
        if (field >= 0 && field < 4 && end > start) m_header[field].assign(first.substr(start, end - start));
    };
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (first[i] != '#') continue;
        close(i);
        ++field;
        start = i + 1;
        if (field >= 4) break;
    }
    if (field < 4) close(first.size());
    return line.next;
}

CCollectionRecord CCollectionStore::ParseRecordLine(std::string_view line) {
    CCollectionRecord r;
    const std::size_t a = line.find('#');
    if (a == std::string_view::npos) {
        r.location.assign(line);
        return r;
    }
    r.location.assign(line.substr(0, a));
    const std::size_t b = line.find('#', a + 1);
    if (b == std::string_view::npos) {
        r.description.assign(line.substr(a + 1));
        return r;
    }
    r.description.assign(line.substr(a + 1, b - a - 1));
    r.groups.assign(line.substr(b + 1));
    return r;
}

std::size_t CCollectionStore::LoadCollection() {
    m_absent = false;
    ClearKnownGroups();
    m_name.clear();
    m_description.clear();
    m_filter.Reset();
    // A file that cannot be read leaves no stale records of another collection behind.
    m_records.clear();
    ShowWholeList();
    // An absent file leaves the name empty: creating the file names it after its directory.
    if (!IsExistingFile(m_filePath, false)) {
        m_absent = true;
        return 0;
    }
    // The file streams through a bounded buffer: with a large collection its text and its
    // records would otherwise be held twice at the peak.
    const std::array<std::string, 4> previousHeader = m_header;
    ParseCollectionHeader({});
    bool header = true;
    // Records are rarely shorter than this, so the list seldom has to grow (and move) while loading.
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(m_filePath, ec);
    try {
        if (!ec) m_records.reserve(std::size_t(bytes / 48));
        AdviseHugePages(m_records.data(), m_records.capacity() * sizeof(CCollectionRecord));
    } catch (const std::exception&) {
        // Loading grows the list as it goes instead.
    }
    const bool read = ReadFileLines(m_prompt, m_filePath, [&](std::string_view line) {
        if (header) {
            ParseCollectionHeader(line);
            header = false;
        } else if (!line.empty()) {
            // Blank lines are no records, so a stray one never shifts the record numbers.
            m_records.push_back(ParseRecordLine(line));
            MergeKnownGroups(m_records.back().groups);
        }
    });
    if (!read) {
        m_records.clear();
        ClearKnownGroups();
        m_header = previousHeader;
        m_absent = true;
        return 0;
    }
    m_name = m_header[0];
    m_description = m_header[2];
    m_filter.ParsingExtensionToken(m_prompt, m_header[3].empty() ? std::string_view("*.*") : m_header[3]);
    m_extensionList = m_filter.GetExtensionList();
    if (m_name.empty()) m_name = kNonameCollection;
    return m_records.size();
}

std::string CCollectionStore::FormatHeaderLine() const {
    std::string h;
    h.reserve(m_name.size() + m_baseDir.size() + m_description.size() + m_extensionList.size() + 4);
    h += '#';
    h += m_name;
    h += '#';
    if (!m_favoritesView) h += m_baseDir;
    h += '#';
    h += m_description;
    h += '#';
    h += m_extensionList;
    return h;
}

std::string CCollectionStore::FormatCollectionFile() const {
    std::size_t size = FormatHeaderLine().size() + 2;
    for (const auto& r : m_records) size += r.location.size() + r.description.size() + r.groups.size() + 4;
    std::string out;
    out.reserve(size);
    out += FormatHeaderLine();
    out += "\r\n";
    for (const auto& r : m_records) {
        out += r.location;
        out += '#';
        out += r.description;
        out += '#';
        out += r.groups;
        out += "\r\n";
    }
    return out;
}

bool CCollectionStore::WriteCollectionFile() {
    return WriteWholeFile(m_prompt, m_filePath, FormatCollectionFile(), true);
}

bool CCollectionStore::WriteCollectionHeader() {
    auto text = ReadWholeFile(m_prompt, m_filePath);
    if (!text) {
        m_prompt.Message(kCanNotOpenForWriting);
        return false;
    }
    const std::size_t end = text->find_first_of("\r\n");
    text->replace(0, end == std::string::npos ? text->size() : end, FormatHeaderLine());
    return WriteWholeFile(m_prompt, m_filePath, *text, true);
}

ERecordWrite CCollectionStore::FindRecordLine(std::size_t index, std::string_view notFoundText,
                                              bool messageWhenUnreadable, std::string& text, CLineSpan& span) {
    auto read = ReadWholeFile(m_prompt, m_filePath);
    if (!read) {
        if (messageWhenUnreadable) m_prompt.Message(kCanNotOpenForWriting);
        return ERecordWrite::Unreadable;
    }
    text = std::move(*read);
    const std::string_view all(text);
    const std::size_t body = NextLine(all, 0).next;
    std::optional<CLine> found;
    std::size_t i = 0;
    ForEachRecordLine(all, body, [&](const CLine& line) {
        if (i++ < index) return true;
        found = line;
        return false;
    });
    const std::string& location = m_records[index].location;
    // The line must still name this record's file; a file rewritten behind our back (lines
    // removed or reordered) must not get another file's description.
    const std::string_view line = found ? all.substr(found->begin, found->end - found->begin) : "";
    if (!found || line.substr(0, location.size()) != location ||
        (line.size() > location.size() && line[location.size()] != '#')) {
        m_prompt.Message(notFoundText);
        return ERecordWrite::NotFound;
    }
    span = {found->begin, found->end, found->next};
    return ERecordWrite::Written;
}

ERecordWrite CCollectionStore::RewriteRecord(std::size_t index, const char* notFoundText, bool messageWhenUnreadable) {
    std::string text;
    CLineSpan line{};
    if (const auto r = FindRecordLine(index, notFoundText, messageWhenUnreadable, text, line);
        r != ERecordWrite::Written)
        return r;
    const CCollectionRecord& r = m_records[index];
    std::string fields;
    fields.reserve(r.description.size() + r.groups.size() + 2);
    fields += '#';
    fields += r.description;
    fields += '#';
    fields += r.groups;
    text.replace(line.begin + r.location.size(), line.end - line.begin - r.location.size(), fields);
    return WriteWholeFile(m_prompt, m_filePath, text, true) ? ERecordWrite::Written : ERecordWrite::WriteFailed;
}

ERecordWrite CCollectionStore::RemoveRecordLine(std::size_t index) {
    if (index >= m_records.size()) return ERecordWrite::NoRecord;
    std::string text;
    CLineSpan line{};
    const std::string gone = Format(kLineGoneText, m_records[index].location.c_str());
    if (const auto r = FindRecordLine(index, gone, true, text, line); r != ERecordWrite::Written) return r;
    text.erase(line.begin, line.next - line.begin);
    if (!WriteWholeFile(m_prompt, m_filePath, text, true)) return ERecordWrite::WriteFailed;
    EraseRecords({index});
    return ERecordWrite::Written;
}

ERecordWrite CCollectionStore::SetRecordLocation(std::size_t index, std::string_view location) {
    if (index >= m_records.size()) return ERecordWrite::NoRecord;
    if (!CheckStorable(location)) return ERecordWrite::Refused;
    std::string text;
    CLineSpan line{};
    const std::string gone = Format(kLineGoneText, m_records[index].location.c_str());
    if (const auto r = FindRecordLine(index, gone, true, text, line); r != ERecordWrite::Written) return r;
    text.replace(line.begin, m_records[index].location.size(), location);
    if (!WriteWholeFile(m_prompt, m_filePath, text, true)) return ERecordWrite::WriteFailed;
    const std::size_t end = line.end - m_records[index].location.size() + location.size();
    m_records[index] = ParseRecordLine(std::string_view(text).substr(line.begin, end - line.begin));
    MergeKnownGroups(m_records[index].groups);
    return ERecordWrite::Written;
}

ERecordWrite CCollectionStore::SaveChanges(std::size_t row, std::string_view description, std::string_view groups) {
    const auto index = RecordOfRow(row);
    if (!index) return ERecordWrite::NoRecord;
    if (!CheckStorable(description) || !CheckStorable(groups)) return ERecordWrite::Refused;
    m_records[*index].description.assign(description);
    m_records[*index].groups.assign(groups);
    return RewriteRecord(*index, "SaveChanges error: don't found file in main list.", true);
}

ERecordWrite CCollectionStore::SetGroupMarker(std::size_t row, std::string_view groups) {
    const auto index = RecordOfRow(row);
    if (!index) return ERecordWrite::NoRecord;
    if (!CheckStorable(groups)) return ERecordWrite::Refused;
    m_records[*index].groups.assign(groups);
    return RewriteRecord(*index, "SetGroupMarker error: don't found file in main list.", true);
}

std::optional<std::string> CCollectionStore::AddGroupsToRecord(std::size_t row, const std::vector<std::string>& names) {
    const auto index = RecordOfRow(row);
    if (!index) return std::nullopt;
    for (const auto& n : names)
        if (!CheckStorable(n)) return std::nullopt;
    std::string text = m_records[*index].groups;
    std::vector<std::string> present = SplitGroups(text);
    std::vector<std::string> added;
    // A typed "a; b" is two names, as the list would read it back.
    std::vector<std::string> wanted;
    for (const auto& raw : names)
        for (auto& n : SplitGroups(raw)) wanted.push_back(std::move(n));
    for (const std::string& name : wanted) {
        const bool have =
            std::any_of(present.begin(), present.end(), [&](const std::string& p) { return EqualsNoCase(p, name); });
        if (have) continue;
        if (!text.empty()) text += "; ";
        text += name;
        present.emplace_back(name);
        added.emplace_back(name);
    }
    if (added.empty()) return text;
    for (const auto& a : added) AddKnownGroup(a);
    if (SetGroupMarker(row, text) != ERecordWrite::Written) return std::nullopt;
    return text;
}

std::optional<std::string> CCollectionStore::RemoveGroupAt(std::size_t row, std::size_t k) {
    const auto index = RecordOfRow(row);
    if (!index) return std::nullopt;
    const std::vector<std::string> names = SplitGroups(m_records[*index].groups);
    if (k >= names.size()) return std::nullopt;
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i == k) continue;
        if (!text.empty()) text += "; ";
        text += names[i];
    }
    if (SetGroupMarker(row, text) != ERecordWrite::Written) return std::nullopt;
    return text;
}

std::optional<std::string> CCollectionStore::RemoveGroupFromRecord(std::size_t row, std::string_view name) {
    const auto index = RecordOfRow(row);
    if (!index) return std::nullopt;
    const auto k = FindGroup(m_records[*index].groups, name);
    if (!k) return std::nullopt;
    return RemoveGroupAt(row, *k);
}

std::optional<std::size_t> CCollectionStore::FindGroup(std::string_view groups, std::string_view name) {
    const std::string_view wanted = TrimGroupName(name);
    const std::vector<std::string> names = SplitGroups(groups);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == wanted) return i;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (EqualsNoCase(names[i], wanted)) return i;
    return std::nullopt;
}

std::vector<std::string_view> CCollectionStore::SplitRecordLines(std::string_view text) {
    std::vector<std::string_view> out;
    ForEachRecordLine(text, NextLine(text, 0).next, [&](const CLine& line) {
        out.push_back(text.substr(line.begin, line.end - line.begin));
        return true;
    });
    return out;
}

std::size_t CCollectionStore::HeaderLineEnd(std::string_view text) { return NextLine(text, 0).end; }

bool CCollectionStore::SetName(std::string_view name) {
    if (!CheckStorable(name)) return false;
    m_name.assign(name);
    return true;
}

bool CCollectionStore::SetDescription(std::string_view description) {
    if (!CheckStorable(description)) return false;
    m_description.assign(description);
    return true;
}

std::vector<CCollectionRecord> CCollectionStore::ReplaceRecords(std::vector<CCollectionRecord> records) {
    std::swap(m_records, records);
    ClearKnownGroups();
    for (const auto& r : m_records) MergeKnownGroups(r.groups);
    ShowWholeList();
    return records;
}

void CCollectionStore::EraseRecords(std::vector<std::size_t> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    std::size_t out = 0, k = 0;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (k < indexes.size() && indexes[k] == i) {
            ++k;
            continue;
        }
        if (out != i) m_records[out] = std::move(m_records[i]);
        ++out;
    }
    m_records.resize(out);
    ShowWholeList();
}

std::vector<std::string> CCollectionStore::SplitGroups(std::string_view groups) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos <= groups.size()) {
        std::size_t semi = groups.find(';', pos);
        if (semi == std::string_view::npos) semi = groups.size();
        const std::string_view piece = TrimGroupName(groups.substr(pos, semi - pos));
        if (!piece.empty() && piece.size() <= kMaxGroupName) out.emplace_back(piece);
        pos = semi + 1;
    }
    return out;
}

std::string_view CCollectionStore::TrimGroupName(std::string_view name) {
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return name;
}

void CCollectionStore::MergeKnownGroups(std::string_view groups) {
    if (groups.empty()) return;
    for (const auto& g : SplitGroups(groups)) AddKnownGroup(g);
}

void CCollectionStore::AddKnownGroup(std::string_view name) {
    if (m_knownGroupKeys.insert(ToUpperAscii(name)).second) m_knownGroups.emplace_back(name);
}

void CCollectionStore::ClearKnownGroups() {
    m_knownGroups.clear();
    m_knownGroupKeys.clear();
}

void CCollectionStore::ResetCurrentCollection() {
    m_baseDir.clear();
    m_filePath.clear();
    m_favoritesView = false;
    m_absent = false;
    m_records.clear();
    ClearKnownGroups();
    ShowWholeList();
}

void CCollectionStore::ShowFoundList(std::vector<std::size_t> foundList) {
    foundList.erase(
        std::remove_if(foundList.begin(), foundList.end(), [&](std::size_t i) { return i >= m_records.size(); }),
        foundList.end());
    m_found = std::move(foundList);
    m_showsFound = true;
}

void CCollectionStore::ShowWholeList() {
    m_found.clear();
    m_showsFound = false;
}

std::optional<std::size_t> CCollectionStore::RecordOfRow(std::size_t row) const {
    if (m_showsFound) {
        if (row >= m_found.size() || m_found[row] >= m_records.size()) return std::nullopt;
        return m_found[row];
    }
    if (row >= m_records.size()) return std::nullopt;
    return row;
}
