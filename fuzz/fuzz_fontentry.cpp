#include "FuzzInput.h"

#include "settings/FontEntryReader.h"
#include "store/RingtalError.h"

namespace {

FontEntry startFont()
{
    FontEntry entry;
    entry.face = QStringLiteral("Arial");
    entry.size = 10.0;
    entry.italic = true;
    return entry;
}

// As the window does when the user answers Ignore to every failure.
int readIgnoringFailures(const QString &text, FontEntry &entry)
{
    int failures = 0;
    FontEntryReader reader(text, entry);
    for (const FontEntryReader::Step &step : reader.steps()) {
        try {
            step();
        } catch (const RingtalError &) {
            ++failures;
        }
    }
    return failures;
}

} // namespace

// Any text: the reader may only fail with the program's own error, and the
// font it leaves must be one the writer stores and the reader takes back
// without a failure and unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = FuzzInput(data, size).restAsText();
    FontEntry entry = startFont();
    readIgnoringFailures(text, entry);
    FUZZ_REQUIRE(entry.size > 0.0 && entry.size <= 2048.0);
    FUZZ_REQUIRE(!entry.face.contains(QLatin1Char(';')));

    FontEntry again;
    FUZZ_REQUIRE(readIgnoringFailures(entry.toText(), again) == 0);
    FUZZ_REQUIRE(again == entry);
    return 0;
}
