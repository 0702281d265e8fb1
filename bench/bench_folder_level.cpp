// Reading a folder level: FolderScanner::ScanFolder beside the floor, a bare readdir, stat,
// extension filter and natural sort of the same folder in plain C++, measured in the same run.
// Usage: bench_folder_level [folder to make the test levels in; default the temporary folder]
#include "settings/MediaItem.h"
#include "view/FolderScanner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

const QString kVideo = "avi;mov;mpg;mpeg;wmv;mp4;m4v;flv;ogm;divx";
const QString kAudio = "mp3;aac;ac3;wma;m4a;aif;wav;oga;rm;flac;fla";
constexpr int kResumeEntries = 30; // a full resume list

// ---- the level: media files, some other files, sub-folders and hidden entries

void Touch(const std::string& path) {
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0)
        close(fd);
}

std::vector<std::string> MediaNames(int count) {
    static const char* const kExtensions[] = {"mp4", "AVI", "mkv.mp4", "mp3", "flac", "M4V"};
    std::vector<std::string> names;
    for (int n = 0; n < count; ++n)
        names.push_back("Show " + std::to_string(n % 97) + " Episode " + std::to_string(n) + "." +
                        kExtensions[n % std::size(kExtensions)]);
    return names;
}

void MakeLevel(const std::string& folder, int mediaCount) {
    std::vector<std::string> names = MediaNames(mediaCount);
    for (int n = 0; n < mediaCount / 100; ++n)
        names.push_back("notes " + std::to_string(n) + (n % 2 ? ".txt" : ""));
    for (int n = 0; n < 10; ++n)
        names.push_back(".hidden " + std::to_string(n) + ".mp4");
    std::shuffle(names.begin(), names.end(), std::mt19937(42));
    for (const std::string& name : names)
        Touch(folder + "/" + name);
    for (int n = 0; n < mediaCount / 1000 + 5; ++n)
        mkdir((folder + "/Season " + std::to_string(n)).c_str(), 0755);
}

// ---- the floor

struct FloorEntry {
    std::string key;
    uint64_t size;
};

std::string Lowered(const char* text) {
    std::string lowered(text);
    for (char& c : lowered)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lowered;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i < a.size() && a[i] == '0')
                ++i;
            while (j < b.size() && b[j] == '0')
                ++j;
            const size_t startA = i;
            const size_t startB = j;
            while (i < a.size() && IsDigit(a[i]))
                ++i;
            while (j < b.size() && IsDigit(b[j]))
                ++j;
            if (i - startA != j - startB)
                return i - startA < j - startB;
            if (const int order = a.compare(startA, i - startA, b, startB, j - startB))
                return order < 0;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

size_t FloorScan(const std::string& folder, const std::unordered_set<std::string>& extensions) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return 0;
    std::vector<FloorEntry> folders;
    std::vector<FloorEntry> files;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type == DT_DIR) {
            folders.push_back({Lowered(entry->d_name), 0});
            continue;
        }
        const char* dot = std::strrchr(entry->d_name, '.');
        struct stat status {};
        if (dot == nullptr || !extensions.contains(Lowered(dot + 1)) ||
            fstatat(dirfd(dir), entry->d_name, &status, 0) != 0)
            continue;
        files.push_back({Lowered(entry->d_name), static_cast<uint64_t>(status.st_size)});
    }
    closedir(dir);
    const auto less = [](const FloorEntry& a, const FloorEntry& b) {
        return NaturalLess(a.key, b.key);
    };
    std::stable_sort(folders.begin(), folders.end(), less);
    std::stable_sort(files.begin(), files.end(), less);
    return folders.size() + files.size();
}

// ---- measuring

struct Times {
    double wallMs;
    double cpuMs; // the process's processor time: steadier than wall time on a busy machine
};

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

Times Measure(const std::function<void()>& work) {
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = CpuMilliseconds();
    work();
    const double cpuMs = CpuMilliseconds() - cpuStart;
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart)
                .count(),
            cpuMs};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figure {
    const char* name;
    std::function<void()> work;
    std::vector<double> wallMs = {};
    std::vector<double> cpuMs = {};
};

void MeasureLevel(const QString& base, int mediaCount) {
    QTemporaryDir dir(base + "/ravolo-bench-XXXXXX");
    const QString folder = dir.path();
    const std::string rawFolder = QFile::encodeName(folder).toStdString();
    MakeLevel(rawFolder, mediaCount);

    std::unordered_set<std::string> extensions;
    for (const QString& token :
         FolderScanner::SplitExtensions(kVideo) + FolderScanner::SplitExtensions(kAudio))
        extensions.insert(token.toStdString());

    // A full resume list searched entry by entry, as the resume list does; a few of its
    // entries are files of this level.
    QList<MediaItem> resume;
    for (int n = 0; n < kResumeEntries; ++n)
        resume.append({folder + QStringLiteral("/Show %1 Episode %2.mp4").arg(n % 97).arg(n * 37),
                       File, false, 0, static_cast<uint32_t>(n + 1)});
    const FolderScanner::ResumeLookup lookup = [&resume](const QString& path) {
        for (const MediaItem& entry : resume) {
            if (entry.path == path)
                return entry.positionSec;
        }
        return uint32_t{0};
    };

    size_t floorCount = 0;
    qsizetype scanCount = 0;
    std::vector<Figure> figures = {
        {"floor", [&] { floorCount = FloorScan(rawFolder, extensions); }},
        {"ScanFolder",
         [&] { scanCount = FolderScanner::ScanFolder(folder, kVideo, kAudio, lookup).size(); }},
        {"ScanFolder without resume entries",
         [&] { FolderScanner::ScanFolder(folder, kVideo, kAudio, {}); }},
        // The list-model fill is measured here: scan once before the loop, then add a figure
        // that fills the folder list model from those items.
    };
    const int runs = mediaCount >= 100000 ? 7 : 15;
    for (int run = -1; run < runs; ++run) { // run -1 warms the caches
        for (Figure& figure : figures) {
            const Times times = Measure(figure.work);
            if (run >= 0) {
                figure.wallMs.push_back(times.wallMs);
                figure.cpuMs.push_back(times.cpuMs);
            }
        }
    }
    if (floorCount != static_cast<size_t>(scanCount))
        std::printf("  (the floor found %zu entries, ScanFolder %lld)\n", floorCount,
                    static_cast<long long>(scanCount));
    const double floorWall = Median(figures.front().wallMs);
    const double floorCpu = Median(figures.front().cpuMs);
    for (auto figure = figures.begin() + 1; figure != figures.end(); ++figure) {
        const double wall = Median(figure->wallMs);
        const double cpu = Median(figure->cpuMs);
        std::printf("%s, %d media files: %.1f ms, floor %.1f ms, ratio %.2f"
                    " (processor time %.1f ms, floor %.1f ms, ratio %.2f)\n",
                    figure->name, mediaCount, wall, floorWall, wall / floorWall, cpu, floorCpu,
                    cpu / floorCpu);
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    for (const int mediaCount : {1000, 10000, 100000})
        MeasureLevel(base, mediaCount);
    return 0;
}
