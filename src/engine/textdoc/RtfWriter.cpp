#include "textdoc/RtfWriter.h"

#include "textdoc/CodePage.h"

#include <algorithm>
#include <cstdio>

namespace {

void Append(std::string& out, const char* word, int value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "\\%s%d", word, value);
    out += buf;
}

void AppendText(std::string& out, std::u16string_view text) {
    for (char16_t c : text) {
        switch (c) {
        case u'\\': out += "\\\\"; continue;
        case u'{': out += "\\{"; continue;
        case u'}': out += "\\}"; continue;
        case u'\t': out += "\\tab "; continue;
        case u'\u2028': out += "\\line "; continue;
        case u'\u00A0': out += "\\~"; continue;
        default: break;
        }
        if (c < 0x20) continue; // the reader drops them too
        if (c < 0x80) {
            out += char(c);
        } else if (const auto b = EncodeWindows1252(c)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\'%02x", unsigned(*b));
            out += buf;
        } else {
            Append(out, "u", c > 0x7FFF ? int(c) - 65536 : int(c));
            out += '?';
        }
    }
}

template <class T> int IndexOf(std::vector<T>& table, const T& value) {
    auto it = std::find(table.begin(), table.end(), value);
    if (it == table.end()) it = table.insert(table.end(), value);
    return int(it - table.begin());
}

} // namespace

std::string WriteRtf(const CRtfDocument& doc) {
    std::vector<std::u16string> faces;
    std::vector<std::uint32_t> colors;
    for (const CRtfParagraph& p : doc.paragraphs)
        for (const CRtfRun& r : p.runs) {
            if (!r.format.face.empty()) IndexOf(faces, r.format.face);
            if (r.format.color) IndexOf(colors, *r.format.color);
        }

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\uc1\r\n";
    if (!faces.empty()) {
        out += "{\\fonttbl";
        for (std::size_t i = 0; i < faces.size(); ++i) {
            out += '{';
            Append(out, "f", int(i));
            out += "\\fnil\\fcharset0 ";
            // A ';' would end the name early.
            std::u16string name = faces[i];
            std::string escaped;
            AppendText(escaped, name);
            for (std::size_t k = 0; (k = escaped.find(';', k)) != std::string::npos;) escaped.replace(k, 1, "\\'3b");
            out += escaped + ";}";
        }
        out += "}\r\n";
    }
    if (!colors.empty()) {
        out += "{\\colortbl ;";
        for (std::uint32_t c : colors) {
            Append(out, "red", int((c >> 16) & 0xFF));
            Append(out, "green", int((c >> 8) & 0xFF));
            Append(out, "blue", int(c & 0xFF));
            out += ';';
        }
        out += "}\r\n";
    }
    for (const CRtfParagraph& p : doc.paragraphs) {
        out += "\\pard";
        switch (p.align) {
        case ERtfAlign::Left: out += "\\ql"; break;
        case ERtfAlign::Center: out += "\\qc"; break;
        case ERtfAlign::Right: out += "\\qr"; break;
        case ERtfAlign::Justify: out += "\\qj"; break;
        }
        if (p.leftIndent) Append(out, "li", p.leftIndent);
        if (p.rightIndent) Append(out, "ri", p.rightIndent);
        if (p.firstIndent) Append(out, "fi", p.firstIndent);
        if (p.spaceBefore) Append(out, "sb", p.spaceBefore);
        if (p.spaceAfter) Append(out, "sa", p.spaceAfter);
        for (const CRtfRun& r : p.runs) {
            const CRtfCharFormat& f = r.format;
            out += '{';
            if (!f.face.empty()) Append(out, "f", IndexOf(faces, f.face));
            Append(out, "fs", f.halfPoints);
            if (f.bold) out += "\\b";
            if (f.italic) out += "\\i";
            if (f.underline) out += "\\ul";
            if (f.color) Append(out, "cf", IndexOf(colors, *f.color) + 1);
            out += ' ';
            AppendText(out, r.text);
            out += '}';
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}
