#pragma once

#include <QString>

#include <functional>
#include <vector>

// One figure a benchmark case prints.
struct BenchFigure
{
    QString name;
    double value;
    QString unit;
    QString target; // e.g. "< 50 ms"; empty when the figure is for information
};

using BenchReport = std::function<void(const BenchFigure &)>;

struct BenchCase
{
    QString name;
    std::function<void(const BenchReport &)> run;
};

// How often the cases that start the program repeat it (korvelta-bench --runs).
int benchRuns();
// The program those cases start (korvelta-bench --program).
QString benchProgram();

// Milliseconds of the fastest of `repeats` runs of `work`.
double fastestMs(int repeats, const std::function<void()> &work);

// Each area of the program adds its cases here.
std::vector<BenchCase> treeBenchCases();
std::vector<BenchCase> startupBenchCases();
std::vector<BenchCase> importBenchCases();
std::vector<BenchCase> journalBenchCases();
std::vector<BenchCase> pictureBenchCases();
std::vector<BenchCase> testingBenchCases();
std::vector<BenchCase> serverBenchCases();
