// conversion-bench: the oscillator code's pure conversions, per call.

#include "oscillator/frequency_word.h"
#include "oscillator/number_reading.h"

#include <benchmark/benchmark.h>

#include <iterator>
#include <string>
#include <string_view>

namespace {

using namespace vexa;

void FrequencyWord(benchmark::State& state)
{
    double mhz = 28.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mhz);
        benchmark::DoNotOptimize(frequencyWord(mhz, kOscillatorFractionBits));
    }
}
BENCHMARK(FrequencyWord);

void HexText(benchmark::State& state)
{
    std::uint32_t word = 0x70A3D71; // 56.32 MHz
    for (auto _ : state) {
        benchmark::DoNotOptimize(word);
        benchmark::DoNotOptimize(hexText(word));
    }
}
BENCHMARK(HexText);

void PackHexText(benchmark::State& state)
{
    std::string_view text = "70A3D71";
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(packHexText(text));
    }
}
BENCHMARK(PackHexText);

// What operators type: a plain number, one with blanks and a unit, an exponent.
constexpr std::string_view kTypedFrequencies[] = {"14.2", "  56.32 MHz", "1.4235e1"};

void ReadNumber(benchmark::State& state)
{
    std::string_view text = kTypedFrequencies[state.range(0)];
    state.SetLabel(std::string(text));
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(readNumber(text));
    }
}
BENCHMARK(ReadNumber)->DenseRange(0, std::size(kTypedFrequencies) - 1);

} // namespace

BENCHMARK_MAIN();
