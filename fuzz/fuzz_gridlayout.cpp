#include "FuzzInput.h"

#include "settings/GridLayout.h"
#include "store/RingtalError.h"

#include <cmath>
#include <limits>
#include <set>

namespace {

// The user's answers to the error boxes, two bits per box from the lowest:
// 0 and 1 Ignore, 2 Retry, 3 Abort; Ignore once the bits are used up.
class ScriptedAnswers
{
public:
    enum class Answer { Ignore, Retry, Abort };

    explicit ScriptedAnswers(int bits)
        : m_bits(bits)
    {
    }

    Answer next()
    {
        if (m_used >= 8)
            return Answer::Ignore;
        const int pair = (m_bits >> (2 * m_used++)) & 3;
        return pair == 3 ? Answer::Abort : pair == 2 ? Answer::Retry : Answer::Ignore;
    }

    // Runs a step as the error protocol would; only the program's own error
    // may come out of a step, anything else ends the run as a crash.
    bool runStep(const std::function<void()> &step)
    {
        for (;;) {
            try {
                step();
                return true;
            } catch (const RingtalError &) {
                switch (next()) {
                case Answer::Retry:
                    continue;
                case Answer::Abort:
                    return false;
                case Answer::Ignore:
                    return true;
                }
            }
        }
    }

private:
    int m_bits;
    int m_used = 0;
};

void checkOperations(const GridLayout::Reading &reading, int columnCount)
{
    std::set<int> columnsSeen;
    int previousPosition = columnCount;
    for (const GridLayout::Operation &operation : reading.operations) {
        FUZZ_REQUIRE(operation.column >= 0 && operation.column < columnCount);
        FUZZ_REQUIRE(operation.displayPosition >= 0 && operation.displayPosition < columnCount);
        // Right-most place first, and each column is placed once.
        FUZZ_REQUIRE(operation.displayPosition <= previousPosition);
        FUZZ_REQUIRE(columnsSeen.insert(operation.column).second);
        previousPosition = operation.displayPosition;
        if (operation.change == GridLayout::Operation::Change::SetWidth)
            FUZZ_REQUIRE(operation.width >= 0.0 && operation.width <= double(std::numeric_limits<float>::max()));
    }
}

} // namespace

// First byte: the column count of the grid (low four bits). Second byte: the
// answers to the error boxes. The rest: the stored text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    const int columnCount = input.takeSmallNumber(16);
    ScriptedAnswers answers(input.takeSmallNumber(256));
    const QString text = input.restAsText();
    const GridLayout::Reading reading = GridLayout::fromText(
            text, columnCount, [&answers](const std::function<void()> &step) { return answers.runStep(step); });

    FUZZ_REQUIRE(reading.stored == !text.isEmpty());
    FUZZ_REQUIRE(reading.stored || reading.operations.empty());
    checkOperations(reading, columnCount);
    return 0;
}
