#pragma once

#include "app/CMemorySettings.h"
#include "app/Ports.h"
#include "app/QuietPorts.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Messages and questions on standard error; questions take the answer of --yes / --no.
class CCliPrompt : public CPrompt {
public:
    explicit CCliPrompt(bool yes) : m_yes(yes) {}
    EPromptAnswer Ask(std::string_view text, std::string_view caption, EPromptButtons buttons, EPromptIcon icon,
                      int defaultButton) override;
    int MessageCount() const { return m_count; }

private:
    bool m_yes;
    int m_count = 0;
};

// The label and percentage on one redrawn line when standard error is a terminal; Ctrl+C
// works as Stop.
class CCliProgressHost : public CProgressHost {
public:
    std::unique_ptr<CProgress> OpenProgress() override;
};

class CCliContext {
public:
    CCliContext(std::string home, bool yes);

    // The working directory, created on first use; nullopt after the failure message.
    std::optional<std::filesystem::path> Home();
    CPorts& Ports() { return m_ports; }
    CCliPrompt& Prompt() { return m_prompt; }
    CMemorySettings& Settings() { return m_settings; }
    bool Yes() const { return m_yes; }

private:
    std::string m_homeArg;
    std::optional<std::filesystem::path> m_home;
    bool m_yes;
    CCliPrompt m_prompt;
    CMemorySettings m_settings;
    CCliProgressHost m_progress;
    CNoPickers m_pickers;
    CNoBusy m_busy;
    CPorts m_ports;
};

// A DIR or FILE argument made absolute against the current directory, without a trailing "/".
std::filesystem::path AbsoluteArgument(const std::string& arg);

// Exit codes of every command.
enum : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// Thrown by a command on bad arguments; main prints the usage and exits with 2.
struct CUsageError {
    std::string message;
};

using CliHandler = int (*)(CCliContext& ctx, const std::vector<std::string>& args);

struct CCliCommand {
    const char* name;
    const char* usage; // one or more lines, each without the program name
    CliHandler run;
};

// Each command file registers its commands with a static CCliRegistrar.
class CCliRegistrar {
public:
    CCliRegistrar(const char* name, const char* usage, CliHandler run);
};
const std::vector<CCliCommand>& CliCommands();

// Small helpers for the argument lists of the commands. "--opt VALUE" and "--opt=VALUE" are the
// same; everything after the first "--" is positional, even when it starts with "-".
class CArgs {
public:
    explicit CArgs(const std::vector<std::string>& args);
    // Removes the option and returns VALUE; throws CUsageError when VALUE is missing.
    std::optional<std::string> TakeOption(const std::string& name);
    // Throws CUsageError for "--name=VALUE".
    bool TakeFlag(const std::string& name);
    // The remaining positional arguments; any left "--x" before "--" is a usage error.
    std::vector<std::string> Positionals() const;

private:
    std::vector<std::string> m_args;
    std::vector<std::string> m_afterOptions;
};

// The value of "name=VALUE" in arg, else nullopt.
std::optional<std::string> InlineValue(const std::string& arg, const std::string& name);
