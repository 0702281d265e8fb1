// Reading a folder level: FolderScanner::ScanFolder, and FolderScreen::FillFolderList filling a
// CColorListCtrl laid out as the view lays it out, beside the floor, a bare readdir, stat,
// extension filter and natural sort of the same folder in plain C++, measured in the same run
// at 1,000, 10,000 and 100,000 media files; then how the time grows against n log n.
// Usage: bench_folder_level [folder to make the test levels in (default: the temporary folder)
//                           [media file counts (default: 1000 10000 100000)]]
#include "controls/CColorListCtrl.h"
#include "controls/CImageList.h"
#include "settings/MediaItem.h"
#include "settings/ResumeList.h"
#include "settings/ViewSettings.h"
#include "support/BenchFigures.h"
#include "support/ScriptedPrompter.h"
#include "view/FolderScanner.h"
#include "view/FolderScreen.h"
#include "view/ViewState.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>
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

// ---- the folder screen as the view has it

// A CColorListCtrl in a shown window with the view's columns, row font and icons, under the
// FolderScreen that fills it.
class ShownFolderScreen {
public:
    ShownFolderScreen() {
        m_Settings.m_strExtFilterV = kVideo;
        m_Settings.m_strExtFilterA = kAudio;
        m_Icons.Load(QStringLiteral(":/artwork/icons20.png"), 20);
        QFont rowFont;
        rowFont.setPixelSize(16);
        QFont headerFont;
        headerFont.setPixelSize(12);
        m_List.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_List.SetColumnCount(2);
        m_List.InsertColumn(0, QStringLiteral("File"));
        m_List.InsertColumn(1, QStringLiteral("Size"));
        m_List.SetRowFont(rowFont);
        m_List.SetHeaderFont(headerFont);
        m_List.SetStateImageList(&m_Icons);
        m_View.resize(800, 600);
        m_List.setGeometry(0, 40, 800, 560);
        m_List.SetColumnWidth(0, 620);
        m_List.SetColumnWidth(1, 160);
        m_View.show();
    }

    ResumeList& Resume() { return m_ResumeList; }
    // The folder the next fill reads.
    void SetFolder(const QString& folder) { m_Settings.m_strCurrentFolder = folder; }
    void Fill() { m_Screen.FillFolderList(); }
    // Shows folder, untimed.
    void Show(const QString& folder) {
        SetFolder(folder);
        Fill();
    }
    // Lays the list out and paints it as the event loop would next.
    void Paint() { m_View.repaint(); }
    int RowCount() const { return m_List.RowCount(); }

private:
    ViewSettings m_Settings;
    ViewState m_State;
    ResumeList m_ResumeList;
    QWidget m_View;
    CColorListCtrl m_List{&m_View};
    CImageList m_Icons;
    ScriptedPrompter m_Prompter;
    FolderScreen m_Screen{m_Settings, m_State, m_ResumeList, m_List, m_Prompter, m_View, [] {}};
};

// ---- measuring

struct Times {
    double wallMs;
    double cpuMs;    // the process's processor time: steadier than wall time on a busy machine
    double systemMs; // the part of it spent in the kernel
};

double Ms(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

Times Measure(const std::function<void()>& work) {
    rusage before{};
    rusage after{};
    const auto wallStart = std::chrono::steady_clock::now();
    getrusage(RUSAGE_SELF, &before);
    work();
    getrusage(RUSAGE_SELF, &after);
    const double systemMs = Ms(after.ru_stime) - Ms(before.ru_stime);
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart)
                .count(),
            Ms(after.ru_utime) - Ms(before.ru_utime) + systemMs, systemMs};
}

struct Figure {
    const char* name;
    std::function<void()> work;
    std::function<void()> prepare = [] {}; // untimed, before each run
    std::vector<double> wallMs = {};
    std::vector<double> cpuMs = {};
    std::vector<double> systemMs = {};
};

// Opening the folder from a small one: the list had little to let go of.
constexpr const char* kFillFigure = "opening it, ScanFolder + FillFolderList";
// Reading the folder again while the list shows it (after a stop): the old rows and items go.
constexpr const char* kRefillFigure = "reading it again, ScanFolder + FillFolderList";
constexpr double kBudgetRatio = 1.2;

// The medians of every figure at one size, by figure name.
using LevelTimes = std::map<std::string, Times>;

LevelTimes MeasureLevel(const QString& base, int mediaCount) {
    QTemporaryDir dir(base + "/ravolo-bench-XXXXXX");
    const QString folder = dir.path();
    const std::string rawFolder = QFile::encodeName(folder).toStdString();
    MakeLevel(rawFolder, mediaCount);

    std::unordered_set<std::string> extensions;
    for (const QString& token :
         FolderScanner::SplitExtensions(kVideo) + FolderScanner::SplitExtensions(kAudio))
        extensions.insert(token.toStdString());

    // A full resume list, as the view searches it for every file; a few of its entries are
    // files of this level.
    ShownFolderScreen shown;
    for (int n = kResumeEntries - 1; n >= 0; --n) {
        MediaItem entry{folder + QStringLiteral("/Show %1 Episode %2.mp4").arg(n % 97).arg(n * 37),
                        MediaItemKind::File};
        shown.Resume().RegisterResumeEntry(entry, static_cast<uint32_t>(n + 1), false);
    }
    const QHash<QString, uint32_t> positions = shown.Resume().PositionsByPath();
    const FolderScanner::ResumeLookup lookup = [&positions](const QString& path) {
        return positions.value(path);
    };
    QTemporaryDir smallFolder(base + "/ravolo-bench-XXXXXX");
    const auto openFromSmall = [&] {
        shown.Show(smallFolder.path());
        shown.SetFolder(folder);
    };

    size_t floorCount = 0;
    qsizetype scanCount = 0;
    std::vector<Figure> figures = {
        {"floor", [&] { floorCount = FloorScan(rawFolder, extensions); }},
        {"ScanFolder",
         [&] { scanCount = FolderScanner::ScanFolder(folder, kVideo, kAudio, lookup).size(); }},
        {kFillFigure, [&] { shown.Fill(); }, openFromSmall},
        {"opening it with the first paint",
         [&] {
             shown.Fill();
             shown.Paint();
         },
         openFromSmall},
        {kRefillFigure, [&] { shown.Fill(); }, [&] { shown.Show(folder); }},
    };
    const int runs = BenchFigures::Runs(mediaCount >= 100000 ? 7 : 15);
    for (int run = -1; run < runs; ++run) { // run -1 warms the caches
        for (Figure& figure : figures) {
            figure.prepare();
            const Times times = Measure(figure.work);
            if (run >= 0) {
                figure.wallMs.push_back(times.wallMs);
                figure.cpuMs.push_back(times.cpuMs);
                figure.systemMs.push_back(times.systemMs);
            }
        }
    }
    if (floorCount != static_cast<size_t>(scanCount) ||
        floorCount != static_cast<size_t>(shown.RowCount()))
        BenchFigures::PrintNote(BenchFigures::Format(
            "  (the floor found %zu entries, ScanFolder %lld, the list shows %d)", floorCount,
            static_cast<long long>(scanCount), shown.RowCount()));
    LevelTimes medians;
    for (const Figure& figure : figures)
        medians[figure.name] = {BenchFigures::Median(figure.wallMs),
                                BenchFigures::Median(figure.cpuMs),
                                BenchFigures::Median(figure.systemMs)};
    const Times floor = medians["floor"];
    for (auto figure = figures.begin() + 1; figure != figures.end(); ++figure) {
        const Times times = medians[figure->name];
        std::string budget;
        if (mediaCount == 100000 && (figure->name == std::string(kFillFigure) ||
                                     figure->name == std::string(kRefillFigure)))
            budget = BenchFigures::Format(
                "budget %.1fx the floor: %s (wall), %s (processor time)", kBudgetRatio,
                times.wallMs <= kBudgetRatio * floor.wallMs ? "met" : "NOT MET",
                times.cpuMs <= kBudgetRatio * floor.cpuMs ? "met" : "NOT MET");
        BenchFigures::Print(
            {BenchFigures::Format("folder level, %s, %d media files", figure->name, mediaCount),
             times.wallMs, "bare readdir, stat, filter, natural sort", floor.wallMs, "ms", budget,
             BenchFigures::Format("processor time %.1f ms, floor %.1f ms, ratio %.2f; of it in "
                                  "the kernel %.1f ms, floor %.1f ms",
                                  times.cpuMs, floor.cpuMs, times.cpuMs / floor.cpuMs,
                                  times.systemMs, floor.systemMs)});
    }
    return medians;
}

double NLogN(int n) {
    return n * std::log2(static_cast<double>(n));
}

// How opening a folder grows from one size to the next, against what n log n allows; the
// floor's own growth is printed beside it (stat and the caches do not scale linearly either).
void PrintGrowth(const std::map<int, LevelTimes>& levels) {
    for (auto next = std::next(levels.begin()); next != levels.end(); ++next) {
        const auto previous = std::prev(next);
        const Times& from = previous->second.at(kFillFigure);
        const Times& to = next->second.at(kFillFigure);
        const double allowed = NLogN(next->first) / NLogN(previous->first);
        const double wall = to.wallMs / from.wallMs;
        const double cpu = to.cpuMs / from.cpuMs;
        const double floorCpu = next->second.at("floor").cpuMs / previous->second.at("floor").cpuMs;
        BenchFigures::PrintNote(BenchFigures::Format(
            "folder level, growth of %s from %d to %d media files: x%.1f (processor time x%.1f, "
            "floor x%.1f), n log n x%.1f; budget no faster than n log n: %s (wall), %s "
            "(processor time)",
            kFillFigure, previous->first, next->first, wall, cpu, floorCpu, allowed,
            wall <= allowed ? "met" : "NOT MET", cpu <= allowed ? "met" : "NOT MET"));
    }
}

} // namespace

int main(int argc, char** argv) {
    // The list is a real widget; no display is needed to fill and paint it.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {1000, 10000, 100000};
    std::map<int, LevelTimes> levels;
    for (const int mediaCount : sizes)
        levels[mediaCount] = MeasureLevel(base, mediaCount);
    PrintGrowth(levels);
    return 0;
}
