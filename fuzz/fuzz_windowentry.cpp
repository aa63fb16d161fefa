#include "FuzzInput.h"

#include "settings/WindowEntry.h"

#include <cmath>
#include <limits>

namespace {

bool isSingle(double value)
{
    return std::isfinite(value) && std::fabs(value) <= double(std::numeric_limits<float>::max());
}

bool isSingle(const std::optional<double> &value)
{
    return !value || isSingle(*value);
}

} // namespace

// First byte: the column count of the grid (low four bits; 0 is a window
// without grid). The rest: the stored text. The reader must never throw and
// must only give values a window can take.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    const int columnCount = input.takeSmallNumber(16);
    const QString text = input.restAsText();
    const WindowEntry::Reading reading = WindowEntry::fromText(text, columnCount);

    FUZZ_REQUIRE(reading.centre == text.isEmpty());
    FUZZ_REQUIRE(isSingle(reading.left) && isSingle(reading.top));
    FUZZ_REQUIRE(isSingle(reading.width) && isSingle(reading.height));
    // A reading above 0 is taken; one too small for single precision is 0 then.
    FUZZ_REQUIRE(!reading.width || *reading.width >= 0.0);
    FUZZ_REQUIRE(!reading.height || *reading.height >= 0.0);
    // Widths come after the four window fields, so no width without them.
    FUZZ_REQUIRE(reading.columnWidths.empty() || (reading.left && reading.top));
    FUZZ_REQUIRE(int(reading.columnWidths.size()) <= columnCount);
    for (const double width : reading.columnWidths)
        FUZZ_REQUIRE(isSingle(width));
    return 0;
}
