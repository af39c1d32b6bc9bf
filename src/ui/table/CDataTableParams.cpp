#include "CDataTableParams.h"

#include "QtConvert.h"
#include "app/Ports.h"
#include "app/SettingsKeys.h"

#include <QApplication>
#include <QFontInfo>

#include <cstdlib>

CDataTableParams::CDataTableParams(const CSettings& settings) { FillDefaults(&settings); }

void CDataTableParams::FillDefaults(const CSettings* settings) {
    const int size = settings ? settings->Get(kTableFontSize) : 0;
    const std::string name = settings ? settings->Get(kTableFontName) : std::string();
    if (!name.empty() && size != 0) {
        defaultCellFont.height = std::abs(size);
        defaultCellFont.weight = settings->Get(kTableFontBold);
        defaultCellFont.italic = settings->Get(kTableFontItalic) & 0xFF;
        defaultCellFont.faceName = name;
    } else {
        // The desktop's own interface font stands for the stock variable-pitch font.
        const QFont gui = QApplication::font();
        const int pixels = QFontInfo(gui).pixelSize();
        if (pixels > 0) {
            defaultCellFont.height = pixels;
            defaultCellFont.weight = gui.weight();
            defaultCellFont.italic = gui.italic() ? 1 : 0;
            defaultCellFont.faceName = FromQ(gui.family());
        } else {
            defaultCellFont.height = 20;
            defaultCellFont.faceName = "Arial";
        }
    }
    defaultCellFont.width = 0;
    defaultHeaderFont = defaultCellFont;
    defaultWidthBasis = defaultCellFont.height;
}

void CDataTableParams::SetColumnWidth(int column, int width) {
    if (column < 0 || column > columnCount) return;
    if (columnWidths.size() < std::size_t(columnCount) + 1) columnWidths.resize(std::size_t(columnCount) + 1, 0);
    columnWidths[std::size_t(column)] = width;
}
