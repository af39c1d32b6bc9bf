#pragma once

#include "collections/CCollectionCommands.h"
#include "collections/CCollections.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class CPrompt;
class CSettings;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

// The collection dialogs: thin windows over the engine's rules (collections/CollectionDialogs.h),
// with the texts users know. Each Run function returns true on OK and fills its data.

class CNewCollectionDlg : public QDialog {
    Q_OBJECT
public:
    // browse: the "Browse" button's folder choice, empty when cancelled.
    CNewCollectionDlg(CPrompt& prompt, const CNewCollectionDialogData& data, std::function<std::string()> browse,
                      QWidget* parent = nullptr);
    CNewCollectionDialogData Result() const;
    void accept() override;
    QLineEdit* directoryEdit = nullptr;
    QLineEdit* extensionEdit = nullptr;

private:
    CPrompt& m_prompt;
};

class COpenCollectionDlg : public QDialog {
    Q_OBJECT
public:
    COpenCollectionDlg(CPrompt& prompt, const COpenCollectionDialogData& data, QWidget* parent = nullptr);
    int Selected() const { return m_selected; }
    void accept() override;
    QListWidget* list = nullptr;
    QLabel* info = nullptr;

private:
    void OnSelection();
    CPrompt& m_prompt;
    std::vector<CCatalogueEntry> m_catalogue;
    std::vector<std::string> m_names;
    int m_selected = -1;
};

class CCollectionInfoDlg : public QDialog {
    Q_OBJECT
public:
    CCollectionInfoDlg(CPrompt& prompt, const CCollectionInfoFields& fields, QWidget* parent = nullptr);
    CCollectionInfoFields Result() const;
    void accept() override;
    QLineEdit* nameEdit = nullptr;
    QPlainTextEdit* summary = nullptr;
    QLineEdit* extensionEdit = nullptr;
    QPlainTextEdit* descriptionEdit = nullptr;

private:
    void OnNameEdited(const QString& text);
    void Remember();
    CPrompt& m_prompt;
    CCollectionInfoFields m_fields;
    QString m_lastText;
    int m_lastCursor = 0, m_lastSelStart = -1, m_lastSelLength = 0;
};

class CDeleteFavoritesDlg : public QDialog {
    Q_OBJECT
public:
    // confirmAll: the "Delete all" question; true on Yes.
    CDeleteFavoritesDlg(CPrompt& prompt, const std::vector<std::string>& locations, std::function<bool()> confirmAll,
                        QWidget* parent = nullptr);
    std::vector<std::string> selected;
    bool deleteAll = false;
    QListWidget* list = nullptr;
    void OnDelete();
    void OnDeleteAll();

private:
    CPrompt& m_prompt;
    std::function<bool()> m_confirmAll;
};

class CKeywordSearchDlg : public QDialog {
    Q_OBJECT
public:
    CKeywordSearchDlg(CPrompt& prompt, CSettings& settings, const CKeywordDialogValues& values,
                      QWidget* parent = nullptr);
    CKeywordDialogValues Values() const;
    void accept() override;
    QLineEdit* keywordEdit = nullptr;
    QCheckBox* noCase = nullptr;

private:
    CPrompt& m_prompt;
    CSettings& m_settings;
};

// "New group name": the name typed, empty when cancelled.
std::string RunGroupNameDialog(QWidget* parent);

class CMainFrame;
// Fills the dialog hooks of the collection engine (CCollectionCommands::Hooks() and
// CCollections::Hooks()) with these dialogs, owned by parent.
void InstallCollectionDialogs(CMainFrame& frame);
