#include "BenchCases.h"

std::vector<BenchCase> journalBenchCases()
{
    return {};
}
