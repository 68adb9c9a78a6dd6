// GetKeyValue against the registry of Windows itself, with the value cases
// that the fake registry's tests use.
#include "about/system_info.h"

#include "fake_platform.h"
#include "registry_value_cases.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr std::uint32_t kHkeyCurrentUser = 0x80000001;
const QString kTestKey = QStringLiteral("Software\\Vexa SDR Control tests\\Prüf 情報");

const wchar_t* wide(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

class WindowsRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wide(kTestKey), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }

    void TearDown() override
    {
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vexa SDR Control tests");
    }

    void store(const QString& name, std::uint32_t type, const std::string& data)
    {
        // Windows counts a string's terminating zero in when the caller left
        // it out but it follows the data in memory; with no zero after them,
        // the bytes are stored as they are given.
        const std::string followed = data + "\xFF\xFF";
        ASSERT_EQ(RegSetValueExW(key_, wide(name), 0, type,
                                 reinterpret_cast<const BYTE*>(followed.data()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }

    HKEY key_ = nullptr;
    std::unique_ptr<vexa::Registry> registry_ = vexa::systemRegistry();
    vexa::SystemFileProbe files_;
    vexa::DetachedProgramLauncher launcher_;
    vexa::testing::FakeMessages messages_;
    vexa::SystemInfo sysInfo_{*registry_, files_, launcher_, messages_};
};

TEST_F(WindowsRegistry, ReadsEveryValueAsTheFakeRegistryDoes)
{
    SetEnvironmentVariableW(reinterpret_cast<LPCWSTR>(vexa::testing::kExpandableVariable),
                            wide(vexa::testing::kExpandableVariableValue));
    const auto cases = vexa::testing::registryValueCases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.what);
        const QString name = QStringLiteral("Wert %1").arg(i);
        store(name, c.type, c.data);
        QString keyVal = "left over";
        EXPECT_EQ(sysInfo_.GetKeyValue(kHkeyCurrentUser, kTestKey, name, keyVal), c.found);
        EXPECT_EQ(keyVal.toStdU16String(), c.text.toStdU16String());
    }
}

TEST_F(WindowsRegistry, MissingKeyOrValueIsNotFound)
{
    QString keyVal = "left over";
    EXPECT_FALSE(sysInfo_.GetKeyValue(kHkeyCurrentUser, kTestKey + "\\missing", "PATH", keyVal));
    EXPECT_EQ(keyVal, "");
    keyVal = "left over";
    EXPECT_FALSE(sysInfo_.GetKeyValue(kHkeyCurrentUser, kTestKey, "missing", keyVal));
    EXPECT_EQ(keyVal, "");
}

TEST_F(WindowsRegistry, ReadsUnderTheLocalMachineKey)
{
    QString keyVal;
    EXPECT_TRUE(sysInfo_.GetKeyValue(vexa::kHkeyLocalMachine,
                                     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                     "SystemRoot", keyVal));
    EXPECT_FALSE(keyVal.isEmpty());
}

} // namespace
