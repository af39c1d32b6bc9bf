#pragma once

#include "filetools/CLauncher.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string>

class CAssociations;
class CMainFrame;
class QWidget;

// The file tools on the frame: fills its seams for "File extension tool..." (also "Check run
// link"), "Replace in collection files...", the two project save-as commands, "Copy All files",
// Run and Print of a collection file, and the "File Info" dialog hooks.
class CFileToolsHost : public QObject {
    Q_OBJECT
public:
    // Call after CMainFrame::AttachCollections and the collection window's host.
    static CFileToolsHost* Install(CMainFrame& frame);
    ~CFileToolsHost() override;

    void OnExtensionTool();
    void OnReplaceInFiles();
    void OnSaveProjectAs(bool any);
    void OnCopyAllFiles();
    bool RenameSelectedFile(std::string_view newName);

private:
    explicit CFileToolsHost(CMainFrame& frame);
    // The collection window when it is the active window, else the frame.
    QWidget* DialogOwner() const;
    // The location of the selected row of the open collection window.
    std::optional<std::string> SelectedLocation() const;

    CMainFrame& m_frame;
    CSystemLauncher m_launcher;
    std::unique_ptr<CAssociations> m_associations;
};
