#include "BenchCases.h"

std::vector<BenchCase> pictureBenchCases()
{
    return {};
}
