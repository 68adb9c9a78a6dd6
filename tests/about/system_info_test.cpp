#include "about/system_info.h"

#include "fake_platform.h"

#include <gmock/gmock.h>

#include <optional>

using namespace vexa;
using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vexa::testing::FakeFileProbe;
using vexa::testing::FakeLauncher;
using vexa::testing::FakeMessages;
using vexa::testing::FakeRegistry;
using vexa::testing::FakeValue;

// Readable failure messages (found by argument-dependent lookup).
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

const std::string kFirstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kSecondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct Platform {
    FakeRegistry registry;
    FakeFileProbe files;
    FakeLauncher launcher;
    FakeMessages messages;
    SystemInfo sysInfo{registry, files, launcher, messages};

    bool triedSecondLookup() const
    {
        const std::string open = "open 80000002 " + kSecondKey + " 20019";
        return std::find(registry.calls.begin(), registry.calls.end(), open) !=
               registry.calls.end();
    }
};

TEST(GetKeyValue, ReadsTheValueByItsType)
{
    struct Case {
        const char* what;
        FakeValue value;
        bool found;
        QString text;
    };
    const std::string longest(1023, 'a');
    const Case cases[] = {
        {"string with its terminating zero", {1, "C:\\Tools\\msinfo32.exe\0"s}, true,
         "C:\\Tools\\msinfo32.exe"},
        {"string stored without a terminating zero", {1, "C:\\x.exe"}, true, "C:\\x.exe"},
        {"at most one trailing zero is dropped", {1, "ab\0\0"s}, true, QString("ab") + QChar(0)},
        {"nothing but a terminating zero", {1, "\0"s}, true, ""},
        {"1024 bytes", {1, longest + '\0'}, true, QString::fromStdString(longest)},
        {"1024 bytes without a zero", {1, longest + 'b'}, true,
         QString::fromStdString(longest + 'b')},
        {"more than 1024 bytes counts as missing", {1, longest + "bc"}, false, ""},
        {"no data at all", {1, ""}, false, ""},
        {"32-bit number", {4, "\x78\x56\x34\x12"s}, true, "&h12345678"},
        {"32-bit number with high zero bytes", {4, "\x0A\0\0\0"s}, true, "&hA"},
        {"expandable string", {2, "%CommonProgramFiles%\\msinfo32.exe\0"s}, true,
         "C:\\Program Files\\Common Files\\msinfo32.exe"},
        {"expandable string that cannot be expanded", {2, "%Nowhere%\\x.exe\0"s}, false, ""},
        {"binary data", {3, "\x01\x02"s}, false, ""},
        {"multi-string", {7, "a\0b\0\0"s}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Platform platform;
        platform.registry.set(kFirstKey, "PATH", c.value);
        platform.registry.expansions["%CommonProgramFiles%\\msinfo32.exe"] =
            "C:\\Program Files\\Common Files\\msinfo32.exe";
        QString keyVal = "left over";
        EXPECT_EQ(platform.sysInfo.GetKeyValue(kHkeyLocalMachine, QString::fromStdString(kFirstKey),
                                               "PATH", keyVal),
                  c.found);
        EXPECT_EQ(keyVal, c.text);
        // Opened for reading only, queried into a cleared buffer, closed once.
        EXPECT_THAT(platform.registry.calls,
                    ElementsAre("open 80000002 " + kFirstKey + " 20019", "query 1 PATH", "close 1"));
    }
}

TEST(GetKeyValue, MissingKeyOrValueEmptiesTheText)
{
    Platform platform;
    platform.registry.set(kFirstKey, "PATH", {1, "C:\\x.exe\0"s});

    QString keyVal = "left over";
    EXPECT_FALSE(platform.sysInfo.GetKeyValue(kHkeyLocalMachine, QString::fromStdString(kSecondKey),
                                              "MSINFO", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_THAT(platform.registry.calls, ElementsAre("open 80000002 " + kSecondKey + " 20019"));

    platform.registry.calls.clear();
    keyVal = "left over";
    EXPECT_FALSE(platform.sysInfo.GetKeyValue(kHkeyLocalMachine, QString::fromStdString(kFirstKey),
                                              "OTHER", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_THAT(platform.registry.calls,
                ElementsAre("open 80000002 " + kFirstKey + " 20019", "query 1 OTHER", "close 1"));
}

TEST(StartSysInfo, FindsAndStartsTheProgramOrSaysItIsUnavailable)
{
    const QString kListed = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
    const QString kInFolder = "C:\\Common\\MSInfo\\MSINFO32.EXE";
    const FakeValue listedPath{1, kListed.toStdString() + '\0'};
    const FakeValue folder{1, "C:\\Common\\MSInfo\0"s};

    struct Case {
        const char* what;
        std::optional<FakeValue> first;  // PATH
        std::optional<FakeValue> second; // MSINFO
        bool folderHoldsProgram;
        QStringList launched;
        bool secondLookup;
        bool message;
    };
    const Case cases[] = {
        {"first entry names the program", listedPath, folder, true, {kListed}, false, false},
        {"first entry names no program: the folder is not tried",
         FakeValue{1, "C:\\Gone\\msinfo32.exe\0"s}, folder, true, {"C:\\Gone\\msinfo32.exe"},
         false, true},
        {"first entry empty but for its zero: nothing to start", FakeValue{1, "\0"s}, folder,
         true, {}, false, true},
        {"first entry a number: nothing to start", FakeValue{4, "\x01\0\0\0"s}, folder, true,
         {"&h1"}, false, true},
        {"first entry missing, folder holds the program", std::nullopt, folder, true,
         {kInFolder}, true, false},
        {"first entry missing, folder without the program", std::nullopt, folder, false, {},
         true, true},
        {"both entries missing", std::nullopt, std::nullopt, false, {}, true, true},
        {"first entry without data: the folder is tried", FakeValue{1, ""}, folder, true,
         {kInFolder}, true, false},
        {"first entry too long: the folder is tried", FakeValue{1, std::string(1025, 'x')},
         folder, true, {kInFolder}, true, false},
        {"first entry of another type: the folder is tried", FakeValue{3, "\x01"s}, folder, true,
         {kInFolder}, true, false},
        {"first entry an expandable string",
         FakeValue{2, "%CommonProgramFiles%\\Microsoft Shared\\MSInfo\\msinfo32.exe\0"s}, folder,
         true, {kListed}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Platform platform;
        if (c.first)
            platform.registry.set(kFirstKey, "PATH", *c.first);
        if (c.second)
            platform.registry.set(kSecondKey, "MSINFO", *c.second);
        platform.registry.expansions
            ["%CommonProgramFiles%\\Microsoft Shared\\MSInfo\\msinfo32.exe"] = kListed.toStdString();
        if (c.folderHoldsProgram)
            platform.files.files.insert(kInFolder);
        platform.launcher.programs = {kListed, kInFolder};

        platform.sysInfo.StartSysInfo();

        EXPECT_EQ(platform.launcher.attempts, c.launched);
        EXPECT_EQ(platform.triedSecondLookup(), c.secondLookup);
        // Only the path built from the folder is tested for existence.
        EXPECT_EQ(platform.files.asked,
                  c.secondLookup && c.second ? QStringList{kInFolder} : QStringList{});
        EXPECT_EQ(platform.messages.shown.size(), c.message ? 1u : 0u);
    }
}

TEST(StartSysInfo, UnavailableMessageIsTitledWithTheApplication)
{
    Platform platform;
    platform.sysInfo.StartSysInfo();
    platform.sysInfo.StartSysInfo();
    // Each click tells it again; nothing else reaches the caller.
    const std::pair<QString, QString> message{"Vexa SDR Control",
                                              "System Information Is Unavailable At This Time"};
    EXPECT_THAT(platform.messages.shown, ElementsAre(message, message));
    EXPECT_THAT(platform.launcher.attempts, IsEmpty());
}

TEST(StartSysInfo, EveryClickStartsOneMoreInstance)
{
    Platform platform;
    platform.registry.set(kFirstKey, "PATH", {1, "C:\\msinfo32.exe\0"s});
    platform.launcher.programs = {"C:\\msinfo32.exe"};
    platform.sysInfo.StartSysInfo();
    platform.sysInfo.StartSysInfo();
    EXPECT_EQ(platform.launcher.attempts, (QStringList{"C:\\msinfo32.exe", "C:\\msinfo32.exe"}));
    EXPECT_THAT(platform.messages.shown, IsEmpty());
}

} // namespace
