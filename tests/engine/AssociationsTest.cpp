#include "filetools/CAssociationWriter.h"
#include "filetools/CAssociations.h"
#include "filetools/CExtensionTool.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace {

class CRecordingLauncher : public CLauncher {
public:
    bool Start(const std::vector<std::string>& argv) override {
        started.push_back(argv);
        return true;
    }
    // update-mime-database really runs: the look-ups read what it compiles.
    int Run(const std::vector<std::string>& argv) override {
        ran.push_back(argv);
        return real.Run(argv);
    }
    std::string FindProgram(std::string_view name) override {
        return programs.count(std::string(name)) ? "/usr/bin/" + std::string(name) : std::string();
    }
    std::set<std::string> programs{"update-mime-database"};
    std::vector<std::vector<std::string>> started, ran;
    CSystemLauncher real;
};

class AssociationsTest : public ::testing::Test {
protected:
    AssociationsTest() {
        // A stand-in for the system's folders, so nothing depends on (or touches) the real ones.
        tmp.Write("sys/share/mime/globs2",
                  "# comment\n50:text/plain:*.txt\n40:application/x-log:*.log\n60:application/x-log2:*.log\n");
        tmp.Write("sys/share/applications/defaults.list",
                  "[Default Applications]\ntext/plain=missing.desktop;sysedit.desktop\n");
        tmp.Write("sys/share/applications/sysedit.desktop",
                  "[Desktop Entry]\nType=Application\nExec=sysedit --new %U\n");
        paths.dataHome = tmp.Root() / "user" / ".local" / "share";
        paths.configHome = tmp.Root() / "user" / ".config";
        paths.dataDirs = {tmp.Root() / "sys" / "share"};
        paths.configDirs = {tmp.Root() / "sys" / "etc"};
        program = tmp.Write("work/My Tools/ed", "#!/bin/sh\n");
    }
    CTempHome tmp;
    CTestPorts t;
    CRecordingLauncher launcher;
    CXdgPaths paths;
    fs::path program;
};

TEST_F(AssociationsTest, NewLinkForAbcWritesTheUserLayoutAndRemoveTakesItBack) {
    tmp.Write("user/.config/mimeapps.list", "[Default Applications]\nimage/png=viewer.desktop\n");
    CAssociations assoc(t.ports, launcher, paths);
    t.pickers.answers.push_back(program.string());
    ASSERT_TRUE(assoc.Writer().CreateAssociation(".abc"));
    EXPECT_EQ(t.pickers.titles.back(), "Open with...");

    EXPECT_EQ(assoc.MimeTypeOf(".ABC"), "application/x-abc_auto_file");
    const std::string package = ReadFileBytes(assoc.Writer().PackageFile(".abc"));
    EXPECT_NE(package.find("<comment>ABC File</comment>"), std::string::npos);
    const std::string quoted = "\"" + program.string() + "\"";
    EXPECT_NE(ReadFileBytes(assoc.Writer().DesktopFile(".abc")).find("\nExec=" + quoted + " %f\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(assoc.Writer().MimeAppsFile()),
              "[Default Applications]\nimage/png=viewer.desktop\napplication/x-abc_auto_file=abc_auto_file.desktop;\n"
              "\n[Added Associations]\napplication/x-abc_auto_file=abc_auto_file.desktop;\n");
    ASSERT_EQ(launcher.ran.size(), 1u);
    EXPECT_EQ(launcher.ran[0], (std::vector<std::string>{"update-mime-database", (paths.dataHome / "mime").string()}));
    EXPECT_EQ(assoc.GetAssociationInfo(".abc"), "Assotiated program: " + quoted + " \r\n");

    t.prompt.AnswerYes();
    ASSERT_TRUE(assoc.Writer().RemoveAssociation(".abc"));
    EXPECT_EQ(t.prompt.Shown().back().text, "This extention link will remove.\r\n\r\nAre you sure?");
    EXPECT_FALSE(fs::exists(assoc.Writer().PackageFile(".abc")));
    EXPECT_FALSE(fs::exists(assoc.Writer().DesktopFile(".abc")));
    EXPECT_EQ(ReadFileBytes(assoc.Writer().MimeAppsFile()),
              "[Default Applications]\nimage/png=viewer.desktop\n\n[Added Associations]\n");
    EXPECT_EQ(assoc.GetAssociationInfo(".abc"), "");
    EXPECT_TRUE(fs::exists(tmp.Root() / "sys" / "share" / "mime" / "globs2"));
}

TEST_F(AssociationsTest, ExistingTypeGetsANewDefaultAndRemoveAsksFirst) {
    CAssociations assoc(t.ports, launcher, paths);
    EXPECT_EQ(assoc.MimeTypeOf(".log"), "application/x-log2"); // the heavier glob wins

    t.pickers.answers.push_back(program.string());
    ASSERT_TRUE(assoc.Writer().CreateAssociation(".txt"));
    EXPECT_FALSE(fs::exists(assoc.Writer().PackageFile(".txt"))); // the type existed already
    EXPECT_NE(assoc.GetAssociationInfo(".txt").find(program.string()), std::string::npos);

    t.prompt.AnswerNo();
    EXPECT_FALSE(assoc.Writer().RemoveAssociation(".txt"));
    EXPECT_TRUE(fs::exists(assoc.Writer().DesktopFile(".txt")));
    t.prompt.AnswerYes();
    EXPECT_TRUE(assoc.Writer().RemoveAssociation(".txt"));
    EXPECT_EQ(assoc.GetAssociationInfo(".txt"), "Assotiated program: sysedit --new \r\n"); // the system's stays
}

TEST_F(AssociationsTest, RemoveRefusals) {
    CAssociations assoc(t.ports, launcher, paths);
    EXPECT_FALSE(assoc.Writer().RemoveAssociation(".txt")); // only the system knows it
    EXPECT_EQ(t.prompt.LastText(), "Can not to remove system extention linkes.");
    EXPECT_EQ(t.prompt.Shown().back().caption, "Delete extention linkes.");
    EXPECT_FALSE(fs::exists(paths.configHome / "mimeapps.list"));
}

TEST_F(AssociationsTest, ProtectedExtensionsAndBadNames) {
    CAssociations assoc(t.ports, launcher, paths);
    EXPECT_EQ(assoc.GetAssociationInfo(".bat"), "MS DOS batch file");
    EXPECT_EQ(assoc.GetAssociationInfo(".com"), "MS DOS application");
    EXPECT_EQ(assoc.GetAssociationInfo(".exe"), "MS Windows application");
    EXPECT_FALSE(CAssociations::IsProtected(".EXE"));
    for (const char* ext : {".exe", ".a/b", ".x y", "abc", "."}) {
        SCOPED_TRACE(ext);
        t.pickers.answers.push_back(program.string());
        EXPECT_FALSE(assoc.Writer().CreateAssociation(ext));
        EXPECT_EQ(t.prompt.LastText(), "Can not associating this file type to program.");
    }
    EXPECT_FALSE(fs::exists(paths.dataHome / "applications"));
}

TEST_F(AssociationsTest, ExtensionToolRules) {
    const struct {
        const char *typed, *ext;
    } cases[] = {{"  .log more words", ".log"}, {".txt", ".txt"}, {"  ", ""}, {"a.", ""}, {"tar.gz", ".tar.gz"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(CExtensionTool::CleanExtension(c.typed), c.ext);
    }
    // The box starts with the extension of the selected row's file.
    const struct {
        std::optional<std::string> location;
        const char* text;
    } starts[] = {{std::nullopt, ""},
                  {"/d/notes.txt", ".txt"},
                  {"/d/a.tar.gz", ".gz"},
                  {"/d/v1.2/readme", ""},
                  {"/d/.profile", ".profile"}};
    for (const auto& c : starts) {
        SCOPED_TRACE(c.location.value_or("(no row)"));
        EXPECT_EQ(CExtensionTool::StartText(c.location), c.text);
    }
    CAssociations assoc(t.ports, launcher, paths);
    CExtensionTool tool(assoc, t.prompt);
    tool.Open("");
    tool.SetText("txt");
    t.prompt.AnswerNo(); // "Are you sure it's will be right to change association?"
    tool.NewLink();
    EXPECT_TRUE(t.pickers.titles.empty());
    tool.SetText("zzz");
    tool.NewLink(); // picker cancelled
    EXPECT_EQ(t.prompt.LastText(), "Can not to establish a new link.");
}

TEST_F(AssociationsTest, RunAndPrint) {
    CAssociations assoc(t.ports, launcher, paths);
    const fs::path txt = tmp.Write("work/a b.txt", "x");
    const fs::path odd = tmp.Write("work/data.odd", "x");

    assoc.OnRunFile(txt); // no xdg-open: the application's own command
    launcher.programs.insert("xdg-open");
    assoc.OnRunFile(txt);
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(launcher.started[0], (std::vector<std::string>{"sysedit", "--new", txt.string()}));
    EXPECT_EQ(launcher.started[1], (std::vector<std::string>{"xdg-open", txt.string()}));

    assoc.OnPrintFile(txt);
    EXPECT_EQ(t.prompt.LastText(), "Can not find external application for print this file.");
    launcher.programs.insert("lp");
    assoc.OnPrintFile(txt);
    EXPECT_EQ(launcher.started.back(), (std::vector<std::string>{"lp", txt.string()}));

    assoc.OnRunFile(tmp.Work() / "gone.txt");
    EXPECT_EQ(t.prompt.LastText(), "Can not find this file.");
    assoc.OnRunFile(tmp.Work() / "nowhere" / "gone.txt");
    EXPECT_EQ(t.prompt.LastText(), "Can not find path of this file.");

    const std::size_t before = launcher.started.size();
    t.prompt.Answer(EPromptAnswer::Cancel);
    assoc.OnRunFile(odd);
    EXPECT_EQ(t.prompt.LastText(), "Can not find external editor for this file.\r\n\r\nWhat do you like to find a "
                                   "programm\r\nyou want to use to open \".odd\" files type?");
    EXPECT_EQ(launcher.started.size(), before);

    t.prompt.AnswerYes();
    t.pickers.answers.push_back(program.string());
    assoc.OnRunFile(odd); // Yes: a new link, then the file opens with it
    EXPECT_EQ(launcher.started.back(), (std::vector<std::string>{"xdg-open", odd.string()}));
    EXPECT_TRUE(t.prompt.AllAnswersUsed());
}

// A program whose path holds a blank and a '%' is linked, and the link starts it.
TEST_F(AssociationsTest, NewLinkStartsAProgramWithABlankAndAPercentInItsPath) {
    const fs::path odd = tmp.Write("work/data.odd", "x");
    const fs::path percent = tmp.Write("work/My Tools/100%/ed", "#!/bin/sh\n");
    CAssociations assoc(t.ports, launcher, paths);
    t.pickers.answers.push_back(percent.string());
    ASSERT_TRUE(assoc.Writer().CreateAssociation(".odd"));
    assoc.OnRunFile(odd); // no xdg-open: the Exec line itself
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0], (std::vector<std::string>{percent.string(), odd.string()}));
}

// The desktop's resolution: case-sensitive globs first, aliases, a default of a parent type
// before an application that merely lists the type, and removed associations passed over.
TEST_F(AssociationsTest, DefaultsFollowParentsAliasesAndRemovals) {
    tmp.Write("sys/share/mime/globs2", "50:text/plain:*.txt\n50:text/x-c++src:*.C:cs\n50:text/x-c++src:*.C\n"
                                       "50:text/x-csrc:*.c:cs\n50:text/x-csrc:*.c\n50:text/x-h:*.h\n");
    tmp.Write("sys/share/mime/subclasses", "text/x-c++src text/x-csrc\ntext/x-csrc text/plain\n");
    tmp.Write("sys/share/mime/aliases", "text/x-c text/x-csrc\n");
    for (const char* app : {"cppedit", "lister", "aliased"})
        tmp.Write(std::string("sys/share/applications/") + app + ".desktop",
                  std::string("[Desktop Entry]\nExec=") + app + " %f\n");
    const struct {
        const char* name;
        const char* userList; // the user's mimeapps.list
        const char* cache;    // the system's mimeinfo.cache
        const char* ext;
        const char* program; // "" for none
    } cases[] = {
        {"parent's default", "", "", ".c", "sysedit --new "},
        {"a text type without a listed parent", "", "", ".h", "sysedit --new "},
        {"case decides", "[Default Applications]\ntext/x-c++src=cppedit.desktop\n", "", ".c", "sysedit --new "},
        {"alias as key", "[Default Applications]\ntext/x-c=aliased.desktop\n", "", ".c", "aliased "},
        {"parent's default before own listing", "", "[MIME Cache]\ntext/x-csrc=lister.desktop;\n", ".c",
         "sysedit --new "},
        {"removed default", "[Removed Associations]\ntext/plain=sysedit.desktop;\n", "", ".txt", ""},
        {"removed, the next one counts",
         "[Removed Associations]\ntext/plain=sysedit.desktop;\n[Added Associations]\ntext/plain=lister.desktop;\n", "",
         ".c", "lister "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tmp.Write("user/.config/mimeapps.list", c.userList);
        tmp.Write("sys/share/applications/mimeinfo.cache", c.cache);
        CAssociations assoc(t.ports, launcher, paths);
        const std::string info = assoc.GetAssociationInfo(c.ext);
        EXPECT_EQ(info, *c.program ? "Assotiated program: " + std::string(c.program) + "\r\n" : std::string());
    }
}

// Case-sensitive globs, aliases and parents are the defaults test's; these are the list rules.
TEST(MimeDatabase, UserListsOverrideLongestGlobWinsOlderListsCount) {
    CTempHome tmp;
    tmp.Write("sys/mime/globs2", "50:text/x-log:*.log\n50:image/gif:*.gif\n50:application/gzip:*.gz\n"
                                 "50:application/x-compressed-tar:*.tar.gz\n40:text/x-readme:readme*\n");
    tmp.Write("user/mime/globs2", "50:text/x-log:__NOGLOBS__\n40:text/x-mylog:*.log\n");
    tmp.Write("old/mime/globs", "text/x-older:*.old\n");
    const CMimeDatabase mime({tmp.Root() / "user" / "mime", tmp.Root() / "sys" / "mime", tmp.Root() / "old" / "mime"});
    const struct {
        const char *name, *type;
    } names[] = {{".GIF", "image/gif"},          {".log", "text/x-mylog"}, {"x.tar.gz", "application/x-compressed-tar"},
                 {"README.md", "text/x-readme"}, {".OLD", "text/x-older"}, {".cc", ""}};
    for (const auto& c : names) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(mime.TypeOfName(c.name), c.type);
    }
}

TEST_F(AssociationsTest, ExecLinesSplitIntoArguments) {
    const struct {
        const char* exec;
        std::vector<std::string> argv;
    } cases[] = {
        {"ed %f", {"ed", "/t/a b"}},
        {"\"/opt/My Ed/ed\" --x %U", {"/opt/My Ed/ed", "--x", "/t/a b"}},
        {"ed", {"ed", "/t/a b"}},
        {"ed --file=%f %i %c \"\"", {"ed", "--file=/t/a b", ""}},
        {"ed 100%% \"a\\\"b\"", {"ed", "100%", "a\"b", "/t/a b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exec);
        EXPECT_EQ(CAssociations::ExpandExec(c.exec, "/t/a b"), c.argv);
    }
}

} // namespace
