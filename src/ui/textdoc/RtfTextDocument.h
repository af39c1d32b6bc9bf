#pragma once

#include "textdoc/RtfDocument.h"

#include <string>
#include <string_view>

class QTextDocument;

// Between the engine's RTF model and a QTextDocument. Indents and spacing become block margins
// at 15 twips to the pixel.
void FillTextDocument(QTextDocument& doc, const CRtfDocument& rtf);
// Every run gets a concrete face and size: where the text has none, the document's default font.
CRtfDocument RtfOfTextDocument(const QTextDocument& doc);

// Replaces doc's text by the RTF in bytes; false (doc untouched) when the bytes are no RTF.
bool LoadRtfInto(QTextDocument& doc, std::string_view bytes);
std::string SaveRtfOf(const QTextDocument& doc);
