#include "collections/CCollectionWnd.h"

#include "CDataTable.h"
#include "CDataTableAccessible.h"
#include "CDataTableParams.h"
#include "QtConvert.h"
#include "ToolBarAccess.h"
#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/FileAccess.h"
#include "app/MainFrameRules.h"
#include "app/SettingsKeys.h"
#include "collections/CCollectionCommands.h"
#include "collections/CCollectionDlgs.h"
#include "collections/CCollections.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>

namespace {

// A decimal with an optional sign, accumulated in 32 bits with wrap-around.
std::int32_t Wrap32(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    std::uint32_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = v * 10u + std::uint32_t(s[i] - '0');
    return std::int32_t(negative ? 0u - v : v);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
        if (fold(text[i]) != fold(prefix[i])) return false;
    }
    return true;
}

std::string FormatCaption(const std::string& name, std::size_t rows) {
    return "Collection \"" + name + "\": " + std::to_string(rows) + " files.";
}

} // namespace

std::string FormatCollectionFont(const CLogFont& font) {
    return font.faceName + ";" + std::to_string(std::uint32_t(font.height)) + ";" + std::to_string(font.italic) + ";" +
           std::to_string(font.weight & 0xFFFF) + ";0";
}

CLogFont ParseCollectionFont(std::string_view text) {
    CLogFont font;
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semi = text.find(';', start);
        fields.push_back(text.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start));
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    font.faceName = std::string(fields[0]);
    const auto field = [&](std::size_t k) { return k < fields.size() ? Wrap32(fields[k]) : 0; };
    font.height = field(1);
    font.italic = field(2);
    font.weight = field(3);
    return font;
}

CCollectionWnd::CCollectionWnd(CMainFrame& frame, const CUiServices& services)
    : QMainWindow(nullptr), m_frame(frame), m_services(services), m_tip(services.mainWindow) {
    setObjectName(QStringLiteral("collectionWindow"));
    setWindowTitle(QStringLiteral("Collection"));
    setAccessibleName(QStringLiteral("Collection"));
    setWindowIcon(frame.windowIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    m_toolBar = addToolBar(QStringLiteral("Collection"));
    NameToolBarExtension(*m_toolBar);
    m_toolBar->setObjectName(QStringLiteral("collectionToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    for (int id : {kIdRefreshShown, kIdKeySearchShown})
        if (QAction* a = frame.Action(id)) m_toolBar->addAction(a);

    m_fileBox = new QLineEdit(QStringLiteral("*.*"), m_toolBar);
    m_fileBox->setObjectName(QStringLiteral("fileBox"));
    m_descBox = new QLineEdit(m_toolBar);
    m_descBox->setObjectName(QStringLiteral("descriptionBox"));
    m_groupBox = new QComboBox(m_toolBar);
    m_groupBox->setObjectName(QStringLiteral("groupBox"));
    const struct {
        QWidget* box;
        const char* tip;
    } boxes[] = {{m_fileBox, "Find in files column"},
                 {m_descBox, "Find in description column"},
                 {m_groupBox, "Find in group column"}};
    for (const auto& b : boxes) {
        b.box->setToolTip(QString::fromLatin1(b.tip));
        b.box->setAccessibleName(QString::fromLatin1(b.tip));
    }
    // textEdited and activated come from the user only, so the window's own resets search nothing.
    connect(m_fileBox, &QLineEdit::textEdited, this, &CCollectionWnd::SearchFiles);
    connect(m_descBox, &QLineEdit::textEdited, this, &CCollectionWnd::SearchDescription);
    connect(m_groupBox, &QComboBox::activated, this, &CCollectionWnd::SearchGroup);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("collectionClient"));
    setCentralWidget(m_client);
    m_table = new CDataTable(services, m_client);
    m_table->setObjectName(QStringLiteral("collectionTable"));
    m_table->setAccessibleName(QStringLiteral("Collection"));
    connect(m_table, &CDataTable::notify, this, &CCollectionWnd::OnNotify);
    connect(m_table, &CDataTable::command, this, &CCollectionWnd::OnTableCommand);
    m_table->installEventFilter(this);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize area = screen ? screen->size() : QSize(1024, 768);
    setGeometry(0, 0, area.width() * 3 / 4, area.height() * 3 / 4);
    RestorePlacement();
    FillGroupBox();

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (!now || now->window() != this) {
            if (old && old->window() == this) m_tip.HideTip();
            return;
        }
        if (now == m_fileBox || now == m_descBox || now == m_groupBox || now == m_table) m_lastFocus = now;
        // Coming from another window: the frame goes directly below this one.
        if (old && (old->window() == this || old->window() == &m_frame)) return;
        if (!m_frame.isVisible()) return;
        m_frame.raise();
        raise();
    });
}

CCollectionWnd::~CCollectionWnd() = default;

CCollections& CCollectionWnd::Collections() const { return *m_frame.Collections(); }
CCollectionCommands& CCollectionWnd::Commands() const { return *m_frame.CollectionCommands(); }
CCollectionStore& CCollectionWnd::Store() const { return m_frame.Collections()->Store(); }
CSettings& CCollectionWnd::Settings() const { return m_frame.Ports().settings; }

void CCollectionWnd::RestorePlacement() {
    const CSettings& s = Settings();
    const CWindowPlacement p{s.Get(kCollectionPlaceLeft), s.Get(kCollectionPlaceTop), s.Get(kCollectionPlaceRight),
                             s.Get(kCollectionPlaceBottom), s.Get(kCollectionPlaceShow)};
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 768);
    if (!IsRestorablePlacement(p, size.width(), size.height())) return;
    setGeometry(p.left, p.top, std::max(1, p.right - p.left), std::max(1, p.bottom - p.top));
    if (p.show == CWindowPlacement::kShowMaximized) setWindowState(Qt::WindowMaximized);
}

void CCollectionWnd::ShowCollection() {
    if (m_closed) return;
    // A refill asked for while the table reports (a rename that deleted the file) waits until
    // the table is done with the cell it reports on.
    if (m_notifyDepth > 0) {
        if (!m_refillPending) {
            m_refillPending = true;
            QTimer::singleShot(0, this, [this] {
                m_refillPending = false;
                ShowCollection();
            });
        }
        return;
    }
    const int rows = int(Store().RowCount());
    const int buffer = std::min(rows, kRowsPerFill);
    bool toTable = false;
    if (!isVisible()) show();
    if (QLayout* l = layout()) l->activate();
    if (!m_table->IsCreated()) {
        CreateTable();
        toTable = true;
    } else {
        toTable = m_table->Model().TotalRows() != rows;
        m_table->SetRowCounts(buffer, rows);
        m_table->SetCurrentCell(-1, -1);
        m_table->SetFirstColumn(m_firstColumn);
    }
    // A new list starts at its top.
    if (toTable) m_table->Model().SetTopRow(0);
    PlaceTable();
    ShowRows(m_table->Model().IsWindowed() ? m_table->Model().TopRow() : 0);
    m_table->viewport()->update();
    FillGroupBox();
    LayoutBoxes();
    SetCaption(FormatCaption(Store().Name(), Store().RowCount()));
    Activate(toTable && !m_searching);
}

void CCollectionWnd::CreateTable() {
    const int rows = int(Store().RowCount());
    const int w = m_client->width();
    CDataTableParams p(Settings());
    p.left = 0;
    p.top = 0;
    p.right = m_client->width();
    p.bottom = m_client->height();
    // The table's own default is black; a grid of text reads best on the window's base colour.
    p.backColor = FromQColor(palette().color(QPalette::Base));
    p.headerTextColor = 0x800000;
    p.headerAlign = TA_CENTER;
    p.totalRows = rows;
    p.columnCount = 3;
    p.bufferRows = std::min(rows, kRowsPerFill);
    p.columnWidths = {w * 2 / 10, w * 6 / 10, w * 2 / 10 - 4};
    p.rowNumbers = 0;
    p.lastColumn = 1;
    m_table->Create(m_client, p, 0, 0);
    const char* headers[] = {"Location", "Description", "Group"};
    const CColorRef menuColor = FromQColor(palette().color(QPalette::Button));
    for (int c = 0; c < 3; ++c) {
        m_table->SetHeaderText(c, headers[c], false);
        m_table->SetColumnColor(c, menuColor, false);
    }
    ApplyStoredSettings();
}

void CCollectionWnd::ApplyStoredSettings() {
    const CSettings& s = Settings();
    const int widths[] = {s.Get(kColumnWidth0), s.Get(kColumnWidth1), s.Get(kColumnWidth2)};
    // Widths never stored: the window keeps its defaults for font and colour too.
    if (widths[1] == 0 && widths[2] == 0) return;
    for (int c = 0; c < 3; ++c) m_table->SetColumnWidth(c, widths[c], false, false);
    const std::string font = s.Get(kCollectionFont);
    if (!font.empty()) m_table->SetTableFont(ParseCollectionFont(font), false);
    const int color = s.Get(kCollectionColor);
    if (color >= 0) m_table->SetBackColor(CColorRef(color), false);
}

void CCollectionWnd::PlaceTable() {
    if (m_table->IsCreated()) m_table->SetTableRect(0, 0, m_client->width(), m_client->height());
}

void CCollectionWnd::ShowRows(int first) {
    const CCollectionStore& store = Store();
    const int rows = int(store.RowCount());
    const std::string& base = store.BaseDirectory();
    const bool favorites = store.IsFavoritesView();
    for (int r = std::max(first, 0); r < std::min(first + kRowsPerFill, rows); ++r) {
        const auto index = store.RecordOfRow(std::size_t(r));
        if (!index) continue;
        const CCollectionRecord& record = store.Records()[*index];
        std::string text = record.location;
        // Favorites come from many folders: they keep their whole path. Elsewhere the path
        // below the base directory, when the file lies in it.
        const std::string_view loc = record.location;
        if (!favorites && !base.empty() && loc.size() > base.size() && StartsWithNoCase(loc, base) &&
            (loc[base.size()] == '/' || loc[base.size()] == '\\'))
            text = record.location.substr(base.size() + 1);
        if (!IsExistingFile(record.location, false)) text = "! " + text + " (is absent now)";
        m_table->SetCellText(r, 0, text, false);
        m_table->SetCellText(r, 1, record.description, false);
        m_table->SetCellText(r, 2, record.groups, false);
    }
    // Groups change only through the group menu.
    m_table->SetColumnKind(2, 1, false);
    m_table->viewport()->update();
}

void CCollectionWnd::SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

void CCollectionWnd::Activate(bool toTable) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (toTable) m_table->setFocus();
    else if (m_lastFocus)
        m_lastFocus->setFocus();
}

bool CCollectionWnd::IsCollectionWindowActive() const {
    if (m_closed || !m_table->IsCreated()) return false;
    const QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == this;
}

void CCollectionWnd::ShowNotFound(int column) {
    QWidget* box = column == 0   ? static_cast<QWidget*>(m_fileBox)
                   : column == 1 ? static_cast<QWidget*>(m_descBox)
                                 : static_cast<QWidget*>(m_groupBox);
    m_tip.SetTipText("Not found");
    const QPoint at = box->mapToGlobal(QPoint(0, box->height()));
    m_tip.SetPlacement({at.x(), at.y(), at.x() + box->width(), at.y() + box->height()});
    if (isActiveWindow()) m_tip.ShowAtPointer(this, 1000);
}

std::optional<std::size_t> CCollectionWnd::CurrentRow() const {
    if (m_closed || !m_table->IsCreated()) return std::nullopt;
    const int row = m_table->Model().CurrentRow();
    if (row < 0 || row >= int(Store().RowCount())) return std::nullopt;
    return std::size_t(row);
}

bool CCollectionWnd::IsEditing() const { return m_table->IsEditOpen() || m_table->IsDropListOpen(); }

void CCollectionWnd::FillGroupBox() {
    m_groupBox->clear();
    m_groupBox->addItem(QStringLiteral("   ..."));
    for (const std::string& g : Store().KnownGroups()) m_groupBox->addItem(QString::fromStdString(g));
    m_groupBox->setCurrentIndex(0);
}

void CCollectionWnd::LayoutBoxes() {
    if (m_closed) return;
    const QList<QAction*> actions = m_toolBar->actions();
    QWidget* second = actions.size() >= 2 ? m_toolBar->widgetForAction(actions[1]) : nullptr;
    const int x = second ? second->geometry().right() + 1 : 0;
    const int h = second ? second->height() : m_toolBar->height();
    const int b = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int boxHeight = std::min(m_fileBox->sizeHint().height(), m_toolBar->height());
    const int y = (m_toolBar->height() - boxHeight) / 2;
    if (!m_table->IsCreated()) {
        m_fileBox->setGeometry(x, y, 3 * h, boxHeight);
        m_descBox->setGeometry(x + 3 * h, y, 10 * h, boxHeight);
        m_groupBox->setGeometry(x + 13 * h, y, 6 * h, boxHeight);
        return;
    }
    if (m_table->GetColumnWidth(2) < 5 * h) m_table->SetColumnWidth(2, 5 * h, false, true);
    const int w0 = m_table->GetColumnWidth(0), w1 = m_table->GetColumnWidth(1), w2 = m_table->GetColumnWidth(2);
    m_firstColumn = m_table->Model().FirstColumn();
    struct CSpan {
        int left = 0, right = -1;
    } file, desc, group;
    switch (m_firstColumn) {
    case 0:
        file = {x, w0 - 3 * b};
        desc = {w0 - b, w0 + w1 - 3 * b};
        group = {w0 + w1 - b, w0 + w1 + w2};
        break;
    case 1:
        desc = {x + 3 * h, w1 - b};
        group = {w1, w1 + w2};
        break;
    default: group = {x + 13 * h, x + 13 * h + w2}; break;
    }
    if (group.right >= group.left && group.right < m_toolBar->width() - b) group.right = m_toolBar->width() - b;
    const auto place = [&](QWidget* box, const CSpan& s) {
        if (s.right < s.left) {
            box->hide();
            return;
        }
        box->setGeometry(s.left, y, s.right - s.left, boxHeight);
        box->show();
    };
    place(m_fileBox, file);
    place(m_descBox, desc);
    place(m_groupBox, group);
}

void CCollectionWnd::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (QLayout* l = layout()) l->activate();
    PlaceTable();
    LayoutBoxes();
}

bool CCollectionWnd::eventFilter(QObject* watched, QEvent* event) {
    // The table tells nobody when its current cell moves: a screen reader learns it here.
    if (watched == m_table && m_table->IsCreated() &&
        (event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease ||
         event->type() == QEvent::FocusIn)) {
        const QPoint cell(m_table->Model().CurrentColumn(), m_table->Model().CurrentRow());
        if (cell != m_announcedCell || event->type() == QEvent::FocusIn) {
            m_announcedCell = cell;
            NotifyDataTableFocus(m_table);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CCollectionWnd::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) m_tip.HideTip();
}

void CCollectionWnd::OnNotify(CTableNotify& record) {
    if (m_closed) return;
    ++m_notifyDepth;
    switch (record.code) {
    case TN_CELLCHANGING: {
        auto& c = static_cast<CTableCellChange&>(record);
        if (c.column == 0) {
            if (!Commands().RenameCollectionFile(std::size_t(c.row), c.text)) c.veto = 1;
        } else if (c.column == 1 && !Store().CheckStorable(c.text)) {
            // The file cannot hold it: the cell keeps its old text.
            c.veto = 1;
        }
        break;
    }
    case TN_CELLCHANGED: {
        const auto& c = static_cast<CTableCellChange&>(record);
        if (c.column != 1) break;
        const auto index = Store().RecordOfRow(std::size_t(c.row));
        if (!index) break;
        const std::string groups = Store().Records()[*index].groups;
        (void)Store().SaveChanges(std::size_t(c.row), c.text, groups);
        break;
    }
    case TN_VSCROLL: ShowRows(static_cast<CTableVScroll&>(record).topRow); break;
    case TN_HSCROLL:
    case TN_LAYOUT:
    case TN_COLUMNRESIZED: QTimer::singleShot(0, this, &CCollectionWnd::LayoutBoxes); break;
    case TN_LBUTTONDOWN:
        m_tip.HideTip();
        m_table->Tip().HideTip();
        break;
    case TN_LBUTTONDBLCLK: {
        auto& m = static_cast<CTableMouse&>(record);
        if (m.hitKind == CDataTableModel::kHitHeader || m.row < 0 || (m.column != 0 && m.column != 2)) break;
        m.handled = 1;
        QMenu menu(this);
        AddGroupMenu(menu, m.row, m.column, false);
        RunMenu(menu);
        break;
    }
    case TN_CONTEXTMENU: {
        QMenu* menu = static_cast<CTableMenu&>(record).menu;
        const QList<QAction*> items = menu->actions();
        // "Restory column's width": the column widths here follow the window.
        if (items.size() > 2) menu->removeAction(items[2]);
        const int row = m_table->Model().CurrentRow(), column = m_table->Model().CurrentColumn();
        if (row >= 0 && column >= 0) AddGroupMenu(*menu, row, column, true);
        // Whole-collection commands, wherever the click was.
        menu->addSeparator();
        for (const int id : {kIdImportDescriptIon, kIdExportDescriptIon}) {
            QAction* a = menu->addAction(QString::fromLatin1(FindCommand(id)->contextText));
            a->setData(id);
            a->setEnabled(m_frame.IsCommandEnabled(id));
        }
        break;
    }
    case TN_DROP: {
        const auto& d = static_cast<CTableDrop&>(record);
        if (d.row >= 0 && d.column >= 0) m_table->SetCurrentCell(d.row, d.column);
        break;
    }
    default: break;
    }
    --m_notifyDepth;
}

void CCollectionWnd::AddFileMenu(QMenu& menu) {
    const bool favorites = Store().IsFavoritesView();
    const int items[] = {kIdTextualEditing,
                         kIdRunFile,
                         kIdPrintFile,
                         kIdFileAttributes,
                         kIdDeleteFile,
                         kSeparator,
                         favorites ? kIdDeleteFromFavorites : kIdAddToFavorites,
                         kSeparator,
                         kIdExtensionTool};
    for (int id : items) {
        if (id == kSeparator) {
            menu.addSeparator();
            continue;
        }
        const CCommandDef* def = FindCommand(id);
        QAction* a = menu.addAction(QString::fromLatin1(def ? def->contextText : ""));
        a->setData(id);
        a->setEnabled(m_frame.IsCommandEnabled(id));
    }
}

void CCollectionWnd::AddGroupMenu(QMenu& menu, int row, int column, bool appended) {
    m_menuRow = row >= 0 ? std::optional<std::size_t>(std::size_t(row)) : std::nullopt;
    m_menuColumn = column;
    if (column == 0) {
        if (appended) menu.addSeparator();
        AddFileMenu(menu);
        return;
    }
    if (column != 2) return;
    if (appended) menu.addSeparator();
    menu.addAction(QStringLiteral("Set a new group"))->setData(int(kIdNewGroup));
    const std::vector<std::string>& known = Store().KnownGroups();
    if (!known.empty()) {
        if (known.size() < std::size_t(kChooserThreshold)) {
            QMenu* sub = menu.addMenu(QStringLiteral("Set existen group"));
            for (std::size_t k = 0; k < known.size(); ++k)
                sub->addAction(QString::fromStdString(known[k]))->setData(int(kIdSetGroupBase + int(k)));
        } else {
            menu.addAction(QStringLiteral("Set existen group"))->setData(int(kIdGroupChooser));
        }
    }
    m_rowGroups = CCollectionStore::SplitGroups(m_table->GetCellText(row, 2));
    if (!m_rowGroups.empty()) {
        QMenu* sub = menu.addMenu(QStringLiteral("Delete group"));
        for (std::size_t k = 0; k < m_rowGroups.size(); ++k)
            sub->addAction(QString::fromStdString(m_rowGroups[k]))->setData(int(kIdDeleteGroupBase + int(k)));
        menu.addAction(QStringLiteral("Delete All group"))->setData(int(kIdDeleteAllGroups));
    }
}

int CCollectionWnd::ExecMenu(QMenu& menu) {
    QAction* chosen = menu.exec(QCursor::pos());
    return chosen ? chosen->data().toInt() : 0;
}

void CCollectionWnd::RunMenu(QMenu& menu) {
    if (menu.actions().isEmpty()) return;
    if (const int id = ExecMenu(menu)) OnCommand(id);
}

void CCollectionWnd::OnTableCommand(int id) { OnCommand(id); }

void CCollectionWnd::OnCommand(int id) {
    const bool groupCommand = id == kIdNewGroup || id == kIdGroupChooser || id == kIdChooserOk ||
                              id == kIdDeleteAllGroups || (id >= kIdSetGroupBase && id < kIdSetGroupBase + 1000) ||
                              (id >= kIdDeleteGroupBase && id < kIdDeleteGroupBase + 1000);
    if (!groupCommand) {
        m_frame.RunCommand(id);
        return;
    }
    if (m_closed || !m_menuRow || *m_menuRow >= Store().RowCount()) return;
    const std::size_t row = *m_menuRow;
    const std::vector<std::string>& known = Store().KnownGroups();
    if (id == kIdNewGroup) {
        const std::string name = AskGroupName();
        if (!name.empty()) AddGroup(name);
    } else if (id >= kIdSetGroupBase && id < kIdSetGroupBase + 1000) {
        const std::size_t k = std::size_t(id - kIdSetGroupBase);
        if (k < known.size()) AddGroup(std::string(known[k]));
    } else if (id == kIdGroupChooser) {
        OpenChooser();
    } else if (id >= kIdDeleteGroupBase && id < kIdDeleteGroupBase + 1000) {
        SetGroupText(int(row), Store().RemoveGroupAt(row, std::size_t(id - kIdDeleteGroupBase)), true);
    } else if (id == kIdDeleteAllGroups) {
        if (Store().SetGroupMarker(row, "") == ERecordWrite::Written) SetGroupText(int(row), std::string(), true);
    }
}

void CCollectionWnd::SetGroupText(int row, const std::optional<std::string>& text, bool refillBox) {
    if (!text) return;
    m_table->SetCellText(row, 2, *text, true);
    if (refillBox) FillGroupBox();
}

void CCollectionWnd::AddGroup(const std::string& name) {
    if (!m_menuRow) return;
    SetGroupText(int(*m_menuRow), Store().AddGroupsToRecord(*m_menuRow, {name}), true);
}

void CCollectionWnd::AddChosenGroups(const std::vector<std::string>& names) {
    if (m_closed || !m_menuRow || *m_menuRow >= Store().RowCount() || names.empty()) return;
    SetGroupText(int(*m_menuRow), Store().AddGroupsToRecord(*m_menuRow, names), true);
}

std::string CCollectionWnd::AskGroupName() { return RunGroupNameDialog(this); }

void CCollectionWnd::OpenChooser() {
    if (m_chooser) return;
    auto* popup = new QWidget(this, Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setObjectName(QStringLiteral("groupChooser"));
    popup->setAccessibleName(QStringLiteral("Set existen group"));
    auto* layout = new QVBoxLayout(popup);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* ok = new QPushButton(QStringLiteral("Ok"), popup);
    m_chooserList = new QListWidget(popup);
    m_chooserList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_chooserList->setSortingEnabled(true);
    m_chooserList->setAccessibleName(QStringLiteral("Set existen group"));
    for (const std::string& g : Store().KnownGroups()) m_chooserList->addItem(QString::fromStdString(g));
    layout->addWidget(ok);
    layout->addWidget(m_chooserList);
    const QFontMetrics fm(m_chooserList->font());
    int widest = 0;
    for (int i = 0; i < m_chooserList->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(m_chooserList->item(i)->text()));
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int itemHeight = std::max(1, m_chooserList->sizeHintForRow(0));
    const int width = std::min(widest + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * frame + 4, 200);
    const int listHeight = std::min(m_chooserList->count() * itemHeight + 2 * frame + 4, 20 * itemHeight);
    const int okHeight = itemHeight + 2 * frame;
    ok->setFixedHeight(okHeight);
    popup->resize(width, listHeight + okHeight);
    QPoint at = QCursor::pos();
    if (const QScreen* screen = QGuiApplication::screenAt(at)) {
        const QRect area = screen->availableGeometry();
        const int margin = style()->pixelMetric(QStyle::PM_TitleBarHeight);
        at.setX(std::min(at.x(), area.right() - margin - popup->width()));
        at.setY(std::min(at.y(), area.bottom() - margin - popup->height()));
    }
    popup->move(at);
    connect(ok, &QPushButton::clicked, popup, [this, popup] {
        std::vector<std::string> names;
        for (QListWidgetItem* item : m_chooserList->selectedItems()) names.push_back(item->text().toStdString());
        popup->close();
        AddChosenGroups(names);
    });
    // A popup closes on a click elsewhere, not when the focus leaves it another way (another
    // window activated from the keyboard or by a program), so it looks for itself.
    auto* focusWatch = new QTimer(popup);
    focusWatch->setInterval(kChooserFocusCheckMs);
    connect(focusWatch, &QTimer::timeout, popup, [popup] {
        const QWidget* focus = QApplication::focusWidget();
        if (!focus || !(focus == popup || popup->isAncestorOf(focus))) popup->close();
    });
    m_chooser = popup;
    popup->show();
    m_chooserList->setFocus();
    focusWatch->start();
}

void CCollectionWnd::SearchFiles(const QString& text) {
    if (!m_table->IsCreated()) return;
    m_groupBox->setCurrentIndex(0);
    m_descBox->clear();
    m_searching = true;
    Commands().FindInFilesColumn(text.toStdString());
    m_searching = false;
}

void CCollectionWnd::SearchDescription(const QString& text) {
    if (!m_table->IsCreated()) return;
    m_groupBox->setCurrentIndex(0);
    m_fileBox->setText(QStringLiteral("*.*"));
    m_searching = true;
    Commands().FindInDescriptionColumn(text.toStdString());
    m_searching = false;
}

void CCollectionWnd::SearchGroup(int index) {
    if (!m_table->IsCreated()) return;
    m_fileBox->setText(QStringLiteral("*.*"));
    m_descBox->clear();
    const std::string text = index <= 0 ? std::string() : m_groupBox->itemText(index).toStdString();
    m_searching = true;
    Commands().FindInGroupColumn(text);
    m_searching = false;
    // The refill rebuilt the list; the choice stays visible.
    m_groupBox->setCurrentIndex(std::max(index, 0));
}

void CCollectionWnd::SaveSettings() {
    CSettings& s = Settings();
    QRect g = normalGeometry();
    if (!g.isValid()) g = geometry();
    s.Set(kCollectionPlaceLeft, g.left());
    s.Set(kCollectionPlaceTop, g.top());
    s.Set(kCollectionPlaceRight, g.left() + g.width());
    s.Set(kCollectionPlaceBottom, g.top() + g.height());
    s.Set(kCollectionPlaceShow, isMaximized()   ? CWindowPlacement::kShowMaximized
                                : isMinimized() ? CWindowPlacement::kShowMinimized
                                                : CWindowPlacement::kShowNormal);
}

void CCollectionWnd::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    m_closed = true;
    m_tip.HideTip();
    if (m_chooser) m_chooser->close();
    CSettings& s = Settings();
    if (m_table->IsCreated()) {
        const int widths[] = {m_table->GetColumnWidth(0), m_table->GetColumnWidth(1), m_table->GetColumnWidth(2)};
        const CColorRef back = m_table->BackColor();
        const CLogFont font = m_table->CellFont();
        // An open edit is committed (and written) before the store lets go of the collection.
        m_table->Reset();
        s.Set(kColumnWidth0, widths[0]);
        s.Set(kColumnWidth1, widths[1]);
        s.Set(kColumnWidth2, widths[2]);
        s.Set(kCollectionColor, int(back));
        s.Set(kCollectionFont, FormatCollectionFont(font));
    }
    Store().ResetCurrentCollection();
    SaveSettings();
    event->accept();
    m_frame.UpdateCommandUi();
}
