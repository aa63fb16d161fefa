#include "FuzzInput.h"

#include "store/Csv.h"
#include "store/RingtalError.h"

#include <QByteArray>

// The input is the bytes of a file chosen for import. Decoding and reading
// may refuse it with the program's error, nothing else; whatever they read
// must come back unchanged through the writer and the reader again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QVector<QStringList> records;
    try {
        records = Csv::parse(Csv::decode(bytes).text);
    } catch (const RingtalError &error) {
        FUZZ_REQUIRE(error.number() == ErrorNumber::InvalidFileFormat);
        return 0;
    }
    for (const QStringList &record : records)
        FUZZ_REQUIRE(!record.isEmpty());
    const Csv::Decoded again = Csv::decode(Csv::write(records));
    FUZZ_REQUIRE(again.byteOrderMark && again.encoding == Csv::Encoding::Utf8);
    FUZZ_REQUIRE(Csv::parse(again.text) == records);
    return 0;
}
