// request-bench: the program's tuning request (LibusbLibrary and
// frequencyRequest) against the least that libusb-1.0 needs for the same
// transfer, both against the emulated receiver. Runs with the umockdev
// preload (umockdev-wrapper).
//
//   request-bench --pairs N
//       Owns the receiver. Times N requests of each kind, interleaved, and
//       counts the libusb calls of one request of each kind; prints JSON.
//   request-bench --client project|reference --requests N
//       Sends N requests of one kind to a receiver that another process owns
//       (vexa-emulated-receiver), for counting system calls from outside and
//       as the floor of a set through the rig-control server, which meets the
//       receiver that way too; prints the time of each as JSON.

#include "libusb_call_count.h"
#include "reference_request.h"

#include "emulated_receiver/emulated_receiver.h"
#include "oscillator/frequency_word.h"
#include "oscillator/oscillator_request.h"
#include "usb/libusb_library.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vexa;
using namespace vexa::bench;

// The request of the "20 m" button: 28 MHz.
constexpr std::string_view kHexText = "3800000";
constexpr int kSuccess = 4; // bytes transferred

// What the main window's SetFrequency does for the text.
class ProjectRequest {
public:
    ProjectRequest() { usb_.vb_usb_init(); } // as the main window does when it loads

    void operator()()
    {
        const std::string line =
            frequencyRequestLine(frequencyRequest(usb_, devHandle_, kHexText, kRequestTimeoutMs));
        if (line != expected_)
            throw std::runtime_error("project request: " + line);
    }

private:
    LibusbLibrary usb_{standardErrorSink("request-bench")};
    std::int32_t devHandle_ = 0;
    const std::string expected_ = "RC=" + std::to_string(kSuccess) + "   Hex=" + std::string(kHexText);
};

class ReferenceSender {
public:
    void operator()()
    {
        const int result = reference_.send(kRequestSetFrequency, packHexText(kHexText));
        if (result != kSuccess)
            throw std::runtime_error("reference request: result " + std::to_string(result));
    }

private:
    ReferenceRequest reference_;
};

template <typename Request>
double microsecondsOf(Request& request)
{
    const auto start = std::chrono::steady_clock::now();
    request();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count();
}

template <typename Request>
LibusbCallCount callsOfOneRequest(Request& request)
{
    const LibusbCallCount before = libusbCallsSoFar();
    request();
    return callsBetween(before, libusbCallsSoFar());
}

std::string json(const std::vector<double>& samples)
{
    std::string text = "[";
    for (const double sample : samples)
        text += (text.size() > 1 ? "," : "") + std::to_string(sample);
    return text + "]";
}

std::string json(const LibusbCallCount& calls)
{
    std::string text = "{";
    for (const auto& [name, count] : calls)
        text += (text.size() > 1 ? "," : "") + ("\"" + name + "\":") + std::to_string(count);
    return text + "}";
}

int timePairs(int pairs)
{
    testing::EmulatedReceiver receiver; // before any libusb context
    ProjectRequest project;
    ReferenceSender reference;

    // Warm both paths up: first-use allocations and the caches of the
    // emulation are not what an operator's click pays.
    constexpr int kWarmUp = 10;
    for (int i = 0; i < kWarmUp; ++i) {
        project();
        reference();
    }
    const LibusbCallCount projectCalls = callsOfOneRequest(project);
    const LibusbCallCount referenceCalls = callsOfOneRequest(reference);

    std::vector<double> projectTimes, referenceTimes;
    projectTimes.reserve(static_cast<std::size_t>(pairs));
    referenceTimes.reserve(static_cast<std::size_t>(pairs));
    for (int i = 0; i < pairs; ++i) {
        // Alternate which goes first, so neither always follows the other.
        if (i % 2 == 0) {
            projectTimes.push_back(microsecondsOf(project));
            referenceTimes.push_back(microsecondsOf(reference));
        } else {
            referenceTimes.push_back(microsecondsOf(reference));
            projectTimes.push_back(microsecondsOf(project));
        }
    }

    const std::size_t expected = 2 * static_cast<std::size_t>(kWarmUp + 1 + pairs);
    if (receiver.transfers().size() != expected)
        throw std::runtime_error("the receiver got " + std::to_string(receiver.transfers().size()) +
                                 " transfers, not " + std::to_string(expected));

    std::printf("{\"project_us\":%s,\"reference_us\":%s,"
                "\"libusb_calls\":{\"project\":%s,\"reference\":%s}}\n",
                json(projectTimes).c_str(), json(referenceTimes).c_str(),
                json(projectCalls).c_str(), json(referenceCalls).c_str());
    return 0;
}

template <typename Request>
int sendMany(int requests)
{
    Request request;
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(requests));
    for (int i = 0; i < requests; ++i)
        times.push_back(microsecondsOf(request));
    std::printf("{\"us\":%s}\n", json(times).c_str());
    return 0;
}

int sendAsClient(std::string_view kind, int requests)
{
    if (kind == "project")
        return sendMany<ProjectRequest>(requests);
    if (kind == "reference")
        return sendMany<ReferenceSender>(requests);
    throw std::invalid_argument("unknown kind: " + std::string(kind));
}

int usage()
{
    std::fprintf(stderr, "usage: request-bench --pairs N\n"
                         "       request-bench --client project|reference --requests N\n");
    return 2;
}

int positive(const char* text)
{
    const int value = std::atoi(text);
    if (value <= 0)
        throw std::invalid_argument(std::string("not a positive count: ") + text);
    return value;
}

} // namespace

int main(int argc, char* argv[])
try {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--pairs")
        return timePairs(positive(argv[2]));
    if (args.size() == 4 && args[0] == "--client" && args[2] == "--requests")
        return sendAsClient(args[1], positive(argv[4]));
    return usage();
} catch (const std::exception& failure) {
    std::fprintf(stderr, "request-bench: %s\n", failure.what());
    return 1;
}
