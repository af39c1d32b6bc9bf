#include "CliRun.h"

#include "app/FileAccess.h"

#include <gtest/gtest.h>

namespace {

TEST(CliBasics, HelpAndUsageErrors) {
    CTempHome tmp;
    const CCliResult help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: quillbox-cli"), std::string::npos);
    EXPECT_NE(help.out.find("attributes FILE [--set BYTE]"), std::string::npos);

    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"no-such-command"}, {"--home"}, {"--bogus", "attributes", "x"},
             {"attributes"}, {"attributes", "a", "b"}, {"attributes", "a", "--set"},
             {"attributes", "a", "--set", "300"}, {"attributes", "a", "--set", "x1"}}) {
        const CCliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
        EXPECT_TRUE(r.out.empty());
    }
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

    r = RunCli({"attributes", file.string(), "--set", "32"});
    EXPECT_EQ(r.out, "32\n");
    EXPECT_EQ(RunCli({"attributes", tmp.Work().string()}).out, "16\n");

    r = RunCli({"attributes", (tmp.Work() / "missing").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("missing"), std::string::npos);
}

} // namespace
