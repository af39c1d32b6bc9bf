#include "collections/CCollectionDlgs.h"

#include "app/CMainFrame.h"
#include "collections/CollectionDialogs.h"
#include "collections/KeywordSearch.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Engine texts break lines with CR LF; a label wants LF.
QString Display(std::string_view text) {
    QString s = QString::fromStdString(std::string(text));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

std::string Std(const QString& s) { return s.toStdString(); }

QLabel* Label(const char* text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setBuddy(buddy);
    buddy->setAccessibleName(QString::fromLatin1(text));
    return l;
}

QDialogButtonBox* OkCancel(QDialog* dlg) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dlg);
    QObject::connect(box, &QDialogButtonBox::accepted, dlg, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dlg, &QDialog::reject);
    return box;
}

} // namespace

CNewCollectionDlg::CNewCollectionDlg(CPrompt& prompt, const CNewCollectionDialogData& data,
                                     std::function<std::string()> browse, QWidget* parent)
    : QDialog(parent), m_prompt(prompt) {
    setWindowTitle(QStringLiteral("New Collection"));
    auto* layout = new QVBoxLayout(this);
    directoryEdit = new QLineEdit(QString::fromStdString(data.directory), this);
    extensionEdit = new QLineEdit(QString::fromStdString(data.extensions), this);
    auto* browseButton = new QPushButton(QStringLiteral("Browse"), this);
    layout->addWidget(Label("Select a base directory for new collection", directoryEdit, this));
    auto* row = new QHBoxLayout;
    row->addWidget(directoryEdit, 1);
    row->addWidget(browseButton);
    layout->addLayout(row);
    layout->addWidget(Label("Allowed file's extentions (rtf, txt, doc)", extensionEdit, this));
    layout->addWidget(extensionEdit);
    layout->addWidget(OkCancel(this));
    connect(browseButton, &QPushButton::clicked, this, [this, browse = std::move(browse)] {
        const std::string chosen = browse ? browse() : std::string();
        if (!chosen.empty()) directoryEdit->setText(QString::fromStdString(chosen));
    });
    resize(480, sizeHint().height());
    directoryEdit->setFocus();
    directoryEdit->selectAll();
}

CNewCollectionDialogData CNewCollectionDlg::Result() const {
    return {Std(directoryEdit->text()), Std(extensionEdit->text())};
}

void CNewCollectionDlg::accept() {
    if (CheckNewCollectionDirectory(m_prompt, Std(directoryEdit->text()))) QDialog::accept();
}

COpenCollectionDlg::COpenCollectionDlg(CPrompt& prompt, const COpenCollectionDialogData& data, QWidget* parent)
    : QDialog(parent), m_prompt(prompt) {
    if (data.catalogue) m_catalogue = *data.catalogue;
    setWindowTitle(QString::fromStdString(OpenDialogTitle(data.chooseMode)));
    auto* layout = new QVBoxLayout(this);
    list = new QListWidget(this);
    list->setAccessibleName(QStringLiteral("Collections"));
    info = new QLabel(this);
    info->setWordWrap(true);
    info->setMinimumHeight(60);
    info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const CCatalogueEntry& e : m_catalogue) {
        m_names.push_back(e.name);
        list->addItem(QString::fromStdString(e.name));
    }
    const bool preselected = data.preselected >= 0 && std::size_t(data.preselected) < m_catalogue.size();
    info->setText(Display(OpenDialogInitialText(m_catalogue.empty(), data.chooseMode, preselected)));
    layout->addWidget(list);
    layout->addWidget(info);
    layout->addWidget(OkCancel(this));
    if (m_catalogue.empty()) {
        list->hide();
        info->hide();
    }
    if (preselected) list->setCurrentRow(data.preselected);
    connect(list, &QListWidget::itemSelectionChanged, this, &COpenCollectionDlg::OnSelection);
    resize(420, 320);
}

void COpenCollectionDlg::OnSelection() {
    const QListWidgetItem* item = list->currentItem();
    if (!item) return;
    const int k = FindCatalogueEntryByName(m_names, Std(item->text()));
    if (k < 0) return;
    const CCatalogueEntry& e = m_catalogue[std::size_t(k)];
    info->setText(Display(CatalogueEntryText(e.baseDirectory, e.description)));
}

void COpenCollectionDlg::accept() {
    const QListWidgetItem* item = list->selectedItems().isEmpty() ? nullptr : list->currentItem();
    if (!CheckOpenSelection(m_prompt, item ? list->row(item) : -1)) return;
    // The list shows names: a name stands for the first entry of that name.
    m_selected = FindCatalogueEntryByName(m_names, Std(item->text()));
    QDialog::accept();
}

CCollectionInfoDlg::CCollectionInfoDlg(CPrompt& prompt, const CCollectionInfoFields& fields, QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_fields(fields) {
    setWindowTitle(QStringLiteral("Collection Info"));
    auto* layout = new QVBoxLayout(this);
    nameEdit = new QLineEdit(QString::fromStdString(fields.name), this);
    summary = new QPlainTextEdit(this);
    summary->setReadOnly(true);
    summary->setAccessibleName(QStringLiteral("Collection summary"));
    summary->setPlainText(
        Display(CollectionInfoSummary(fields.name, fields.baseDirectory, fields.filePath.filename().string())));
    summary->setMaximumHeight(80);
    extensionEdit = new QLineEdit(QString::fromStdString(fields.extensionList), this);
    descriptionEdit = new QPlainTextEdit(QString::fromStdString(fields.description), this);
    layout->addWidget(Label("Collection name:", nameEdit, this));
    layout->addWidget(nameEdit);
    layout->addWidget(summary);
    layout->addWidget(Label("Allowed file's extentions (rtf, txt, doc):", extensionEdit, this));
    layout->addWidget(extensionEdit);
    layout->addWidget(Label("Collection description:", descriptionEdit, this));
    layout->addWidget(descriptionEdit);
    layout->addWidget(OkCancel(this));
    Remember();
    connect(nameEdit, &QLineEdit::textEdited, this, &CCollectionInfoDlg::OnNameEdited);
    connect(nameEdit, &QLineEdit::cursorPositionChanged, this, &CCollectionInfoDlg::Remember);
    connect(nameEdit, &QLineEdit::selectionChanged, this, &CCollectionInfoDlg::Remember);
    resize(440, 380);
}

void CCollectionInfoDlg::Remember() {
    m_lastText = nameEdit->text();
    m_lastCursor = nameEdit->cursorPosition();
    m_lastSelStart = nameEdit->selectionStart();
    m_lastSelLength = nameEdit->selectionLength();
}

void CCollectionInfoDlg::OnNameEdited(const QString& text) {
    if (CheckTypedCollectionName(m_prompt, Std(text))) {
        Remember();
        return;
    }
    // The refused character goes: text, caret and selection as they were.
    const QSignalBlocker block(nameEdit);
    nameEdit->setText(m_lastText);
    if (m_lastSelStart >= 0 && m_lastSelLength > 0) nameEdit->setSelection(m_lastSelStart, m_lastSelLength);
    else
        nameEdit->setCursorPosition(m_lastCursor);
}

CCollectionInfoFields CCollectionInfoDlg::Result() const {
    CCollectionInfoFields f = m_fields;
    f.name = Std(nameEdit->text());
    f.description = Std(descriptionEdit->toPlainText());
    f.extensionList = Std(extensionEdit->text());
    return f;
}

void CCollectionInfoDlg::accept() {
    const CCollectionInfoFields f = Result();
    if (CheckCollectionInfo(m_prompt, f.name, f.description, f.extensionList)) QDialog::accept();
}

CDeleteFavoritesDlg::CDeleteFavoritesDlg(CPrompt& prompt, const std::vector<std::string>& locations,
                                         std::function<bool()> confirmAll, QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_confirmAll(std::move(confirmAll)) {
    setWindowTitle(QStringLiteral("Delete from favorite"));
    auto* layout = new QVBoxLayout(this);
    list = new QListWidget(this);
    list->setAccessibleName(QStringLiteral("Favorites"));
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    list->setSortingEnabled(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (const std::string& l : locations) list->addItem(QString::fromStdString(l));
    layout->addWidget(list);
    auto* buttons = new QHBoxLayout;
    auto* del = new QPushButton(QStringLiteral("Delete"), this);
    auto* all = new QPushButton(QStringLiteral("Delete all"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(del);
    buttons->addWidget(all);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(del, &QPushButton::clicked, this, &CDeleteFavoritesDlg::OnDelete);
    connect(all, &QPushButton::clicked, this, &CDeleteFavoritesDlg::OnDeleteAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(520, 320);
}

void CDeleteFavoritesDlg::OnDelete() {
    const QList<QListWidgetItem*> items = list->selectedItems();
    if (!CheckFavoritesSelection(m_prompt, std::size_t(items.size()))) return;
    selected.clear();
    for (const QListWidgetItem* item : items) selected.push_back(Std(item->text()));
    QDialog::accept();
}

void CDeleteFavoritesDlg::OnDeleteAll() {
    if (!m_confirmAll || !m_confirmAll()) return;
    deleteAll = true;
    QDialog::accept();
}

CKeywordSearchDlg::CKeywordSearchDlg(CPrompt& prompt, CSettings& settings, const CKeywordDialogValues& values,
                                     QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_settings(settings) {
    setWindowTitle(QStringLiteral("Searching in all files"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(this)); // bound to an empty text
    keywordEdit = new QLineEdit(QString::fromStdString(values.keyword), this);
    keywordEdit->setAccessibleName(QStringLiteral("Keywords"));
    layout->addWidget(keywordEdit);
    noCase = new QCheckBox(QStringLiteral("No case"), this);
    noCase->setChecked(values.noCase);
    layout->addWidget(noCase);
    layout->addWidget(
        new QLabel(Display("You can to use '+' - separator for different keywods:\r\nA AA + BB B +CCC"), this));
    layout->addWidget(OkCancel(this));
    keywordEdit->setFocus();
    keywordEdit->setCursorPosition(0);
}

CKeywordDialogValues CKeywordSearchDlg::Values() const { return {Std(keywordEdit->text()), noCase->isChecked()}; }

void CKeywordSearchDlg::accept() {
    if (AcceptKeywordDialog(m_prompt, m_settings, Values())) QDialog::accept();
}

std::string RunGroupNameDialog(QWidget* parent) {
    QDialog dlg(parent);
    dlg.setWindowTitle(QStringLiteral("New group name"));
    auto* layout = new QVBoxLayout(&dlg);
    auto* edit = new QLineEdit(&dlg);
    layout->addWidget(Label("Insert a new group name:", edit, &dlg));
    layout->addWidget(edit);
    layout->addWidget(OkCancel(&dlg));
    edit->setFocus();
    if (dlg.exec() != QDialog::Accepted) return {};
    return Std(edit->text());
}

void InstallCollectionDialogs(CMainFrame& frame) {
    CCollectionCommands& commands = *frame.CollectionCommands();
    CCollections& collections = *frame.Collections();
    CPorts& ports = frame.Ports();
    // The collection window, when open and active, owns the dialogs; else the frame.
    const auto owner = [&frame]() -> QWidget* {
        QWidget* w = frame.CollectionWindow();
        return w && w->isActiveWindow() ? w : &frame;
    };
    CCollectionCommandHooks& hooks = commands.Hooks();
    hooks.newCollectionDialog = [&, owner](CNewCollectionDialogData& data) {
        CNewCollectionDlg dlg(
            ports.prompt, data, [&commands] { return commands.BrowseNewCollectionDirectory(); }, owner());
        if (dlg.exec() != QDialog::Accepted) return false;
        data = dlg.Result();
        return true;
    };
    hooks.openCollectionDialog = [&, owner](COpenCollectionDialogData& data) {
        COpenCollectionDlg dlg(ports.prompt, data, owner());
        if (dlg.exec() != QDialog::Accepted) return false;
        data.selected = dlg.Selected();
        return true;
    };
    hooks.keywordSearchDialog = [&, owner](CKeywordDialogValues& values) {
        CKeywordSearchDlg dlg(ports.prompt, ports.settings, values, owner());
        if (dlg.exec() != QDialog::Accepted) return false;
        values = dlg.Values();
        return true;
    };
    hooks.deleteFavoritesDialog = [&, owner](CDeleteFavoritesDialogData& data) {
        CDeleteFavoritesDlg dlg(
            ports.prompt, data.locations, [&collections] { return collections.ConfirmDeleteAllFavorites(); }, owner());
        if (dlg.exec() != QDialog::Accepted) return false;
        data.selected = dlg.selected;
        data.deleteAll = dlg.deleteAll;
        return true;
    };
    collections.Hooks().collectionInfoDialog = [&, owner](CCollectionInfoFields& fields) {
        CCollectionInfoDlg dlg(ports.prompt, fields, owner());
        if (dlg.exec() != QDialog::Accepted) return false;
        fields = dlg.Result();
        return true;
    };
}
