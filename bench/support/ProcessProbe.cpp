#include "support/ProcessProbe.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <time.h>
#include <unistd.h>

namespace ProcessProbe {

namespace {

double Ms(const timespec& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_nsec) / 1e6;
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The fields of /proc/<pid>/stat after the command name, which is in brackets and may hold
// blanks; the first one is field 3 (the state).
std::vector<std::string> StatFields(pid_t pid) {
    const std::string stat = ReadAll("/proc/" + std::to_string(pid) + "/stat");
    const size_t end = stat.rfind(')');
    std::vector<std::string> fields;
    if (end == std::string::npos)
        return fields;
    std::istringstream text(stat.substr(end + 1));
    for (std::string field; text >> field;)
        fields.push_back(field);
    return fields;
}

// A line "<key>:  <n> kB" of /proc/<pid>/status, in MiB.
std::optional<double> StatusMiB(pid_t pid, const std::string& key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key + ":", 0) == 0)
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
    }
    return std::nullopt;
}

pid_t ParentOf(pid_t pid) {
    const std::vector<std::string> fields = StatFields(pid);
    return fields.size() > 1 ? std::atoi(fields[1].c_str()) : 0;
}

} // namespace

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return Ms(now);
}

std::optional<double> CpuMs(pid_t pid) {
    clockid_t clock{};
    timespec used{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &used) != 0)
        return std::nullopt;
    return Ms(used);
}

std::optional<double> StatCpuMs(pid_t pid) {
    const std::vector<std::string> fields = StatFields(pid);
    if (fields.size() < 13)
        return std::nullopt;
    // utime and stime are fields 14 and 15.
    const unsigned long long ticks = std::stoull(fields[11]) + std::stoull(fields[12]);
    return static_cast<double>(ticks) * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::optional<double> ResidentMiB(pid_t pid) {
    return StatusMiB(pid, "VmRSS");
}

std::optional<double> PeakResidentMiB(pid_t pid) {
    return StatusMiB(pid, "VmHWM");
}

std::string CommandName(pid_t pid) {
    std::string name = ReadAll("/proc/" + std::to_string(pid) + "/comm");
    if (!name.empty() && name.back() == '\n')
        name.pop_back();
    return name;
}

std::vector<pid_t> Children(pid_t pid) {
    // /proc/<pid>/task/*/children is not built into every kernel: look for the parent instead.
    std::vector<pid_t> children;
    DIR* dir = opendir("/proc");
    if (dir == nullptr)
        return children;
    while (const dirent* entry = readdir(dir)) {
        const pid_t candidate = std::atoi(entry->d_name);
        if (candidate > 0 && ParentOf(candidate) == pid)
            children.push_back(candidate);
    }
    closedir(dir);
    return children;
}

} // namespace ProcessProbe
