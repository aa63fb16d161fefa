#include "store/RingtalError.h"

RingtalError::RingtalError(int number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_what(QStringLiteral("%1 - %2").arg(m_number).arg(m_description).toUtf8())
{
}
