#include "oscillator/number_reading.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vexa {

namespace {

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string withoutBlanks(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (char c : text)
        if (!isSkipped(c))
            kept.push_back(c);
    return kept;
}

int digitValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::numeric_limits<int>::max();
}

// Digits after "&H" or "&O", read as an unsigned whole number.
double readRadixNumber(std::string_view digits, int radix)
{
    double value = 0;
    for (char c : digits) {
        const int digit = digitValue(c);
        if (digit >= radix)
            break;
        value = value * radix + digit;
    }
    return value;
}

// Decimal magnitude of an unsigned decimal number that from_chars found out of
// range: positive for a number too large, negative for one too small.
long long decimalMagnitude(std::string_view mantissa, std::string_view exponent)
{
    long long magnitude = 0;
    bool significant = false;
    bool afterPoint = false;
    for (char c : mantissa) {
        if (c == '.') {
            afterPoint = true;
        } else if (c != '0' || significant) {
            if (!significant && afterPoint)
                break;
            significant = true;
            if (afterPoint)
                break;
            ++magnitude;
        } else if (afterPoint) {
            --magnitude;
        }
    }
    long long shift = 0;
    std::size_t at = 0;
    const bool negative = !exponent.empty() && exponent[0] == '-';
    if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+'))
        at = 1;
    for (; at < exponent.size() && shift < 1'000'000'000LL; ++at)
        shift = shift * 10 + (exponent[at] - '0');
    return magnitude + (negative ? -shift : shift);
}

double readDecimalNumber(std::string_view text)
{
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';

    const std::size_t mantissaStart = at;
    bool point = false;
    std::size_t digits = 0;
    for (; at < text.size(); ++at) {
        if (isDigit(text[at]))
            ++digits;
        else if (text[at] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return 0.0;
    const std::string_view mantissa = text.substr(mantissaStart, at - mantissaStart);

    std::string_view exponent;
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        std::size_t end = at + 1;
        if (end < text.size() && (text[end] == '+' || text[end] == '-'))
            ++end;
        const std::size_t digitsStart = end;
        while (end < text.size() && isDigit(text[end]))
            ++end;
        if (end > digitsStart) {
            exponent = text.substr(at + 1, end - at - 1);
            at = end;
        }
    }

    const std::string_view number = text.substr(mantissaStart, at - mantissaStart);
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        value = decimalMagnitude(mantissa, exponent) > 0 ? std::numeric_limits<double>::infinity()
                                                          : 0.0;
    return negative ? -value : value;
}

} // namespace

double readNumber(std::string_view typed)
{
    const std::string text = withoutBlanks(typed);
    if (text.size() >= 2 && text[0] == '&') {
        if (text[1] == 'H' || text[1] == 'h')
            return readRadixNumber(std::string_view(text).substr(2), 16);
        if (text[1] == 'O' || text[1] == 'o')
            return readRadixNumber(std::string_view(text).substr(2), 8);
    }
    return readDecimalNumber(text);
}

} // namespace vexa
