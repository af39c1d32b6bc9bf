#pragma once

#include "TestPorts.h"

#include <string>
#include <vector>

// Runs the built quillbox-cli with args (no shell) and collects what it printed.
struct CCliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};
CCliResult RunCli(const std::vector<std::string>& args, const std::string& input = {});
// The same with every file the program writes limited to maxFileBytes (RLIMIT_FSIZE, SIGXFSZ
// ignored): a write past it fails with EFBIG, as on a full disk, for root as well.
CCliResult RunCliWithFileLimit(const std::vector<std::string>& args, std::size_t maxFileBytes);
