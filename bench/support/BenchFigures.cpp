#include "support/BenchFigures.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace BenchFigures {

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Max(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

int Runs(int fallback) {
    const char* text = std::getenv("RAVOLO_BENCH_RUNS");
    const int runs = text != nullptr ? std::atoi(text) : 0;
    return runs > 0 ? runs : fallback;
}

std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

std::string Verdict(const std::string& budget, bool met) {
    return "budget " + budget + (met ? ": met" : ": NOT MET");
}

void Print(const Line& line) {
    std::string text = Format("%s: %.1f %s, floor (%s) %.1f %s, ratio %.2f", line.figure.c_str(),
                              line.value, line.unit.c_str(), line.floorName.c_str(), line.floor,
                              line.unit.c_str(), line.floor > 0 ? line.value / line.floor : 0.0);
    if (!line.budget.empty())
        text += "; " + line.budget;
    if (!line.extra.empty())
        text += " (" + line.extra + ")";
    PrintNote(text);
}

void PrintNote(const std::string& text) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

} // namespace BenchFigures
