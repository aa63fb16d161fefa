#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Shared by the fuzz targets: how the bytes of one input are taken apart, and
// how a broken promise of a reader ends the run so that libFuzzer keeps the
// input.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    // One leading byte used up as a small number; 0 when the input is empty.
    // Digits '0' to '9' give 0 to 9, so that seed files stay readable.
    int takeSmallNumber(int modulus)
    {
        if (m_used >= m_size)
            return 0;
        return m_data[m_used++] % modulus;
    }

    // Everything not yet taken, as the settings store would hand it over.
    QString restAsText() const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(m_data + m_used), qsizetype(m_size - m_used));
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_used = 0;
};

#define FUZZ_REQUIRE(condition)                                                                                        \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            std::abort();                                                                                              \
    } while (false)
