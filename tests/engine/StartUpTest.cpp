#include "app/StartUp.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(WorkingDirectory, ProgramDirectoryRule) {
    const struct {
        const char *program, *working;
    } cases[] = {
        {"/tools/proj/Debug", "/tools/proj/Collection"},
        {"/tools/proj/DEBUG", "/tools/proj/Collection"},
        {"/app", "/app/Collection"},
        {"/a/release/bin", "/a/bin/Collection"},
        {"/a/Release/Debug", "/a/Release/Collection"},
        {"/home/debugger/bin", "/home/debugger/bin/Collection"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(WorkingDirectoryFromProgram(c.program), fs::path(c.working));
    }
}

TEST(WorkingDirectory, HomeVariableWinsAndIsCreated) {
    CTempHome tmp;
    CScriptedPrompt prompt;
    CStartUpEnvironment env{(tmp.Work() / "qb home").string(), tmp.Work() / "prog", "", ""};
    EXPECT_EQ(ResolveWorkingDirectory(prompt, env), tmp.Work() / "qb home");
    EXPECT_TRUE(fs::is_directory(tmp.Work() / "qb home"));
    EXPECT_FALSE(fs::exists(tmp.Work() / "prog"));
}

TEST(WorkingDirectory, InstalledProgramKeepsCollectionsInTheDataFolder) {
    for (const bool installed : {true, false}) {
        SCOPED_TRACE(installed);
        CTempHome tmp;
        CScriptedPrompt prompt;
        const fs::path prefix = tmp.Work() / "prefix";
        fs::create_directories(prefix / "bin");
        if (installed) fs::create_directories(prefix / "share" / "quillbox");
        CStartUpEnvironment env{"", prefix / "bin", "", (tmp.Work() / "user").string()};
        const fs::path data = tmp.Work() / "user" / ".local" / "share" / "Quillbox" / "Collection";
        EXPECT_EQ(ResolveWorkingDirectory(prompt, env), installed ? data : prefix / "bin" / "Collection");
        EXPECT_EQ(fs::exists(prefix / "bin" / "Collection"), !installed);
    }
}

TEST(WorkingDirectory, UnwritableProgramDirectoryFallsBackToDataFolder) {
    CTempHome tmp;
    CScriptedPrompt prompt;
    const fs::path blocker = tmp.Write("work/not-a-folder", "x");
    CStartUpEnvironment env{"", blocker / "Debug", (tmp.Work() / "data").string(), ""};
    EXPECT_EQ(ResolveWorkingDirectory(prompt, env), tmp.Work() / "data" / "Quillbox" / "Collection");
    EXPECT_TRUE(prompt.Texts().empty());

    env.xdgDataHome = (blocker / "data").string();
    EXPECT_EQ(ResolveWorkingDirectory(prompt, env), std::nullopt);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Can not create directory \"" +
                                                       (blocker / "data/Quillbox/Collection").string() + "\""});
}

TEST(StartUp, FirstRunOpensHelpAndRecordsTheWorkingDirectory) {
    CMemorySettings settings;
    int helps = 0, favorites = 0;
    std::string opened, infoDirDuringHelp = "unset";
    CStartUpHooks hooks{[&] { ++favorites; }, [&](const std::string& f) { opened = f; },
                        [&] {
                            ++helps;
                            infoDirDuringHelp = settings.GetString("Property", "infoDir", "");
                        }};
    EXPECT_TRUE(FinishStartUp(settings, "/w/Collection", "/tmp/x.txt", hooks));
    EXPECT_EQ(infoDirDuringHelp, "");
    EXPECT_EQ(settings.GetString("Property", "infoDir", ""), "/w/Collection/");
    EXPECT_FALSE(FinishStartUp(settings, "/w/Collection", "", hooks));
    EXPECT_EQ(helps, 1);
    EXPECT_EQ(favorites, 2);
    EXPECT_EQ(opened, "/tmp/x.txt");
}

// Until something can open the help, the first run is not used up: a later build that can will
// still show it.
TEST(StartUp, WithoutAHelpHookTheFirstRunStaysPending) {
    CMemorySettings settings;
    EXPECT_TRUE(FinishStartUp(settings, "/w/Collection", "", CStartUpHooks{}));
    EXPECT_TRUE(FinishStartUp(settings, "/w/Collection", "", CStartUpHooks{}));
    EXPECT_FALSE(settings.Has("Property", "infoDir"));
}

TEST(StartUp, HelpDocumentSearchOrder) {
    CTempHome tmp;
    CScriptedPrompt prompt;
    const fs::path prog = tmp.Work() / "prefix" / "bin";
    fs::create_directories(prog);
    EXPECT_FALSE(FindHelpDocument(prompt, tmp.Home(), prog));
    EXPECT_EQ(prompt.LastText(), "Sorry, can not to find \"Help.rtf\" file.");
    const fs::path installed = tmp.Write("work/prefix/share/quillbox/Help.rtf", "{\\rtf1}");
    EXPECT_EQ(FindHelpDocument(prompt, tmp.Home(), prog), installed);
    const fs::path beside = tmp.Write("work/prefix/bin/Help.rtf", "{\\rtf1}");
    EXPECT_EQ(FindHelpDocument(prompt, tmp.Home(), prog), beside);
    const fs::path local = tmp.Write("home/Help.rtf", "{\\rtf1}");
    EXPECT_EQ(FindHelpDocument(prompt, tmp.Home(), prog), local);
}

} // namespace
