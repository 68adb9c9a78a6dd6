#pragma once

#include <string_view>

namespace vexa {

// Reads a frequency typed in MHz the way the operator expects of this program:
// blanks, tabs and line feeds are skipped anywhere; then an optional sign,
// digits with at most one "." as the decimal point (whatever the regional
// settings), and an optional exponent (E or e, optional sign, digits). Reading
// stops at the first character that does not fit, so "14.2 MHz" is 14.2 and
// "14,2" is 14; text without a leading number is 0. "&H" and "&O" introduce
// unsigned hexadecimal and octal whole numbers. Decimal text is correctly
// rounded; numbers too large for a double read as infinity.
double readNumber(std::string_view text);

} // namespace vexa
