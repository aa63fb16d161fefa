#include "settings/SingleNumber.h"

#include <cmath>
#include <limits>

namespace SingleNumber {

std::optional<double> fromDouble(double value)
{
    if (!(std::fabs(value) <= double(std::numeric_limits<float>::max())))
        return std::nullopt;
    return double(static_cast<float>(value));
}

} // namespace SingleNumber
