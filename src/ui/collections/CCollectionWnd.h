#pragma once

#include "CTipWnd.h"
#include "CUiServices.h"
#include "TableBasics.h"

#include <QMainWindow>
#include <QPoint>
#include <QPointer>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CCollectionCommands;
class CCollections;
class CCollectionStore;
class CDataTable;
class CMainFrame;
class CSettings;
struct CTableNotify;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QToolBar;

// The stored table font, "face;height;italic;weight;charset". The height is written as an
// unsigned 32-bit number and read back with 32-bit wrap-around, so -13 survives the trip.
std::string FormatCollectionFont(const CLogFont& font);
CLogFont ParseCollectionFont(std::string_view text);

// Commands of the collection window's own menus.
enum ECollectionWndCommand : int {
    kIdNewGroup = 10000,
    kIdSetGroupBase = 11000,    // + k: known group k
    kIdDeleteGroupBase = 13000, // + k: the row's group k
    kIdDeleteAllGroups = 14000,
    kIdGroupChooser = 20000,
    kIdChooserOk = 61000,
};

// The collection window: a parentless top-level window (its own task-bar entry) that the frame
// owns. It shows the store's main list or found list in a CDataTable with the columns
// "Location", "Description" and "Group", filters them from three boxes on its toolbar, and
// writes each edit to the collection file at once.
class CCollectionWnd : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kRowsPerFill = 400;
    static constexpr int kChooserThreshold = 10;     // known groups from which the chooser replaces the submenu
    static constexpr int kChooserFocusCheckMs = 300; // the open chooser closes once the focus is elsewhere

    CCollectionWnd(CMainFrame& frame, const CUiServices& services);
    ~CCollectionWnd() override;

    // Fills the table from the store: the row count, the first rows, the caption.
    void ShowCollection();
    // Cells of rows first .. first + 400 (at most) from the records they show.
    void ShowRows(int first);
    void Activate(bool toTable);
    bool IsCollectionWindowActive() const;
    void ShowNotFound(int column);
    void SetCaption(const std::string& caption);

    std::optional<std::size_t> CurrentRow() const;
    std::optional<std::size_t> ContextMenuRow() const { return m_menuRow; }
    bool IsEditing() const;
    // Closed and waiting to be deleted: no longer the frame's collection window.
    bool IsClosed() const { return m_closed; }

    // The group menu of row: appended after the table's own items (with a separator) or alone.
    // Column 0 gets the file context menu instead.
    void AddGroupMenu(QMenu& menu, int row, int column, bool appended);
    void AddFileMenu(QMenu& menu);
    // A command of the window's menus; anything it does not know goes to the frame.
    void OnCommand(int id);
    // The group chooser's result for the remembered row.
    void AddChosenGroups(const std::vector<std::string>& names);

    CDataTable* Table() const { return m_table; }
    QLineEdit* FileBox() const { return m_fileBox; }
    QLineEdit* DescriptionBox() const { return m_descBox; }
    QComboBox* GroupBox() const { return m_groupBox; }
    QWidget* Chooser() const { return m_chooser; }
    const CTipWnd& NotFoundTip() const { return m_tip; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The new group's name; empty when cancelled. Tests answer without a dialog.
    virtual std::string AskGroupName();
    // Shows menu at the cursor; the chosen id or 0.
    virtual int ExecMenu(QMenu& menu);

private:
    CCollections& Collections() const;
    CCollectionCommands& Commands() const;
    CCollectionStore& Store() const;
    CSettings& Settings() const;

    void CreateTable();
    void ApplyStoredSettings();
    void SaveSettings();
    void RestorePlacement();
    void LayoutBoxes();
    void PlaceTable();
    void FillGroupBox();
    void OnNotify(CTableNotify& record);
    void OnTableCommand(int id);
    void RunMenu(QMenu& menu);
    void SetGroupText(int row, const std::optional<std::string>& text, bool refillBox);
    void AddGroup(const std::string& name);
    void OpenChooser();

    // Box searches: the other boxes are reset without searching.
    void SearchFiles(const QString& text);
    void SearchDescription(const QString& text);
    void SearchGroup(int index);

    CMainFrame& m_frame;
    CUiServices m_services;
    QToolBar* m_toolBar = nullptr;
    QWidget* m_client = nullptr;
    CDataTable* m_table = nullptr;
    QLineEdit* m_fileBox = nullptr;
    QLineEdit* m_descBox = nullptr;
    QComboBox* m_groupBox = nullptr;
    int m_boxLeft = 0;
    int m_firstColumn = 0;
    CTipWnd m_tip;
    QPointer<QWidget> m_lastFocus;
    QPointer<QWidget> m_chooser;
    QListWidget* m_chooserList = nullptr;
    std::optional<std::size_t> m_menuRow;
    int m_menuColumn = -1;
    std::vector<std::string> m_rowGroups;
    int m_notifyDepth = 0;
    bool m_refillPending = false;
    bool m_searching = false;
    QPoint m_announcedCell{-1, -1};
    bool m_closed = false;
};
