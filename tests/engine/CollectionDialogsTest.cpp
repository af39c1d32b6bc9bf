#include "collections/CollectionDialogs.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

namespace {

TEST(CollectionDialogsTest, NewCollectionDirectoryMustBeAbsolute) {
    const struct {
        const char* text;
        const char* message; // nullptr: accepted
    } cases[] = {
        {"", "Select any base directory for your collection, please."},
        {"C:", "Directory\r\n\"C:\"\r\nis not correct."},
        {"docs/x", "Directory\r\n\"docs/x\"\r\nis not correct."},
        {"/", nullptr},
        {"/home/me/Docs", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CScriptedPrompt prompt;
        EXPECT_EQ(CheckNewCollectionDirectory(prompt, c.text), c.message == nullptr);
        EXPECT_EQ(prompt.LastText(), c.message ? c.message : "");
    }
}

TEST(CollectionDialogsTest, TypedNameRefusesEachForbiddenCharacter) {
    for (const char c : std::string(" \t\\:!.*?#\r\n")) {
        SCOPED_TRACE(int(c));
        CScriptedPrompt prompt;
        EXPECT_FALSE(CheckTypedCollectionName(prompt, std::string("ab") + c));
        EXPECT_EQ(prompt.LastText(), "It's not allowed symbol.");
    }
    CScriptedPrompt prompt;
    EXPECT_TRUE(CheckTypedCollectionName(prompt, "My_Docs-2"));
    EXPECT_TRUE(prompt.Texts().empty());
}

TEST(CollectionDialogsTest, InfoOkChecksNameLengthAndHeaderSafety) {
    const std::string name256(256, 'n');
    const struct {
        const char* label;
        std::string name, description, extensions;
        const char* message;
    } cases[] = {
        {"empty name", "", "d", "*.*", "Please, insert a real collection name."},
        {"256 characters", name256, "", "txt", nullptr},
        {"257 characters", name256 + "n", "", "txt", "Please, insert a real collection name."},
        {"dot in name", "a.b", "", "txt", "Please, insert a real collection name."},
        {"hash in description", "a", "x # y", "txt", "It's not allowed symbol."},
        {"hash in extensions", "a", "", "txt#", "It's not allowed symbol."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CScriptedPrompt prompt;
        EXPECT_EQ(CheckCollectionInfo(prompt, c.name, c.description, c.extensions), c.message == nullptr);
        EXPECT_EQ(prompt.LastText(), c.message ? c.message : "");
    }
}

TEST(CollectionDialogsTest, SummaryAndCatalogueTexts) {
    EXPECT_EQ(CollectionInfoSummary("Docs", "/home/me/Docs", "/q/Collection/homemeDocs.inf"),
              "Name:\tDocs\r\nDir.:\t/home/me/Docs\r\nFile:\thomemeDocs.inf");
    EXPECT_EQ(CatalogueEntryText("/d", "about"), "/d\r\nabout");
    EXPECT_EQ(CatalogueEntryText("", "about"), "It's a favorite collection.\r\nabout");
    // Two collections of one name: the first one in the catalogue wins.
    EXPECT_EQ(FindCatalogueEntryByName({"a", "Same", "Same"}, "Same"), 1);
    EXPECT_EQ(FindCatalogueEntryByName({"a", "Same"}, "same"), -1);
    CScriptedPrompt prompt;
    EXPECT_FALSE(CheckOpenSelection(prompt, -1));
    EXPECT_EQ(prompt.LastText(), "Select any collection, please.");
}

} // namespace
