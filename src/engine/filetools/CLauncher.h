#pragma once

#include <string>
#include <string_view>
#include <vector>

// Starts other programs, always from an argument list and never through a shell, so no file
// name can turn into a command. Tests replace it with a recorder.
class CLauncher {
public:
    virtual ~CLauncher() = default;
    // Starts argv detached (the program keeps running after ours); false when it could not be
    // started. argv[0] without a '/' is searched in PATH.
    virtual bool Start(const std::vector<std::string>& argv) = 0;
    // Runs argv to its end; its exit status, or -1 when it could not run.
    virtual int Run(const std::vector<std::string>& argv) = 0;
    // The full path of a program in PATH (or name itself when it holds a '/' and is
    // executable); empty when there is none.
    virtual std::string FindProgram(std::string_view name) = 0;
};

class CSystemLauncher : public CLauncher {
public:
    bool Start(const std::vector<std::string>& argv) override;
    int Run(const std::vector<std::string>& argv) override;
    std::string FindProgram(std::string_view name) override;
};
