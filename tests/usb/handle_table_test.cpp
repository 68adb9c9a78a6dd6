#include "usb/handle_table.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using vexa::HandleTable;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(HandleTable, IdsIncreaseAndAClosedIdIsNotReissuedAtOnce)
{
    HandleTable<char> table;
    EXPECT_EQ(table.insert('a'), 1);
    EXPECT_EQ(table.insert('b'), 2);
    EXPECT_EQ(table.take(1), 'a');
    EXPECT_EQ(table.insert('c'), 3);
    EXPECT_EQ(table.find(1), std::nullopt);
    EXPECT_EQ(table.find(3), 'c');
}

TEST(HandleTable, WrapsToOneSkippingZeroAndIdsInUse)
{
    HandleTable<char> table(kMax - 2);
    EXPECT_EQ(table.insert('a'), kMax - 1);
    EXPECT_EQ(table.insert('b'), kMax);
    EXPECT_EQ(table.insert('c'), 1);
    EXPECT_EQ(table.insert('d'), 2);
    EXPECT_EQ(table.take(kMax - 1), 'a');
    EXPECT_EQ(table.take(1), 'c');
    // Ids 2 and kMax are still in use: the next ones go round them.
    EXPECT_EQ(table.insert('e'), 3);

    HandleTable<char> wrapping(kMax - 1);
    EXPECT_EQ(wrapping.insert('x'), kMax);
    EXPECT_EQ(wrapping.insert('y'), 1);
    EXPECT_EQ(wrapping.take(1), 'y');
    EXPECT_EQ(wrapping.insert('z'), 2);
}

TEST(HandleTable, TakingAnUnknownOrTakenIdFindsNothing)
{
    HandleTable<char> table;
    const std::int32_t id = table.insert('a');
    EXPECT_EQ(table.take(id), 'a');
    for (const std::int32_t unknown : {id, 0, -1, 2, kMax})
        EXPECT_EQ(table.take(unknown), std::nullopt) << unknown;
}

TEST(HandleTable, TakeAllEmptiesTheTable)
{
    HandleTable<char> table;
    table.insert('a');
    const std::int32_t b = table.insert('b');
    table.insert('c');
    table.take(b);
    EXPECT_EQ(table.takeAll(), (std::vector<char>{'a', 'c'}));
    EXPECT_TRUE(table.takeAll().empty());
}

} // namespace
