#pragma once

// How a finished test is graded: the share of right slots in percent and on
// the five-point scale, each rounded to the nearest integer with halves going
// to the even neighbour.
namespace Grading {

int roundHalfEven(double value);

// right × 100 / total and right × 5 / total, rounded. A total of 0 cannot be
// graded: both throw AppError "Invalid floating point operation".
int percent(int right, int total);
int mark(int right, int total);

} // namespace Grading
