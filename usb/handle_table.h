#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <vector>

namespace vexa {

// Hands out the 32-bit handles that stand for open devices. Ids increase,
// skip 0 and any id still in use, and wrap from the largest int32 back to 1,
// so a closed handle is not reissued until every other id has had its turn.
template <typename Resource>
class HandleTable {
public:
    // lastIssued lets a test start near the wrap-around.
    explicit HandleTable(std::int32_t lastIssued = 0) : last_(lastIssued < 0 ? 0 : lastIssued) {}

    // Returns 0 only when every positive id is taken.
    std::int32_t insert(Resource resource)
    {
        for (std::int64_t tries = 0; tries < std::numeric_limits<std::int32_t>::max(); ++tries) {
            last_ = last_ == std::numeric_limits<std::int32_t>::max() ? 1 : last_ + 1;
            if (entries_.try_emplace(last_, resource).second)
                return last_;
        }
        return 0;
    }

    std::optional<Resource> find(std::int32_t id) const
    {
        const auto it = entries_.find(id);
        if (it == entries_.end())
            return std::nullopt;
        return it->second;
    }

    // Removes and returns the resource of id, if id is in use.
    std::optional<Resource> take(std::int32_t id)
    {
        const auto node = entries_.extract(id);
        if (node.empty())
            return std::nullopt;
        return node.mapped();
    }

    // Empties the table, handing back every resource that was still in it.
    std::vector<Resource> takeAll()
    {
        std::vector<Resource> resources;
        for (const auto& [id, resource] : entries_)
            resources.push_back(resource);
        entries_.clear();
        return resources;
    }

private:
    std::int32_t last_;
    std::map<std::int32_t, Resource> entries_;
};

} // namespace vexa
