#pragma once

#include "textdoc/RtfDocument.h"

#include <string>

// The RTF bytes of doc, in Windows-1252 with \uN for every other character, so that ReadRtf
// gives doc back: each run is its own group carrying its whole format, each paragraph ends
// with \par.
std::string WriteRtf(const CRtfDocument& doc);
