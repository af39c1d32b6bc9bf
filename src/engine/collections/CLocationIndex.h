#pragma once

#include "collections/CCollectionStore.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Finds old records by location for a refresh: the first record whose location equals the
// path without regard to case ('\\' and '/' count as one, so files written on Windows match), a
// byte-equal location winning over one that matches only without regard to case. Built once per
// refresh, so a refresh is linear in the number of files.
//
// One open-addressing table of record numbers, hashed on the folded location, serves both kinds
// of match. It is filled at the first look-up, so a refresh that never needs it (an unchanged
// tree) never pays for it. It points into the records, which must stay alive (and unchanged)
// while it is used. Not thread-safe, although its look-ups are const.
class CLocationIndex {
public:
    struct CHit {
        std::size_t index;
        bool exact;
    };
    // Records are compared from offset stripPrefix.size() on, and only those starting with it
    // (change-path mode: the parts below the old base directory).
    void Build(const std::vector<CCollectionRecord>& records, std::string_view stripPrefix = {});
    std::optional<CHit> Find(std::string_view pathBelowBase) const;
    // The same answer, trying record expected first: a walk of an unchanged tree meets the files
    // in record order, and then no hashing is needed.
    std::optional<CHit> Find(std::string_view pathBelowBase, std::size_t expected) const;

private:
    struct CSlot {
        std::uint32_t hash;
        std::uint32_t record; // record number + 1; 0 marks an empty slot
    };

    std::string_view Key(std::size_t record) const;
    void Fill() const;

    const CCollectionRecord* m_records = nullptr;
    std::size_t m_count = 0;
    std::string m_prefix;
    std::size_t m_strip = 0;
    mutable bool m_filled = false;
    mutable std::vector<CSlot> m_slots; // a power of two, at most half full
    // Records that are the first with their byte-equal key (and inside the strip prefix).
    mutable std::vector<bool> m_firstOfKey;
};
