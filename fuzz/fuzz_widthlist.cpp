#include "FuzzInput.h"

#include "settings/WidthList.h"

#include <cmath>
#include <limits>

// First byte: the column count of the grid (low four bits). The rest: the
// stored text. The reader must never throw and must only give widths a
// column can take, never more than the grid has columns.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    const int columnCount = input.takeSmallNumber(16);
    const QString text = input.restAsText();
    const std::vector<double> widths = WidthList::fromText(text, columnCount);

    FUZZ_REQUIRE(int(widths.size()) <= columnCount);
    FUZZ_REQUIRE(!text.isEmpty() || widths.empty());
    for (const double width : widths)
        FUZZ_REQUIRE(std::isfinite(width) && std::fabs(width) <= double(std::numeric_limits<float>::max()));
    return 0;
}
