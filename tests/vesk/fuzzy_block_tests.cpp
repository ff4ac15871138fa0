#include <gtest/gtest.h>

#include "vesk/fuzzy_block.h"

namespace vesk {
namespace {

TFuzzyBlock Block(std::int32_t s, std::int32_t c, std::int32_t sp, std::int32_t r, std::int32_t o) {
    return TFuzzyBlock{s, c, sp, r, o};
}

TEST(FuzzyBlock, ValidateKeepsTheUpperBoundsAndZeroesEveryFieldOfAnInvalidBlock) {
    TFuzzyBlock top = Block(15, 15, 7, 7, 15);
    EXPECT_TRUE(top.Validate());
    EXPECT_EQ(top, Block(15, 15, 7, 7, 15));

    for (TFuzzyBlock bad : {Block(3, 16, 2, 1, 4), Block(-1, 0, 0, 0, 0), Block(0, 0, 8, 0, 0),
                            Block(1, 2, 3, 8, 4), Block(16, 1, 1, 1, 1), Block(1, 1, 1, 1, -1)}) {
        EXPECT_FALSE(bad.Validate());
        EXPECT_EQ(bad, TFuzzyBlock{});
    }
}

TEST(BlockList, AddBlockRefusesAnInvalidBlockButLeavesItZeroedAndUsable) {
    TVesk list;
    TFuzzyBlock block = Block(1, 2, 8, 3, 4);
    EXPECT_EQ(list.AddBlock(block), -1);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(block, TFuzzyBlock{});
    EXPECT_EQ(list.AddBlock(block), 0);
    EXPECT_EQ(list.Count(), 1);
}

TEST(BlockList, HoldsAtMost32BlocksAndValidatesBeforeTheCountTest) {
    TVesk list;
    for (std::int32_t i = 0; i < MaxBlocks; ++i) {
        TFuzzyBlock block = Block(i % 16, 15 - i % 16, i % 8, 7 - i % 8, i % 16);
        ASSERT_EQ(list.AddBlock(block), i);
    }
    TFuzzyBlock valid = Block(5, 6, 7, 1, 2);
    EXPECT_EQ(list.AddBlock(valid), -1);
    EXPECT_EQ(valid, Block(5, 6, 7, 1, 2));

    TFuzzyBlock invalid = Block(5, 6, 7, 1, 99);
    EXPECT_EQ(list.AddBlock(invalid), -1);
    EXPECT_EQ(invalid, TFuzzyBlock{});
    EXPECT_EQ(list.Count(), MaxBlocks);
    EXPECT_EQ(list.Block(31), Block(15, 0, 7, 0, 15));

    list.ClearBlocks();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.AddBlock(valid), 0);
    list.ClearBlocks();
    list.ClearBlocks();
    EXPECT_EQ(list.Count(), 0);
}

} // namespace
} // namespace vesk
