// Every write path of the program against the failures a disk and other programs bring: the old
// content survives, nothing temporary stays behind, the user is told, and the next write works.
#include "app/CFileWriter.h"
#include "app/FileAccess.h"
#include "collections/CCollectionStore.h"
#include "collections/CCollections.h"
#include "filetools/CCopyAllFiles.h"
#include "filetools/CProjectSaveAs.h"
#include "filetools/CReplaceInFiles.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>

namespace fs = std::filesystem;

namespace {

constexpr const char* kOld = "old precious text\r\n";

class CNoWarning : public CReadOnlyWarning {
public:
    CAnswer Ask(std::string_view) override { return {false, false}; }
};

// A write path: Prepare puts the old content in place under dir, names the file the write goes
// to and hands back the write itself, which may be run more than once.
struct CWritePath {
    const char* name;
    std::function<std::function<bool()>(CTestPorts& t, const fs::path& dir, fs::path& target)> prepare;
    std::function<bool(const std::string& content)> isNew;
    std::function<std::string(const fs::path& target)> message;
};

std::string CannotOpen(const fs::path& target) { return "Can not open file for writing:\r\n" + target.string(); }

fs::path Put(const fs::path& path, std::string_view content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

const CWritePath kPaths[] = {
    {"collection file",
     [](CTestPorts& t, const fs::path& dir, fs::path& target) {
         target = Put(dir / "docs.col", std::string("#Docs#/d#old#txt\r\na.txt#") + kOld);
         auto store = std::make_shared<CCollectionStore>(t.prompt, dir);
         store->SetCollectionFilePath(target);
         return std::function<bool()>([store] {
             store->LoadCollection();
             return store->SetDescription("NEW") && store->WriteCollectionFile();
         });
     },
     [](const std::string& c) { return c.find("#NEW#") != std::string::npos; }, CannotOpen},
    {"favorites",
     [](CTestPorts& t, const fs::path& dir, fs::path& target) {
         Put(dir / "docs" / "f.txt", "");
         t.settings.WriteString("Property", "mainDir", (dir / "docs").string());
         t.settings.WriteString("Property", "mainDirExt", "txt");
         auto coll = std::make_shared<CCollections>(t.ports, dir);
         CRefreshOptions quiet;
         quiet.quietCreation = quiet.noQuestion = true;
         EXPECT_TRUE(coll->RefreshCollectionWithUI(quiet));
         target = Put(coll->FavoritesPath(), std::string("/elsewhere/x.txt#") + kOld);
         return std::function<bool()>([coll] { return coll->AddToFavorites(0); });
     },
     [](const std::string& c) { return c.find("f.txt") != std::string::npos; }, CannotOpen},
    {"text save",
     // The text view saves its encoded bytes with this very call.
     [](CTestPorts& t, const fs::path& dir, fs::path& target) {
         target = Put(dir / "notes.txt", kOld);
         return std::function<bool()>([&t, target] { return WriteWholeFile(t.prompt, target, "NEW text\r\n", true); });
     },
     [](const std::string& c) { return c == "NEW text\r\n"; }, CannotOpen},
    {"replace",
     [](CTestPorts& t, const fs::path& dir, fs::path& target) {
         target = Put(dir / "notes.txt", kOld);
         return std::function<bool()>([&t, dir] {
             CNoWarning warning;
             CReplaceScope scope;
             scope.baseDirectory = dir.string();
             CReplaceInFiles replace(t.ports, warning, scope);
             CReplaceInFiles::CTexts texts{"old", "NEW", "", "", "txt"};
             t.prompt.AnswerYes();
             return replace.OnOk(texts) == CReplaceInFiles::EOk::Ran && replace.Failed() == 0;
         });
     },
     [](const std::string& c) { return c == "NEW precious text\r\n"; }, CannotOpen},
    {"copy all",
     // The target folder has the name already, so the copy goes to the second name, over an
     // earlier copy.
     [](CTestPorts& t, const fs::path& dir, fs::path& target) {
         Put(dir / "from" / "a.txt", "NEW copy");
         Put(dir / "to" / "a.txt", "first copy");
         target = Put(dir / "to" / "a1.txt", kOld);
         return std::function<bool()>([&t, dir] {
             CCopyAllFiles copy(t.ports);
             return copy.OnCopyAllFiles({(dir / "from").string(), (dir / "to").string()}) && copy.Copied() == 1;
         });
     },
     [](const std::string& c) { return c == "NEW copy"; },
     [](const fs::path&) { return std::string("Can not copy 1 files."); }},
    {"save-as",
     [](CTestPorts& t, const fs::path& dir, fs::path& target) {
         Put(dir / "Old" / "Old.cpp", "int Old;");
         target = Put(dir / "New" / "New.cpp", kOld);
         return std::function<bool()>([&t, dir] {
             CProjectSaveAs saveAs(t.ports, CProjectSaveAs::EVariant::Vs);
             return saveAs.CopyProject(dir / "Old" / "Old.cpp", dir / "New" / "New.cpp") && saveAs.FilesFailed() == 0;
         });
     },
     [](const std::string& c) { return c == "int New;"; }, CannotOpen},
};

enum class EFault { DiskFull, ReadOnlyFolder, LastStep, RemovedMeanwhile };

struct CFault {
    const char* name;
    EFault fault;
};

const CFault kFaults[] = {
    {"disk full part-way", EFault::DiskFull},
    {"read-only folder, in-place write fails half-way", EFault::ReadOnlyFolder},
    {"rename fails after every byte was written", EFault::LastStep},
    {"file removed between the check and the write", EFault::RemovedMeanwhile},
};

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class WriteFaultsTest : public ::testing::Test {
protected:
    void TearDown() override { SetWriteFailureForTest(std::nullopt); }
    CTempHome tmp;
};

TEST_F(WriteFaultsTest, EveryWritePathSurvivesEveryFault) {
    int run = 0;
    for (const CWritePath& path : kPaths) {
        for (const CFault& fault : kFaults) {
            SCOPED_TRACE(std::string(path.name) + ", " + fault.name);
            CTestPorts t;
            const fs::path dir = tmp.Work() / std::to_string(run++);
            fs::path target;
            const std::function<bool()> write = path.prepare(t, dir, target);
            const std::string old = ReadFileBytes(target);
            const fs::path folder = target.parent_path();
            const std::vector<std::string> before = Entries(folder);

            CWriteFailure failure;
            switch (fault.fault) {
            case EFault::DiskFull:
                failure = {.steps = {EWriteStep::Write, EWriteStep::WriteInPlace}, .afterBytes = 5, .error = ENOSPC};
                break;
            case EFault::ReadOnlyFolder:
                failure = {.steps = {EWriteStep::WriteInPlace}, .afterBytes = 5, .notWritable = {folder}};
                break;
            case EFault::LastStep: failure = {.steps = {EWriteStep::Rename}}; break;
            case EFault::RemovedMeanwhile: failure = {.afterCheck = [target] { fs::remove(target); }}; break;
            }
            SetWriteFailureForTest(failure);
            t.prompt.Clear();
            const bool written = write();
            SetWriteFailureForTest(std::nullopt);

            const std::vector<std::string>& shown = t.prompt.Texts();
            const bool told = std::find(shown.begin(), shown.end(), path.message(target)) != shown.end();
            EXPECT_TRUE(Entries(WriteBackupFolder()).empty()) << "no backup is left in the cache";
            if (fault.fault == EFault::RemovedMeanwhile) {
                // Nothing of the old file is left to keep: the new content arrives whole, or
                // the user hears that it did not.
                EXPECT_EQ(told, !written);
                if (written) EXPECT_TRUE(path.isNew(ReadFileBytes(target)));
                else
                    EXPECT_FALSE(fs::exists(target));
                if (written) {
                    EXPECT_EQ(Entries(folder), before) << "no temporary file is left";
                    continue;
                }
                Put(target, old);
                EXPECT_EQ(Entries(folder), before) << "no temporary file is left";
            } else {
                EXPECT_FALSE(written);
                EXPECT_TRUE(told);
                EXPECT_EQ(ReadFileBytes(target), old);
                EXPECT_EQ(Entries(folder), before) << "no temporary file is left";
            }

            // The program goes on working: the same write succeeds once the disk behaves.
            t.prompt.Clear();
            EXPECT_TRUE(write());
            EXPECT_TRUE(path.isNew(ReadFileBytes(target))) << ReadFileBytes(target);
            EXPECT_EQ(Entries(folder), before);
        }
    }
}

} // namespace
