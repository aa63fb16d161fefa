#pragma once

#include <QString>
#include <array>

// Page header and footer texts. "\t" (a backslash and the letter t, not a
// tab character) divides a text into its left, centre and right part; "\p"
// stands for the page's number, "\P" for the number of pages.
namespace PageText {

// Left, centre and right part; a fourth part and beyond join the right one.
std::array<QString, 3> parts(const QString &text);

// The part with \p and \P replaced; other backslashes stay as they are.
QString substitute(const QString &part, int page, int pageCount);

} // namespace PageText
