#pragma once

#include "app/CMainFrame.h"
#include "collections/CCollectionCommands.h"
#include "textdoc/CTextDocuments.h"
#include "textdoc/CtavView.h"

#include "TestPorts.h"

#include <filesystem>
#include <string_view>

// A main frame with the text documents in a temporary home, for the text view's tests.
struct CTextDocsFixture {
    CTempHome home;
    CTestPorts ports;
    CMainFrame frame{ports.prompt, ports.settings, ports.progress, ports.pickers};
    CTextDocuments* docs = new CTextDocuments(frame);

    CTextDocsFixture() { frame.AttachCollections(home.Home(), home.Root() / "program"); }
    CtavView* Open(const std::filesystem::path& file, bool fromCollection = false) {
        return docs->OpenDocumentFile(file, fromCollection) ? docs->ActiveView() : nullptr;
    }
    // A keyword search in force, as after the collection window's search.
    void SearchFor(std::string_view keywords) {
        CKeywordSearchState& s = frame.CollectionCommands()->Search();
        s.SetKeywords(keywords, true);
        s.SetInForce(true);
    }
};
