// Ten thousand requests through the libusb module against the emulated
// receiver, a quarter of them failing (stall, device gone, I/O error, no
// receiver, receiver unplugged while open): afterwards no descriptor, device
// handle or memory may have piled up. The requests run in soak_client, so
// that what the receiver records in this process does not count.

#include "emulated_receiver/emulated_receiver.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

extern char** environ;

namespace {

using vexa::testing::ChildProcess;
using vexa::testing::EmulatedReceiver;

// Growth allowed after the warm-up. A sound run grows by a page or two; one
// leaked 32-byte block per request would add about 300 KiB.
constexpr long kRssGrowthBoundKiB = 256;

struct Report {
    std::size_t transfers = 0;
    std::size_t warmFds = 0;
    std::size_t endFds = 0;
    long warmRssKiB = 0;
    long endRssKiB = 0;
    int wrong = -1;
};

TEST(Soak, TenThousandRequestsLeaveNoDescriptorHandleOrMemoryBehind)
{
    EmulatedReceiver receiver; // before the client's libusb starts
    // It inherits the umockdev preload and UMOCKDEV_DIR, and so sees the receiver.
    ChildProcess client({SOAK_CLIENT_PATH}, environ);
    Report report;
    for (std::string line; client.readLine(line);) {
        if (line.starts_with("report ")) {
            std::istringstream(line.substr(7)) >> report.transfers >> report.warmFds >>
                report.endFds >> report.warmRssKiB >> report.endRssKiB >> report.wrong;
            break;
        }
        ASSERT_TRUE(receiver.obey(line)) << "unknown command: " << line;
        client.writeLine("done");
    }
    ASSERT_EQ(client.exitCode(), 0);

    EXPECT_EQ(report.wrong, 0) << "requests with a wrong result, see above";
    EXPECT_EQ(receiver.transfers().size(), report.transfers);
    EXPECT_EQ(report.endFds, report.warmFds) << "open descriptors grew";
    EXPECT_GT(report.warmRssKiB, 0);
    EXPECT_LT(report.endRssKiB - report.warmRssKiB, kRssGrowthBoundKiB)
        << "resident memory grew from " << report.warmRssKiB << " KiB to " << report.endRssKiB
        << " KiB";
}

} // namespace
