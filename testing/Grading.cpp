#include "Grading.h"

#include "AppError.h"

#include <cmath>

namespace Grading {

namespace {

double share(int right, int total, int scale)
{
    if (total == 0)
        throw AppError(QStringLiteral("Invalid floating point operation"), ErrorKind::InvalidOperation);
    return double(right) * scale / total;
}

} // namespace

int roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return int(floor) + 1;
    if (fraction < 0.5)
        return int(floor);
    return std::fmod(floor, 2.0) == 0.0 ? int(floor) : int(floor) + 1;
}

int percent(int right, int total)
{
    return roundHalfEven(share(right, total, 100));
}

int mark(int right, int total)
{
    return roundHalfEven(share(right, total, 5));
}

} // namespace Grading
