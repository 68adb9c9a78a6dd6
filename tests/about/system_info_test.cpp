#include "about/system_info.h"

#include "fake_platform.h"
#include "registry_value_cases.h"

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
using vexa::testing::utf16Bytes;

// Readable failure messages (found by argument-dependent lookup).
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QString kFirstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QString kSecondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::string kOpenFirstKey = "open 80000002 " + kFirstKey.toStdString() + " 20019";
const std::string kOpenSecondKey = "open 80000002 " + kSecondKey.toStdString() + " 20019";

FakeValue stringValue(const QString& text)
{
    return {kRegistryString, utf16Bytes(text.toStdU16String() + u'\0')};
}

struct Platform {
    FakeRegistry registry;
    FakeFileProbe files;
    FakeLauncher launcher;
    FakeMessages messages;
    SystemInfo sysInfo{registry, files, launcher, messages};

    bool triedSecondLookup() const
    {
        return std::find(registry.calls.begin(), registry.calls.end(), kOpenSecondKey) !=
               registry.calls.end();
    }
};

TEST(GetKeyValue, ReadsTheValueByItsType)
{
    for (const auto& c : vexa::testing::registryValueCases()) {
        SCOPED_TRACE(c.what);
        Platform platform;
        platform.registry.set(kFirstKey, "PATH", {c.type, c.data});
        platform.registry.environment[QString::fromStdU16String(
            vexa::testing::kExpandableVariable)] = vexa::testing::kExpandableVariableValue;
        QString keyVal = "left over";
        EXPECT_EQ(platform.sysInfo.GetKeyValue(kHkeyLocalMachine, kFirstKey, "PATH", keyVal),
                  c.found);
        EXPECT_EQ(keyVal, c.text);
        // Opened for reading only, queried into a cleared buffer, closed once.
        EXPECT_THAT(platform.registry.calls, ElementsAre(kOpenFirstKey, "query 1 PATH", "close 1"));
    }
}

TEST(GetKeyValue, ExpandableStringThatCannotBeExpandedIsMissing)
{
    Platform platform;
    platform.registry.set(kFirstKey, "PATH", {kRegistryExpandString, utf16Bytes(u"%x%")});
    platform.registry.expansionFails = true;
    QString keyVal = "left over";
    EXPECT_FALSE(platform.sysInfo.GetKeyValue(kHkeyLocalMachine, kFirstKey, "PATH", keyVal));
    EXPECT_EQ(keyVal, "");
}

TEST(GetKeyValue, MissingKeyOrValueEmptiesTheText)
{
    Platform platform;
    platform.registry.set(kFirstKey, "PATH", stringValue("C:\\x.exe"));

    QString keyVal = "left over";
    EXPECT_FALSE(platform.sysInfo.GetKeyValue(kHkeyLocalMachine, kSecondKey, "MSINFO", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_THAT(platform.registry.calls, ElementsAre(kOpenSecondKey));

    platform.registry.calls.clear();
    keyVal = "left over";
    EXPECT_FALSE(platform.sysInfo.GetKeyValue(kHkeyLocalMachine, kFirstKey, "OTHER", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_THAT(platform.registry.calls, ElementsAre(kOpenFirstKey, "query 1 OTHER", "close 1"));
}

TEST(StartSysInfo, FindsAndStartsTheProgramOrSaysItIsUnavailable)
{
    const QString kListed = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
    const QString kInFolder = "C:\\Common\\MSInfo\\MSINFO32.EXE";
    const FakeValue listedPath = stringValue(kListed);
    const FakeValue folder = stringValue("C:\\Common\\MSInfo");

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
         stringValue("C:\\Gone\\msinfo32.exe"), folder, true, {"C:\\Gone\\msinfo32.exe"},
         false, true},
        {"first entry empty but for its zero: nothing to start", stringValue(""), folder,
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
         FakeValue{2, utf16Bytes(u"%CommonProgramFiles%\\Microsoft Shared\\MSInfo\\msinfo32.exe")},
         folder,
         true, {kListed}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Platform platform;
        if (c.first)
            platform.registry.set(kFirstKey, "PATH", *c.first);
        if (c.second)
            platform.registry.set(kSecondKey, "MSINFO", *c.second);
        platform.registry.environment["CommonProgramFiles"] = "C:\\Program Files\\Common Files";
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
    platform.registry.set(kFirstKey, "PATH", stringValue("C:\\msinfo32.exe"));
    platform.launcher.programs = {"C:\\msinfo32.exe"};
    platform.sysInfo.StartSysInfo();
    platform.sysInfo.StartSysInfo();
    EXPECT_EQ(platform.launcher.attempts, (QStringList{"C:\\msinfo32.exe", "C:\\msinfo32.exe"}));
    EXPECT_THAT(platform.messages.shown, IsEmpty());
}

} // namespace
