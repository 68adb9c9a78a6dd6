#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "about/file_probe.h"
#include "about/message_display.h"
#include "about/program_launcher.h"
#include "about/registry.h"
#include "support/formatted.h"

namespace vexa::testing {

struct FakeValue {
    std::uint32_t type;
    std::string data; // the stored bytes; string values as utf16Bytes() makes them
};

// A registry of keys under HKEY_LOCAL_MACHINE that records every call as a
// line ("open 80000002 SOFTWARE\... 20019", "query 1 PATH", "close 1") and, like
// Windows, refuses to open a key for more rights than grantedAccess.
class FakeRegistry : public Registry {
public:
    std::map<QString, std::map<QString, FakeValue>> keys;
    std::map<QString, QString> environment; // what %NAME% expands to
    bool expansionFails = false;
    std::uint32_t grantedAccess = 0x20019;
    std::vector<std::string> calls;

    void set(const QString& key, const QString& value, FakeValue contents)
    {
        keys[key][value] = std::move(contents);
    }

    std::int32_t openKey(std::uint32_t root, const QString& keyName, std::uint32_t access,
                         RegistryKey& key) override
    {
        calls.push_back(formatted("open %08X ", root) + keyName.toStdString() +
                        formatted(" %X", access));
        if (root != kHkeyLocalMachine || !keys.count(keyName))
            return kRegistryNotFound;
        if ((access & ~grantedAccess) != 0)
            return kRegistryAccessDenied;
        opened_.push_back(keyName);
        key = opened_.size();
        return kRegistrySuccess;
    }

    std::int32_t queryValue(RegistryKey key, const QString& valueName, std::uint32_t& type,
                            std::uint8_t* data, std::uint32_t& size) override
    {
        calls.push_back(formatted("query %zu ", key) + valueName.toStdString());
        if (std::any_of(data, data + size, [](std::uint8_t byte) { return byte != 0; }))
            calls.emplace_back("buffer not cleared");
        const auto& values = keys.at(opened_.at(key - 1));
        const auto value = values.find(valueName);
        if (value == values.end())
            return kRegistryNotFound;
        const std::string& stored = value->second.data;
        type = value->second.type;
        if (stored.size() > size) {
            size = static_cast<std::uint32_t>(stored.size());
            return kRegistryMoreData;
        }
        std::memcpy(data, stored.data(), stored.size());
        size = static_cast<std::uint32_t>(stored.size());
        return kRegistrySuccess;
    }

    void closeKey(RegistryKey key) override { calls.push_back(formatted("close %zu", key)); }

    std::optional<QString> expandEnvironmentStrings(const QString& text) override
    {
        if (expansionFails)
            return std::nullopt;
        QString expanded = text;
        for (const auto& [name, value] : environment)
            expanded.replace(QLatin1Char('%') + name + QLatin1Char('%'), value);
        return expanded;
    }

private:
    std::vector<QString> opened_;
};

class FakeFileProbe : public FileProbe {
public:
    std::set<QString> files;
    QStringList asked;

    bool isOrdinaryFile(const QString& path) override
    {
        asked.push_back(path);
        return files.count(path) > 0;
    }
};

// Starts only the programs it knows, recording each attempt.
class FakeLauncher : public ProgramLauncher {
public:
    std::set<QString> programs;
    QStringList attempts;

    bool startDetached(const QString& program) override
    {
        attempts.push_back(program);
        return programs.count(program) > 0;
    }
};

class FakeMessages : public MessageDisplay {
public:
    std::vector<std::pair<QString, QString>> shown; // caption, text

    void showMessage(const QString& caption, const QString& text) override
    {
        shown.emplace_back(caption, text);
    }
};

} // namespace vexa::testing
