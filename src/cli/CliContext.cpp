#include "CliContext.h"

#include "app/StartUp.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ToLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

std::atomic<bool> g_interrupted{false};
extern "C" void OnInterrupt(int) { g_interrupted = true; }

class CCliProgress : public CProgress {
public:
    CCliProgress() : m_tty(::isatty(STDERR_FILENO) == 1) {
        g_interrupted = false;
        struct sigaction sa {};
        sa.sa_handler = OnInterrupt;
        sigemptyset(&sa.sa_mask);
        ::sigaction(SIGINT, &sa, &m_oldInt);
    }
    ~CCliProgress() override {
        ::sigaction(SIGINT, &m_oldInt, nullptr);
        if (m_tty && m_drawn) std::fputs("\r\033[K", stderr);
    }
    void SetRange(double total) override {
        m_range = total < 0 ? 0 : total;
        m_pos = 0;
        Draw();
    }
    void SetPos(double value) override {
        m_pos = value < 0 ? 0 : value;
        m_label.clear();
        Draw();
    }
    void SetPosText(double value, std::string_view text) override {
        m_pos = value < 0 ? 0 : value;
        m_label = std::string(text);
        Draw();
    }
    void SetCreeping(bool on) override { m_creeping = on; }
    bool IsAborted() override { return g_interrupted; }
    void KeepAlive(unsigned, bool) override {}

private:
    void Draw() {
        if (!m_tty) return;
        const double shown = m_range > 0 ? std::min(m_pos, m_range) * 100.0 / m_range : 0;
        std::string label = m_label.empty() ? std::to_string(static_cast<unsigned long>(m_pos)) : m_label;
        std::fprintf(stderr, "\r\033[K%s  %3d%%", label.c_str(), int(shown));
        std::fflush(stderr);
        m_drawn = true;
    }
    bool m_tty;
    bool m_drawn = false;
    bool m_creeping = false;
    double m_range = 100;
    double m_pos = 0;
    std::string m_label;
    struct sigaction m_oldInt {};
};

std::vector<CCliCommand>& Registry() {
    static std::vector<CCliCommand> commands;
    return commands;
}

} // namespace

EPromptAnswer CCliPrompt::Ask(std::string_view text, std::string_view, EPromptButtons buttons, EPromptIcon, int) {
    ++m_count;
    std::fputs(ToLines(text).c_str(), stderr);
    std::fputc('\n', stderr);
    switch (buttons) {
    case EPromptButtons::Ok: return EPromptAnswer::Ok;
    case EPromptButtons::OkCancel: return m_yes ? EPromptAnswer::Ok : EPromptAnswer::Cancel;
    case EPromptButtons::YesNo:
    case EPromptButtons::YesNoCancel: return m_yes ? EPromptAnswer::Yes : EPromptAnswer::No;
    }
    return EPromptAnswer::No;
}

std::unique_ptr<CProgress> CCliProgressHost::OpenProgress() { return std::make_unique<CCliProgress>(); }

CCliContext::CCliContext(std::string home, bool yes)
    : m_homeArg(std::move(home)), m_yes(yes),
      m_prompt(yes), m_ports{m_prompt, m_settings, m_progress, m_pickers, m_busy} {}

std::optional<fs::path> CCliContext::Home() {
    if (m_home) return m_home;
    CStartUpEnvironment env = CStartUpEnvironment::FromProcess();
    if (!m_homeArg.empty()) env.quillboxHome = AbsoluteArgument(m_homeArg).string();
    m_home = ResolveWorkingDirectory(m_prompt, env);
    return m_home;
}

fs::path AbsoluteArgument(const std::string& arg) {
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(arg), ec).lexically_normal();
    std::string s = p.string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return fs::path(s);
}

CCliRegistrar::CCliRegistrar(const char* name, const char* usage, CliHandler run) {
    Registry().push_back({name, usage, run});
}

const std::vector<CCliCommand>& CliCommands() { return Registry(); }

std::optional<std::string> InlineValue(const std::string& arg, const std::string& name) {
    if (arg.size() <= name.size() || arg.compare(0, name.size(), name) != 0 || arg[name.size()] != '=')
        return std::nullopt;
    return arg.substr(name.size() + 1);
}

CArgs::CArgs(const std::vector<std::string>& args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    m_args.assign(args.begin(), end);
    if (end != args.end()) m_afterOptions.assign(end + 1, args.end());
}

std::optional<std::string> CArgs::TakeOption(const std::string& name) {
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        const auto at = m_args.begin() + long(i);
        if (auto value = InlineValue(m_args[i], name)) {
            m_args.erase(at);
            return value;
        }
        if (m_args[i] != name) continue;
        if (i + 1 >= m_args.size()) throw CUsageError{name + " needs a value"};
        std::string value = m_args[i + 1];
        m_args.erase(at, at + 2);
        return value;
    }
    return std::nullopt;
}

bool CArgs::TakeFlag(const std::string& name) {
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (InlineValue(m_args[i], name)) throw CUsageError{name + " takes no value"};
        if (m_args[i] == name) {
            m_args.erase(m_args.begin() + long(i));
            return true;
        }
    }
    return false;
}

std::vector<std::string> CArgs::Positionals() const {
    for (const std::string& a : m_args)
        if (a.size() > 2 && a.rfind("--", 0) == 0) throw CUsageError{"unknown option " + a};
    std::vector<std::string> all = m_args;
    all.insert(all.end(), m_afterOptions.begin(), m_afterOptions.end());
    return all;
}
