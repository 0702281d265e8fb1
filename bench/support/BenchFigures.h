#pragma once

#include <string>
#include <vector>

// The figures' common form: one line each with the figure, the floor measured in the same run,
// their ratio and, where the figure has one, its budget and whether it was met.
namespace BenchFigures {

double Median(std::vector<double> values);
double Max(const std::vector<double>& values);

// Measured runs after the warm-up: fallback, or RAVOLO_BENCH_RUNS when that is set.
int Runs(int fallback);

struct Line {
    std::string figure; // what was measured
    double value;
    std::string floorName; // what the floor is
    double floor;
    std::string unit;
    std::string budget = {}; // "budget ...: met" from Verdict, or empty
    std::string extra = {};  // processor times and the like, in brackets after the rest
};

void Print(const Line& line);
// A printed line of its own, for figures without a floor (counts, growth).
void PrintNote(const std::string& text);
std::string Verdict(const std::string& budget, bool met);
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace BenchFigures
