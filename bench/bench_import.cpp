#include "BenchCases.h"

std::vector<BenchCase> importBenchCases()
{
    return {};
}
