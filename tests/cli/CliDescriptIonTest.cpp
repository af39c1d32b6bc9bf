#include "CliRun.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(CliDescriptIon, ImportAsksOnceAndExportKeepsForeignEntries) {
    CTempHome tmp;
    tmp.Write("work/docs/a.txt", "a");
    tmp.Write("work/docs/b b.txt", "b");
    const fs::path ion =
        tmp.Write("work/docs/descript.ion", "a.txt from fm\r\n\"b b.txt\" second\r\nx.doc foreign\r\n");
    const std::string dir = (tmp.Work() / "docs").string();
    EXPECT_EQ(RunCli({"import-descript", dir}).exitCode, 1) << "no collection yet";
    ASSERT_EQ(RunCli({"refresh", dir, "--ext", "txt"}).exitCode, 0);
    ASSERT_EQ(RunCli({"describe", dir, dir + "/a.txt", "ours"}).exitCode, 0);

    CCliResult r = RunCli({"import-descript", dir});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1\n");
    EXPECT_NE(r.err.find("1 file(s) of the collection already have a different description.\n\n"
                         "Replace them with the descriptions from descript.ion?"),
              std::string::npos)
        << r.err;
    r = RunCli({"list", dir});
    EXPECT_NE(r.out.find(dir + "/a.txt\tours\t\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(dir + "/b b.txt\tsecond\t\n"), std::string::npos) << r.out;

    r = RunCli({"export-descript", dir});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2\n");
    EXPECT_EQ(ReadFileBytes(ion), "a.txt ours\r\n\"b b.txt\" second\r\nx.doc foreign\r\n");
}

} // namespace
