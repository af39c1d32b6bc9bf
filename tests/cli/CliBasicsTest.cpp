#include "CliRun.h"

#include "QuillboxVersion.h"
#include "app/FileAccess.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(CliBasics, HelpAndUsageErrors) {
    CTempHome tmp;
    const CCliResult help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: quillbox-cli"), std::string::npos);
    EXPECT_NE(help.out.find("attributes FILE [--set BYTE]"), std::string::npos);

    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"no-such-command"},
                                                                  {"--home"},
                                                                  {"--bogus", "attributes", "x"},
                                                                  {"attributes"},
                                                                  {"attributes", "a", "b"},
                                                                  {"attributes", "a", "--set"},
                                                                  {"attributes", "a", "--set", "300"},
                                                                  {"attributes", "a", "--set", "x1"}}) {
        const CCliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CliBasics, OptionFormsEndOfOptionsVersionAndCommandHelp) {
    CTempHome tmp;
    const std::string file = tmp.Write("work/docs/a.txt", "a").string();
    tmp.Write("work/docs/b.doc", "b");
    const std::string dir = (tmp.Work() / "docs").string();
    const std::string listed = file + "\t--draft\t\n";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::optional<std::string> out; // not checked when absent
    } steps[] = {
        {{"refresh", dir, "--ext=txt", "--name=Docs"}, 0, {}},
        {{"describe", dir, file, "--", "--draft"}, 0, ""},
        {{"list", dir}, 0, listed},
        {{"--yes", "--", "list", dir}, 0, listed},
        {{"describe", dir, file, "--draft"}, 2, ""},
        {{"describe", dir, "--", file, "--help"}, 0, ""},
        {{"--home=" + (tmp.Root() / "other").string(), "list", dir}, 1, ""},
        {{"--home=", "list", dir}, 2, ""},
        {{"list", "--favorites=1"}, 2, ""},
        {{"--version"}, 0, "quillbox-cli " QUILLBOX_VERSION "\n"},
        {{"describe", "--help"}, 0, "usage:\n  quillbox-cli [--home DIR] [--yes | --no] describe DIR LOCATION TEXT\n"},
        {{"no-such-command", "--help"}, 2, ""},
    };
    for (const auto& s : steps) {
        std::string line;
        for (const std::string& a : s.args) line += a + ' ';
        SCOPED_TRACE(line);
        const CCliResult r = RunCli(s.args);
        EXPECT_EQ(r.exitCode, s.exitCode) << r.err;
        if (s.out) {
            EXPECT_EQ(r.out, *s.out);
        }
    }
    EXPECT_EQ(RunCli({"list", dir}).out, file + "\t--help\t\n");
}

TEST(CliBasics, AttributesShowAndSet) {
    CTempHome tmp;
    const auto file = tmp.Write("work/notes.txt", "x");
    CCliResult r = RunCli({"attributes", file.string()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "32\n");

    r = RunCli({"attributes", file.string(), "--set", "33"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "33\n");
    EXPECT_EQ(*GetFileAttributeByte(file), kAttrReadOnly | kAttrArchive);

    EXPECT_EQ(RunCli({"attributes", tmp.Work().string()}).out, "16\n");

    r = RunCli({"attributes", (tmp.Work() / "missing").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("missing"), std::string::npos);
}

} // namespace
