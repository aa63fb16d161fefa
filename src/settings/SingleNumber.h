#pragma once

#include <optional>

// Window edges, sizes and column widths are single-precision numbers: a value
// read from the store takes the precision it will have in the window, and a
// value beyond the single range cannot be assigned at all (an overflow).
namespace SingleNumber {

std::optional<double> fromDouble(double value);

} // namespace SingleNumber
