#pragma once

#include <QByteArrayView>

// How the "order by" of a query compares texts.
enum class TextOrder {
    // By character codes: sort keys, and whatever else must compare exactly.
    Exact,
    // As people look names up in a list: letter case and accents do not count,
    // "ä" sorts as "a" and "ß" as "ss". Texts that differ in nothing else are
    // put in character-code order, so that the order is the same every time.
    Alphabetical,
};

// Compares two UTF-8 texts as TextOrder::Alphabetical orders them: a value
// below 0, 0 or above 0 when a comes before, equals or comes after b.
int compareAlphabetically(QByteArrayView a, QByteArrayView b);
