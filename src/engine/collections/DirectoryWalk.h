#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// The walk every recursive file operation shares: entries in readdir order, "." and ".."
// skipped, a directory walked at once when it is met (depth first, pre-order), symbolic links
// to directories not followed (no loops), links to regular files taken as files. Sockets, FIFOs,
// devices and dangling links are no files to describe or open, and are passed over.

struct CWalkFile {
    std::string_view path; // dir + "/" + name; valid only during the call
    std::string_view dir;
    std::string_view name;
};

struct CWalkCallbacks {
    // Before each directory, the start directory included; false stops the walk. May be empty.
    std::function<bool(const std::string& dir)> enterDirectory;
    // Before each file; false stops the walk. May be empty.
    std::function<bool()> beforeFile;
    // Each file; false stops the walk.
    std::function<bool(const CWalkFile& file)> file;
    // A directory that cannot be listed: true goes on without it, false fails the walk.
    // Empty: skipped silently.
    std::function<bool(const std::string& dir)> unlistable;
};

enum class EWalkResult { Done, Stopped, Failed };

// An empty dir ends the walk at once with Done. A trailing '/' of dir is dropped (except "/").
EWalkResult WalkDirectory(std::string_view dir, const CWalkCallbacks& callbacks);

// Test hook: folders for which isUnlistable answers true cannot be listed (empty: none).
void SetUnlistableForTest(std::function<bool(const std::string& dir)> isUnlistable);
