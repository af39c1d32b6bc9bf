#include "CliRun.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fs = std::filesystem;

namespace {

TEST(FileToolsCli, CopyAllFlattensAndRefusesBadDirectories) {
    CTempHome tmp;
    tmp.Write("work/src/a/report.txt", "1");
    tmp.Write("work/src/b/report.txt", "2");
    tmp.Write("work/src/b/pic.gif", std::string(200, 'g'));
    const std::string src = (tmp.Work() / "src").string(), out = (tmp.Work() / "out").string();
    CCliResult r = RunCli({"copy-all", src, out + "/", "--ext", "txt"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "All right! Coping did.\n");
    EXPECT_TRUE(fs::exists(tmp.Work() / "out" / "report.txt"));
    EXPECT_TRUE(fs::exists(tmp.Work() / "out" / "report1.txt"));
    EXPECT_FALSE(fs::exists(tmp.Work() / "out" / "pic.gif"));

    r = RunCli({"copy-all", src, out, "--min-size", "199"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(fs::exists(tmp.Work() / "out" / "pic.gif"));
    EXPECT_FALSE(fs::exists(tmp.Work() / "out" / "report11.txt"));

    r = RunCli({"copy-all", (tmp.Work() / "missing").string(), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Directory\n\"" + (tmp.Work() / "missing").string() + "\"\nis not correct.\n");
    EXPECT_EQ(RunCli({"copy-all", src}).exitCode, 2);
    EXPECT_EQ(RunCli({"copy-all", src, out, "--min-size", "1k"}).exitCode, 2);
}

TEST(FileToolsCli, SaveProjectAs) {
    CTempHome tmp;
    tmp.Write("work/Old/Old.dsp", "Old");
    tmp.Write("work/Old/OldDoc.cpp", "#include \"OldDoc.h\" // OLD_H");
    tmp.Write("work/Old/Old.obj", "obj");
    const std::string oldFile = (tmp.Work() / "Old" / "Old.dsp").string();
    CCliResult r = RunCli({"save-project-as", oldFile, (tmp.Work() / "New" / "new.dsp").string()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "2 files was copied.\n");
    EXPECT_EQ(ReadFileBytes(tmp.Work() / "New" / "newDoc.cpp"), "#include \"NewDoc.h\" // NEW_H");

    r = RunCli({"save-project-as", oldFile, (tmp.Work() / "Any" / "Any.prj").string(), "--any"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadFileBytes(tmp.Work() / "Any" / "Any.obj"), "obj");

    EXPECT_EQ(RunCli({"save-project-as", oldFile, (tmp.Work() / "New" / "new.mak").string()}).exitCode, 1);
    EXPECT_EQ(RunCli({"save-project-as", oldFile}).exitCode, 2);
}

// The association rules and texts are the engine's; here the commands, their answers and --yes.
TEST(FileToolsCli, AssocLinkShowRemoveInTheTemporaryHome) {
    CTempHome tmp; // XDG_DATA_HOME and XDG_CONFIG_HOME point into it
    const fs::path program = tmp.Write("work/bin/myed", "#!/bin/sh\n");
    fs::permissions(program, fs::perms::owner_all);
    EXPECT_EQ(RunCli({"assoc", "show", "qbxtest"}).exitCode, 1);

    CCliResult r = RunCli({"assoc", "link", "qbxtest", program.string()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "A new link was successful established\n");
    r = RunCli({"assoc", "show", ".qbxtest"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Assotiated program: " + program.string() + " \n");

    EXPECT_EQ(RunCli({"assoc", "remove", "qbxtest"}).exitCode, 1); // the question needs --yes
    EXPECT_EQ(RunCli({"assoc", "show", "qbxtest"}).exitCode, 0);
    EXPECT_EQ(RunCli({"--yes", "assoc", "remove", "qbxtest"}).exitCode, 0);
    EXPECT_EQ(RunCli({"assoc", "show", "qbxtest"}).exitCode, 1);

    r = RunCli({"assoc", "remove", ".exe"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Don't allow to remove system extention linkes.\n");
    EXPECT_EQ(RunCli({"assoc", "link", "x"}).exitCode, 2);
    EXPECT_EQ(RunCli({"assoc", "open", "x"}).exitCode, 2);
}

TEST(FileToolsCli, ReplaceNeedsYesAndSkipsReadOnlyFilesWithout) {
    CTempHome tmp;
    const fs::path a = tmp.Write("work/p/a.h", "#include <aaa/bbb.h>\r\n");
    const fs::path b = tmp.Write("work/p/sub/b.h", "<aaa/x.h>");
    fs::permissions(b, fs::perms::owner_read);
    const std::string dir = (tmp.Work() / "p").string();
    const std::vector<std::string> words{"--from",      "<aaa/", "--to",      "\"../aaa/",
                                         "--also-from", ".h>",   "--also-to", ".h\""};
    std::vector<std::string> args{"replace", dir, "--ext", "*.h"};
    args.insert(args.end(), words.begin(), words.end());
    CCliResult r = RunCli(args);
    EXPECT_EQ(r.exitCode, 1); // the continue question answered No
    EXPECT_EQ(ReadFileBytes(a), "#include <aaa/bbb.h>\r\n");

    std::vector<std::string> yes{"--yes"};
    yes.insert(yes.end(), args.begin(), args.end());
    r = RunCli(yes);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("Found 2 files, was opened 2 files\nReplaced 2 words.\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(a), "#include \"../aaa/bbb.h\"\r\n");
    EXPECT_EQ(ReadFileBytes(b), "\"../aaa/x.h\"");

    EXPECT_EQ(RunCli({"replace", dir, "--from", "x"}).exitCode, 2);
    EXPECT_EQ(RunCli({"replace", dir, "--clean", "--from", "x"}).exitCode, 2);
    EXPECT_EQ(RunCli({"replace", "--favorites", dir, "--clean"}).exitCode, 2);
}

TEST(FileToolsCli, ReplaceOverTheFavoritesAndCleaning) {
    CTempHome tmp;
    const fs::path a = tmp.Write("work/a.txt", "old \x01\xe9");
    tmp.Write("home/favorite_collection.inf", "#Favorites#\r\n" + a.string() + "##\r\n");
    CCliResult r =
        RunCli({"--yes", "--home", tmp.Home().string(), "replace", "--favorites", "--from", "old", "--to", "new"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "1 files was found\nin favorites.\n\nDo you want to continue search and replacement?\n"
                     "Found 1 files, was opened 1 files\nReplaced 1 words.\n");
    r = RunCli({"--yes", "--home", tmp.Home().string(), "replace", "--favorites", "--clean", "--ext", "txt"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadFileBytes(a), "new ");
    r = RunCli({"--yes", "replace", (tmp.Work() / "nothing").string(), "--clean"});
    EXPECT_EQ(r.exitCode, 1);
}

} // namespace

namespace {

// A file bigger than the limit the failure runs get, so its rewrite fails half-way.
constexpr std::size_t kFileLimit = 8192;

// A rewrite that fails half-way (the file limit plays a full disk) keeps the old file, says so
// and ends with exit status 1.
TEST(FileToolsCli, FailedRewritesKeepTheOldFileAndFail) {
    CTempHome tmp;
    const std::string longName = "IDD_" + std::string(60, 'X');
    std::string header = "#define " + longName + " 1\r\n";
    for (int i = 0; i < 300; ++i) header += "#define IDA" + std::to_string(i) + " " + std::to_string(i) + "\r\n";
    ASSERT_LT(header.size(), kFileLimit);
    const std::string bigger(kFileLimit * 2, 'n');
    const fs::path res = tmp.Write("work/res/resource.h", header);
    const fs::path text = tmp.Write("work/rep/a.txt", "old");
    const fs::path oldProject = tmp.Write("work/Old/Old.dsp", "Old " + bigger);
    const fs::path target = tmp.Write("work/New/New.dsp", "their own file");
    const struct {
        const char* name;
        std::vector<std::string> args;
        fs::path file;
        std::string content;
        const char* report; // the end of what the tool says
    } cases[] = {
        {"res-correct --write", {"res-correct", res.string(), "--write"}, res, header, ""},
        {"replace",
         {"--yes", "replace", (tmp.Work() / "rep").string(), "--from", "old", "--to", bigger},
         text,
         "old",
         "Found 1 files, was opened 0 files\nReplaced 0 words.\n"},
        {"save-project-as",
         {"save-project-as", oldProject.string(), target.string()},
         target,
         "their own file",
         "0 files was copied.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CCliResult r = RunCliWithFileLimit(c.args, kFileLimit);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(ReadFileBytes(c.file), c.content);
        EXPECT_NE(r.err.find("Can not open file for writing:\n" + c.file.string() + "\n"), std::string::npos) << r.err;
        EXPECT_TRUE(r.err.size() >= std::strlen(c.report) && r.err.ends_with(c.report)) << r.err;
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(c.file.parent_path())) ++entries;
        EXPECT_EQ(entries, 1u) << "no temporary file is left beside it";
    }
}

} // namespace
