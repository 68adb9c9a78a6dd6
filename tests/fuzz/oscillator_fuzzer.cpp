// libFuzzer target for everything that turns operator input into the bytes
// sent to the receiver: the number-reading rule, the frequency words, their
// hexadecimal text and its packing, and the crystal calibration. Sanitizers
// catch crashes and undefined behaviour; the checks below catch wrong results
// and report them through abort().

#include "property_check.h"

#include "oscillator/calibration.h"
#include "oscillator/frequency_word.h"
#include "oscillator/number_reading.h"
#include "oscillator/tuning.h"

#include <array>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace vexa;
using vexa::fuzzing::check;

bool sameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string withoutBlanks(std::string_view text)
{
    std::string kept;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            kept += c;
    return kept;
}

// The longest prefix of a blank-free text that reads as
// [sign]digits[.digits][e[sign]digits], with at least one mantissa digit and
// at least one exponent digit; empty when the text does not start so.
std::string_view decimalPrefix(std::string_view text)
{
    std::size_t end = 0;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    std::size_t mantissaDigits = 0;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
        ++mantissaDigits;
    }
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && isDigit(text[end])) {
            ++end;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return {};
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponentEnd = end + 1;
        if (exponentEnd < text.size() && (text[exponentEnd] == '+' || text[exponentEnd] == '-'))
            ++exponentEnd;
        const std::size_t exponentDigitsStart = exponentEnd;
        while (exponentEnd < text.size() && isDigit(text[exponentEnd]))
            ++exponentEnd;
        if (exponentEnd > exponentDigitsStart)
            end = exponentEnd;
    }
    return text.substr(0, end);
}

// The value a blank-free text must read as, when an independent reading is at
// hand: glibc's strtod rounds correctly in the "C" locale, and whole numbers
// after &H or &O are exact while they fit in 53 bits.
std::optional<double> referenceValue(const std::string& text)
{
    if (text.size() >= 2 && text[0] == '&') {
        const char kind = text[1];
        const int radix = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
        if (radix != 0) {
            std::string digits;
            for (std::size_t i = 2; i < text.size(); ++i) {
                const char c = text[i];
                const bool fits = radix == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                              : (c >= '0' && c <= '7');
                if (!fits)
                    break;
                digits += c;
            }
            if (digits.empty())
                return 0.0;
            if (digits.size() > (radix == 16 ? 13u : 17u))
                return std::nullopt;
            return static_cast<double>(std::strtoull(digits.c_str(), nullptr, radix));
        }
    }
    const std::string prefix(decimalPrefix(text));
    if (prefix.empty())
        return 0.0;
    return std::strtod(prefix.c_str(), nullptr);
}

void checkNumberReading(std::string_view input, double value)
{
    const std::string text = withoutBlanks(input);
    if (const auto reference = referenceValue(text))
        check(sameDouble(value, *reference), "readNumber differs from the reference reading", input);
    check(!std::isnan(value), "readNumber gave NaN", input);
}

// A word's text: upper-case hexadecimal without leading zeros, reading back as
// the word, and packing to the word's bytes.
void checkWordText(std::uint32_t word, const std::string& text, std::string_view input)
{
    check(!text.empty() && text.size() <= 8, "word text has a wrong length", input);
    check(text == "0" || text[0] != '0', "word text has a leading zero", input);
    for (char c : text)
        check(isDigit(c) || (c >= 'A' && c <= 'F'), "word text is no upper-case hex", input);
    check(std::strtoul(text.c_str(), nullptr, 16) == word, "word text reads back wrong", input);
    check(packHexText(text) == packWord(word), "word text packs to other bytes", input);
    std::uint32_t unpacked = 0;
    for (std::uint8_t byte : packWord(word)) // least significant first
        unpacked = (unpacked >> 8) | (std::uint32_t{byte} << 24);
    check(unpacked == word, "word bytes are not least significant first", input);
}

// Any frequency: a word only for 0 <= mhz < 1024, and then the nearest one.
void checkOscillatorWord(double mhz, std::string_view input)
{
    const auto text = oscillatorWordText(mhz);
    // 1024 - 2^-22 MHz scales to 2^31 - 0.5, a tie that goes to the even 2^31.
    const bool inRange = mhz >= 0 && mhz < 1024.0 - std::ldexp(1.0, -22);
    check(text.has_value() == inRange, "word offered outside 0 to 1024 MHz or refused inside",
          input);
    if (!text)
        return;
    const double scaled = std::ldexp(mhz, kOscillatorFractionBits);
    const auto word = static_cast<std::uint32_t>(std::strtoul(text->c_str(), nullptr, 16));
    const double below = std::floor(scaled);
    const double distance = std::fabs(scaled - static_cast<double>(word));
    check(distance <= 0.5, "word is not the nearest", input);
    if (distance == 0.5)
        check(word % 2 == 0, "a tie did not go to the even word", input);
    check(static_cast<double>(word) == below || static_cast<double>(word) == below + 1,
          "word is not a neighbour of the scaled frequency", input);
    checkWordText(word, *text, input);
}

void checkCrystalWord(double measuredMhz, double startupMhz, std::string_view input)
{
    const auto result = crystalWord(measuredMhz, startupMhz);
    const double crystalMhz = measuredMhz * kNominalCrystalMhz / startupMhz;
    const bool plausible = crystalMhz >= kCrystalLowestMhz && crystalMhz <= kCrystalHighestMhz;
    check(std::holds_alternative<std::uint32_t>(result) == plausible,
          "crystal word given for an implausible crystal or refused for a plausible one", input);
    if (!plausible) {
        check(std::get<std::string_view>(result) == kCrystalOutOfRange,
              "implausible crystal gives the wrong line", input);
        return;
    }
    const std::uint32_t word = std::get<std::uint32_t>(result);
    const double scaled = std::ldexp(crystalMhz, kCrystalFractionBits);
    check(std::fabs(scaled - static_cast<double>(word)) <= 0.5, "crystal word is not the nearest",
          input);
    checkWordText(word, hexText(word), input);
}

// Any text handed over as a word's text packs as the value it shows when it is
// one to eight hexadecimal digits, and as four zero bytes otherwise.
void checkPacking(std::string_view input)
{
    bool isWordText = !input.empty() && input.size() <= 8;
    for (char c : input)
        isWordText = isWordText && std::isxdigit(static_cast<unsigned char>(c)) != 0;
    const std::uint32_t word =
        isWordText ? static_cast<std::uint32_t>(std::strtoul(std::string(input).c_str(), nullptr, 16))
                   : 0;
    check(packHexText(input) == packWord(word), "packHexText packs the wrong bytes", input);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The reference readings rely on "." as the decimal point.
    std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const double typed = readNumber(input);
    checkNumberReading(input, typed);
    checkOscillatorWord(typed, input);
    checkCrystalWord(typed, 100.0, input);
    checkCrystalWord(typed, 56.32, input);
    checkPacking(input);

    // The same bytes as a raw double reach values no text reads as: NaN,
    // subnormals, the largest finite numbers.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        checkOscillatorWord(raw, input);
        checkCrystalWord(raw, 100.0, input);
        for (int bits : {kOscillatorFractionBits, kCrystalFractionBits}) {
            const auto word = frequencyWord(raw, bits);
            if (word)
                check(std::fabs(std::ldexp(raw, bits) - *word) <= 0.5,
                      "frequency word is not the nearest", input);
        }
    }
    return 0;
}
