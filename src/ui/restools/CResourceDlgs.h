#pragma once

#include "restools/ResourceOptions.h"

#include <QDialog>

class CPickers;
class CPrompt;
class CSettings;
class QCheckBox;
class QLineEdit;

// Dialog 130 "Options of rc-file checking": the groups the RC checks look at, and for the
// identifier search also "All text of RC file".
class CRcOptionsDlg : public QDialog {
    Q_OBJECT
public:
    CRcOptionsDlg(CSettings& settings, bool withAllText, QWidget* parent = nullptr);
    void accept() override;

private:
    CSettings& m_settings;
    bool m_withAllText;
    QCheckBox* m_strings;
    QCheckBox* m_dialogs;
    QCheckBox* m_menus;
    QCheckBox* m_allText;
};

// Dialog 131 "Path of project for searching".
class CProjectSearchDlg : public QDialog {
    Q_OBJECT
public:
    CProjectSearchDlg(CPrompt& prompt, CSettings& settings, CPickers& pickers, CProjectSearchOptions& options,
                      QWidget* parent = nullptr);
    void accept() override;

private:
    void OnBrowse();

    CPrompt& m_prompt;
    CSettings& m_settings;
    CPickers& m_pickers;
    CProjectSearchOptions& m_options;
    QLineEdit* m_path;
    QLineEdit* m_keyword;
    QCheckBox* m_negative;
    QLineEdit* m_extensions;
};

// The resource commands' dialogs as real windows over parent.
class CQtResourceDialogs : public CResourceDialogs {
public:
    CQtResourceDialogs(CPrompt& prompt, CSettings& settings, CPickers& pickers, QWidget* parent)
        : m_prompt(prompt), m_settings(settings), m_pickers(pickers), m_parent(parent) {}
    bool RunRcOptionsDialog(bool withAllText) override;
    bool RunProjectSearchDialog(CProjectSearchOptions& options) override;

private:
    CPrompt& m_prompt;
    CSettings& m_settings;
    CPickers& m_pickers;
    QWidget* m_parent;
};
