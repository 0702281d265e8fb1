// A stand-in for MPlayer's idle slave mode, for tests. It ignores its arguments (and records
// them), reads CR-terminated commands from standard input, records each with the CLOCK_MONOTONIC
// millisecond it arrived, and answers from a script.
//
// RAVOLO_FAKE_RECORD: file that receives one line per argument and per command:
//     <kind>\t<ms>\t<bytes>      kind "pid" (its own, first), "arg", "fd" (inherited beyond
//                                0..2), "cmd", or "out" (the byte count once a flood is out);
//                                bytes below 0x20, 0x5C and 0x7F as \xHH
// RAVOLO_FAKE_SCRIPT: script text, one directive per line; \r \n \0 \\ are escapes in texts:
//     banner <text>                       printed at the start instead of the default banner
//     on <prefix> reply <text>            a command starting with prefix: print text and LF
//     on <prefix> after <ms> reply <text> the same, ms later
//     on <prefix> exit <code>             a command starting with prefix: exit at once
//     flood <bytes>                       after the banner: that many bytes of junk (overlong
//                                         lines, zero and binary bytes), then an "out" record
//     mode silent|busy|flood|stream|ignore-quit|ignore-term|exit-at-once
//                                         flood: junk lines for ever; stream: bytes for ever
//                                         without a line feed
// "quit" ends the program unless the mode is ignore-quit; so does the end of standard input.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <poll.h>
#include <set>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

struct Rule {
    std::string prefix;
    long afterMs = 0;
    bool exits = false;
    int exitCode = 0;
    std::string reply;
};

struct Pending {
    long dueMs;
    std::string text;
};

struct Script {
    std::vector<std::string> banners;
    std::vector<Rule> rules;
    std::set<std::string> modes;
    long floodBytes = 0;
    bool Has(const char* mode) const { return modes.count(mode) != 0; }
};

long NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'r' ? '\r' : next == 'n' ? '\n' : next == '0' ? '\0' : next;
    }
    return out;
}

std::string EscapeForRecord(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x20 || c == 0x5C || c == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// Splits off the first word of text.
std::string TakeWord(std::string& text) {
    const size_t end = text.find(' ');
    std::string word = text.substr(0, end);
    text = end == std::string::npos ? std::string() : text.substr(end + 1);
    return word;
}

Rule ParseRule(std::string rest) {
    Rule rule;
    rule.prefix = TakeWord(rest);
    std::string action = TakeWord(rest);
    if (action == "after") {
        rule.afterMs = std::atol(TakeWord(rest).c_str());
        action = TakeWord(rest);
    }
    if (action == "exit") {
        rule.exits = true;
        rule.exitCode = std::atoi(rest.c_str());
    } else {
        rule.reply = Unescape(rest) + "\n";
    }
    return rule;
}

Script ParseScript(const char* text) {
    Script script;
    std::string all = text ? text : "";
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos)
            end = all.size();
        std::string line = all.substr(start, end - start);
        start = end + 1;
        const std::string directive = TakeWord(line);
        if (directive == "banner")
            script.banners.push_back(Unescape(line) + "\n");
        else if (directive == "on")
            script.rules.push_back(ParseRule(line));
        else if (directive == "mode")
            script.modes.insert(line);
        else if (directive == "flood")
            script.floodBytes = std::atol(line.c_str());
    }
    if (script.banners.empty())
        script.banners.push_back("FakePlayer in idle slave mode\n");
    return script;
}

class Player {
public:
    explicit Player(Script script) : m_Script(std::move(script)) {
        if (const char* path = std::getenv("RAVOLO_FAKE_RECORD"))
            m_Record = std::fopen(path, "a");
    }

    void Record(const char* kind, const std::string& bytes) {
        if (!m_Record)
            return;
        std::fprintf(m_Record, "%s\t%ld\t%s\n", kind, NowMs(), EscapeForRecord(bytes).c_str());
        std::fflush(m_Record);
    }

    void Say(const std::string& text) {
        if (m_Script.Has("silent"))
            return;
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                std::exit(0);
            done += static_cast<size_t>(n);
        }
    }

    int Run() {
        for (const std::string& banner : m_Script.banners)
            Say(banner);
        Flood(m_Script.floodBytes);
        for (;;) {
            pollfd input{STDIN_FILENO, POLLIN, 0};
            const int ready = poll(&input, 1, PollTimeout());
            if (ready > 0 && !ReadCommands())
                return 0;
            SayDueReplies();
            if (m_Script.Has("busy"))
                Spin(20);
            if (m_Script.Has("flood"))
                Say(Junk());
            if (m_Script.Has("stream"))
                Say(std::string(4096, 'y'));
        }
    }

private:
    int PollTimeout() const {
        if (m_Script.Has("busy") || m_Script.Has("flood") || m_Script.Has("stream"))
            return 0;
        long timeout = -1;
        for (const Pending& pending : m_Pending) {
            const long left = std::max(0L, pending.dueMs - NowMs());
            timeout = timeout < 0 ? left : std::min(timeout, left);
        }
        return static_cast<int>(timeout);
    }

    // False at the end of standard input.
    bool ReadCommands() {
        char chunk[4096];
        const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
        if (n < 0)
            return errno == EINTR;
        if (n == 0)
            return false;
        m_Buffer.append(chunk, static_cast<size_t>(n));
        for (size_t end; (end = m_Buffer.find('\r')) != std::string::npos;) {
            const std::string command = m_Buffer.substr(0, end);
            m_Buffer.erase(0, end + 1);
            Handle(command);
        }
        return true;
    }

    void Handle(const std::string& command) {
        Record("cmd", command);
        if (command == "quit" && !m_Script.Has("ignore-quit")) {
            Say("\nExiting... (Quit)\n");
            std::exit(0);
        }
        for (const Rule& rule : m_Script.rules) {
            if (command.compare(0, rule.prefix.size(), rule.prefix) != 0)
                continue;
            if (rule.exits)
                std::exit(rule.exitCode);
            if (rule.afterMs > 0)
                m_Pending.push_back({NowMs() + rule.afterMs, rule.reply});
            else
                Say(rule.reply);
        }
    }

    void SayDueReplies() {
        const long now = NowMs();
        for (auto it = m_Pending.begin(); it != m_Pending.end();) {
            if (it->dueMs <= now) {
                Say(it->text);
                it = m_Pending.erase(it);
            } else {
                ++it;
            }
        }
    }

    static void Spin(long ms) {
        const long until = NowMs() + ms;
        volatile unsigned long sink = 0;
        while (NowMs() < until)
            sink = sink + 1;
    }

    void Flood(long bytes) {
        if (bytes <= 0)
            return;
        const std::string junk = Junk();
        for (long left = bytes; left > 0; left -= static_cast<long>(junk.size())) {
            std::string chunk =
                junk.substr(0, static_cast<size_t>(std::min<long>(left, junk.size())));
            // The last line ends, so the answers after it stand on lines of their own.
            if (left <= static_cast<long>(junk.size()))
                chunk.back() = '\n';
            Say(chunk);
        }
        Record("out", std::to_string(bytes));
    }

    // Output a reader must survive: an overlong line, zero and binary bytes, stray CRs, no
    // answers.
    static std::string Junk() {
        std::string junk(3000, 'x');
        junk += std::string("\0\0junk\r\r", 8);
        for (int byte = 0x80; byte <= 0xFF; ++byte)
            junk += static_cast<char>(byte);
        junk += "ANS_TIME_POSITION without an equals sign\n";
        return junk;
    }

    Script m_Script;
    std::FILE* m_Record = nullptr;
    std::string m_Buffer;
    std::vector<Pending> m_Pending;
};

// The descriptors this program was started with, beyond standard input, output and error.
std::vector<std::string> InheritedFds() {
    std::vector<std::string> fds;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return fds;
    while (const dirent* entry = readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (fd > STDERR_FILENO && fd != dirfd(dir))
            fds.push_back(entry->d_name);
    }
    closedir(dir);
    return fds;
}

} // namespace

int main(int argc, char** argv) {
    Script script = ParseScript(std::getenv("RAVOLO_FAKE_SCRIPT"));
    const bool exitAtOnce = script.Has("exit-at-once");
    if (script.Has("ignore-term"))
        std::signal(SIGTERM, SIG_IGN);
    const std::vector<std::string> inherited = InheritedFds();
    Player player(std::move(script));
    player.Record("pid", std::to_string(getpid()));
    for (const std::string& fd : inherited)
        player.Record("fd", fd);
    for (int i = 1; i < argc; ++i)
        player.Record("arg", argv[i]);
    return exitAtOnce ? 3 : player.Run();
}
