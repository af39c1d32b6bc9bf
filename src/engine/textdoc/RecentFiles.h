#pragma once

#include "app/Ports.h"

#include <array>

// The ten most recently opened text documents, File1 the most recent, in the section the
// framework's recent-file list has always used.
inline constexpr std::array<CStringSetting, 10> kRecentFiles{{
    {"Recent File List", "File1", ""}, {"Recent File List", "File2", ""}, {"Recent File List", "File3", ""},
    {"Recent File List", "File4", ""}, {"Recent File List", "File5", ""}, {"Recent File List", "File6", ""},
    {"Recent File List", "File7", ""}, {"Recent File List", "File8", ""}, {"Recent File List", "File9", ""},
    {"Recent File List", "File10", ""},
}};
