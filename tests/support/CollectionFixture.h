#pragma once

#include "TestPorts.h"
#include "app/CFileWriter.h"
#include "collections/CCollections.h"

#include <gtest/gtest.h>

#include <array>

// Location, description and groups of each record, for comparing whole lists.
inline std::vector<std::array<std::string, 3>> Fields(const std::vector<CCollectionRecord>& records) {
    std::vector<std::array<std::string, 3>> out;
    for (const auto& r : records) out.push_back({r.location, r.description, r.groups});
    return out;
}

// A temporary home with one CCollections on it, for the tests that scan folders into collections.
class CollectionFixture : public ::testing::Test {
protected:
    void TearDown() override { SetWriteFailureForTest(std::nullopt); }
    // Makes dir the current collection's folder and refreshes it.
    bool Scan(const std::filesystem::path& dir, const CRefreshOptions& options, std::string_view ext = "txt") {
        t.settings.WriteString("Property", "mainDir", dir.string());
        t.settings.WriteString("Property", "mainDirExt", ext);
        return coll.RefreshCollectionWithUI(options);
    }
    std::filesystem::path File(const std::filesystem::path& dir) const {
        return coll.Store().GetCollectionFilePath(dir.string());
    }
    // The index of the record whose file is called name.
    std::size_t Row(const std::string& name) const {
        const auto& r = coll.Store().Records();
        for (std::size_t i = 0; i < r.size(); ++i)
            if (std::filesystem::path(r[i].location).filename() == name) return i;
        ADD_FAILURE() << "no record " << name;
        return 0;
    }

    CTempHome tmp;
    CTestPorts t;
    CCollections coll{t.ports, tmp.Home()};
};
