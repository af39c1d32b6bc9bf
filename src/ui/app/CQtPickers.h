#pragma once

#include "app/Ports.h"

#include <QString>

class QWidget;

// Directory and file choosers on QFileDialog.
class CQtPickers : public CPickers {
public:
    explicit CQtPickers(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    std::string BrowseForDirectory(std::string_view title, const std::filesystem::path& initial) override;
    std::string OpenFile(std::string_view title, std::string_view filter,
                         const std::filesystem::path& initial) override;
    std::string SaveFile(std::string_view title, std::string_view filter,
                         const std::filesystem::path& initial) override;
    // "Text|*.a;*.b|All files|*.*|" becomes Qt's "Text (*.a *.b);;All files (*)".
    static QString ToQtFilter(std::string_view filter);

private:
    QWidget* m_parent;
};
