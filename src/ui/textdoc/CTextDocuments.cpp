#include "textdoc/CTextDocuments.h"

#include "QtConvert.h"
#include "app/CMainFrame.h"
#include "app/CMainToolBar.h"
#include "app/CMdiClientWnd.h"
#include "app/CommandTable.h"
#include "app/FileAccess.h"
#include "app/MainFrameRules.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/CCollectionCommands.h"
#include "collections/KeywordSearch.h"
#include "textdoc/CChildFrame.h"
#include "textdoc/CDocumentOutput.h"
#include "textdoc/CKeywordComboBox.h"
#include "textdoc/CtavDoc.h"
#include "textdoc/CtavView.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>

namespace {

bool IsRtfName(const std::filesystem::path& file) {
    const std::string name = file.string();
    return name.size() >= 3 && EqualsNoCase(std::string_view(name).substr(name.size() - 3), "rtf");
}

} // namespace

CTextDocuments::CTextDocuments(CMainFrame& frame)
    : QObject(&frame), m_frame(frame), m_output(new CDocumentOutput(frame.Ports().prompt, frame)) {
    m_output->setParent(this);
    // The resource tool bar follows the active document, also when no key focus arrives with it
    // (a window opened from the collection window, or from the Window menu).
    connect(frame.MdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
        auto* f = qobject_cast<CChildFrame*>(w);
        if (f && f->View() && f->View()->IsInitialised())
            m_frame.ShowResourceToolBar(f->View()->Document()->Kind(), true);
    });
    CFrameSeams& seams = frame.Seams();
    seams.openDocument = [this](const std::filesystem::path& f, bool fromCollection) {
        return OpenDocumentFile(f, fromCollection);
    };
    seams.newDocument = [this] { NewDocument(); };
    // The view knows which of the frame's view commands it carries out.
    seams.viewCommandEnabled = [this](int id) {
        if (CDocumentOutput::Handles(id)) return m_output->IsEnabled(id, ActiveView());
        const CtavView* v = ActiveView();
        return v && v->IsCommandEnabled(id);
    };
    seams.runViewCommand = [this](int id) {
        if (CDocumentOutput::Handles(id)) {
            // Printing and mail take the whole text, not the part shown so far.
            if (CtavView* v = ActiveView()) v->Document()->FinishLoading();
            m_output->Run(id, ActiveView());
        } else if (CtavView* v = ActiveView())
            v->RunCommand(id);
    };
    // The help is an ordinary document; its name makes it rich text.
    seams.openHelpDocument = [this](const std::filesystem::path& help) { return OpenDocumentFile(help, false); };
    seams.saveKeywordList = [this] { SaveKeywordList(); };
    seams.recentFiles = [this] { return RecentFiles(); };
}

CtavView* CTextDocuments::ActiveView() const {
    QMdiSubWindow* w = m_frame.MdiArea()->currentSubWindow();
    if (!w) w = m_frame.MdiArea()->activeSubWindow();
    auto* f = qobject_cast<CChildFrame*>(w);
    return f && !f->isHidden() ? f->View() : nullptr;
}

std::vector<CtavView*> CTextDocuments::Views() const {
    std::vector<CtavView*> views;
    for (QMdiSubWindow* w : m_frame.MdiArea()->subWindowList())
        if (auto* f = qobject_cast<CChildFrame*>(w); f && !f->isHidden() && f->View()) views.push_back(f->View());
    return views;
}

CChildFrame* CTextDocuments::AddFrame(CtavDoc* doc, CtavView*& view) {
    auto* frame = new CChildFrame;
    view = new CtavView(*this, doc, frame);
    frame->setWidget(view);
    frame->setWindowTitle(doc->Title());
    frame->setWindowIcon(m_frame.windowIcon());
    m_frame.MdiArea()->addSubWindow(frame);
    const QSize area = m_frame.MdiArea()->viewport()->size();
    if (area.width() > 200 && area.height() > 150) frame->resize(area.width() * 3 / 4, area.height() * 3 / 4);
    // The document lives as long as one of its windows does.
    doc->AddView();
    connect(frame, &QObject::destroyed, doc, [doc] {
        if (doc->RemoveView() == 0) doc->deleteLater();
    });
    connect(doc->Text(), &QTextDocument::modificationChanged, frame,
            [frame, doc](bool modified) { frame->setWindowTitle(doc->Title() + (modified ? "*" : "")); });
    return frame;
}

bool CTextDocuments::OpenDocumentFile(const std::filesystem::path& file, bool fromCollection) {
    CPrompt& prompt = m_frame.Ports().prompt;
    if (IsRtfName(file))
        if (const std::optional<bool> opened = OpenRtfDocument(file)) return *opened;
    if (!fromCollection && !CheckTextualFile(prompt, file)) return false;
    if (ActivateOpenDocument(file)) return true;
    std::error_code ec;

    CKeywordSearchState* search = m_frame.CollectionCommands() ? &m_frame.CollectionCommands()->Search() : nullptr;
    std::string bytes;
    std::vector<CKeywordMatch> pairs;
    std::vector<std::string> keywords;
    if (search) {
        if (search->PrepareSelPos(prompt, file)) {
            const auto sel = search->GetSelPos();
            bytes.assign(sel.text);
            pairs = sel.pairs;
            keywords = search->GetKeywords();
        } else if (!std::filesystem::is_regular_file(file, ec) || std::filesystem::file_size(file, ec) != 0) {
            search->FreeSelPos();
            return false;
        }
        search->FreeSelPos();
    } else {
        auto read = ReadWholeFile(prompt, file);
        if (!read) return false;
        bytes = std::move(*read);
    }

    auto* doc = new CtavDoc(this);
    doc->SetPath(file);
    doc->Load(bytes);
    const CTextEncoding& enc = doc->Encoding();
    const bool utf16 = enc.Encoding() == EFileEncoding::Utf16Le || enc.Encoding() == EFileEncoding::Utf16Be;
    std::string engineText = utf16 ? enc.EngineText(bytes) : std::string();
    const std::string_view engine = utf16 ? std::string_view(engineText) : std::string_view(bytes);
    doc->DecideKind(engine);
    // The engine's matches in a UTF-16 file are found again in its UTF-8 form, which the raw
    // bytes are not.
    if (utf16 && search && search->InForce())
        pairs =
            FindKeywordMatches(engine, search->Keywords(), search->NoCase(), CKeywordSearchState::kPairCapacity - 1);
    bytes.clear();
    bytes.shrink_to_fit();

    std::vector<CtavView::CMark> marks;
    marks.reserve(pairs.size());
    for (const CKeywordMatch& m : pairs)
        marks.push_back({int(enc.ViewPosOfEngineOffset(m.start)), int(enc.ViewPosOfEngineOffset(m.end))});

    CtavView* view = nullptr;
    CChildFrame* frame = AddFrame(doc, view);
    frame->show();
    view->InitialUpdate(std::move(marks), keywords);
    m_frame.MdiArea()->setActiveSubWindow(frame);
    m_frame.ShowResourceToolBar(doc->Kind(), true);
    // Opened from the collection window, which stays in front until the frame is raised.
    if (fromCollection) {
        m_frame.raise();
        m_frame.activateWindow();
    }
    view->setFocus();
    AddRecentFile(file);
    return true;
}

bool CTextDocuments::ActivateOpenDocument(const std::filesystem::path& file) {
    // A document already open comes to the front instead of a second copy.
    std::error_code ec;
    for (CtavView* v : Views())
        if (!v->Document()->Path().empty() && std::filesystem::equivalent(v->Document()->Path(), file, ec)) {
            m_frame.MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(v->parentWidget()));
            return true;
        }
    return false;
}

std::optional<bool> CTextDocuments::OpenRtfDocument(const std::filesystem::path& file) {
    if (ActivateOpenDocument(file)) return true;
    const auto bytes = ReadWholeFile(m_frame.Ports().prompt, file);
    if (!bytes) return false;
    auto* doc = new CtavDoc(this);
    doc->SetPath(file);
    if (!doc->LoadRtf(*bytes)) {
        delete doc;
        return std::nullopt;
    }
    CtavView* view = nullptr;
    CChildFrame* frame = AddFrame(doc, view);
    frame->show();
    view->InitialUpdate({}, {});
    m_frame.MdiArea()->setActiveSubWindow(frame);
    view->setFocus();
    AddRecentFile(file);
    return true;
}

void CTextDocuments::NewDocument() {
    auto* doc = new CtavDoc(this);
    doc->SetUntitledNumber(++m_untitled);
    CtavView* view = nullptr;
    CChildFrame* frame = AddFrame(doc, view);
    frame->show();
    view->InitialUpdate({}, {});
    m_frame.MdiArea()->setActiveSubWindow(frame);
    view->setFocus();
}

void CTextDocuments::NewWindow(CtavView& source) {
    CtavView* view = nullptr;
    CChildFrame* frame = AddFrame(source.Document(), view);
    frame->setWindowTitle(source.parentWidget()->windowTitle());
    frame->show();
    view->InitialUpdate({}, {});
    view->SetViewFont(source.ViewFont());
    m_frame.MdiArea()->setActiveSubWindow(frame);
}

void CTextDocuments::DocumentRenamed(CtavView& renamed) {
    for (CtavView* v : Views())
        if (v->Document() == renamed.Document()) {
            v->parentWidget()->setWindowTitle(v->Document()->Title());
            v->UpdateAccessibleName();
        }
    AddRecentFile(renamed.Document()->Path());
}

std::vector<std::filesystem::path> CTextDocuments::RecentFiles() const {
    std::vector<std::filesystem::path> files;
    const CSettings& s = m_frame.Ports().settings;
    for (const CStringSetting& key : kRecentFiles)
        if (std::string f = s.Get(key); !f.empty()) files.emplace_back(f);
    return files;
}

void CTextDocuments::AddRecentFile(const std::filesystem::path& file) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(file, ec);
    std::vector<std::filesystem::path> files = RecentFiles();
    std::erase(files, ec ? file : full);
    files.insert(files.begin(), ec ? file : full);
    CSettings& s = m_frame.Ports().settings;
    for (std::size_t i = 0; i < kRecentFiles.size(); ++i)
        s.Set(kRecentFiles[i], i < files.size() ? files[i].string() : std::string());
}

void CTextDocuments::ShowKeywordCombo() {
    ++m_comboCount;
    if (!m_keywordsLoaded) {
        m_keywords.Load(m_frame.Ports().settings);
        m_keywordsLoaded = true;
    }
    if (!m_combo) {
        CMainToolBar* bar = m_frame.MainToolBar();
        m_combo = new CKeywordComboBox(bar);
        const int height = bar->iconSize().height() + 8;
        m_combo->setFixedWidth(8 * height);
        m_comboAction = bar->addWidget(m_combo);
        connect(m_combo, &QComboBox::activated, this, [this] {
            if (CtavView* v = ActiveView()) {
                m_combo->SetTyped(false);
                v->RunCommand(kIdFindKeyword);
            }
        });
    }
    FillCombo();
    m_comboAction->setVisible(true);
}

void CTextDocuments::HideKeywordCombo() {
    m_comboCount = std::max(0, m_comboCount - 1);
    if (m_comboCount == 0 && m_comboAction) m_comboAction->setVisible(false);
}

bool CTextDocuments::IsKeywordComboShown() const { return m_comboAction && m_comboAction->isVisible(); }

void CTextDocuments::FillCombo() {
    if (!m_combo) return;
    const QSignalBlocker block(m_combo);
    m_combo->clear();
    for (const std::string& w : m_keywords.Words()) m_combo->addItem(ToQ(w));
    m_combo->setCurrentIndex(m_combo->count() ? 0 : -1);
}

void CTextDocuments::AddKeyword(const std::string& word) {
    if (m_combo) m_combo->SetTyped(false);
    m_keywords.Add(word);
    FillCombo();
}

std::string CTextDocuments::GetComboKeyword() {
    if (!m_combo) return {};
    std::string word;
    if (m_combo->WasTyped()) {
        const QString typed = m_combo->currentText();
        word = FromQ(typed);
        const QSignalBlocker block(m_combo);
        for (int i = m_combo->count() - 1; i >= 0; --i)
            if (EqualsNoCase(FromQ(m_combo->itemText(i)), word)) m_combo->removeItem(i);
        m_combo->insertItem(0, typed);
        m_combo->setCurrentIndex(0);
    } else if (m_combo->currentIndex() >= 0) {
        word = FromQ(m_combo->itemText(m_combo->currentIndex()));
    }
    m_combo->SetTyped(false);
    return word;
}

void CTextDocuments::SaveKeywordList() {
    if (m_keywordsLoaded) m_keywords.Save(m_frame.Ports().settings);
}
