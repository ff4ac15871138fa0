// Batches scored on several threads against one scorer on one thread, and the texts the fast
// decoder accepts against the ones the block list reads.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/fp_fault.h"
#include "vesk/batch_scoring.h"
#include "vesk/exact_hex.h"

namespace vesk {
namespace {

std::vector<TBlockList> RandomPatterns(std::mt19937& random, std::size_t count) {
    auto pick = [&random](std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(0, high)(random);
    };
    std::vector<TBlockList> patterns(count);
    for (TBlockList& blocks : patterns) {
        blocks.resize(static_cast<std::size_t>(pick(MaxBlocks)));
        for (TFuzzyBlock& B : blocks)
            B = {pick(15), pick(15), pick(7), pick(7), pick(15)};
    }
    return patterns;
}

TEST(BatchScorer, GivesWhatOneScorerGivesInInputOrder) {
    std::mt19937 random(5);
    for (std::int32_t n : {100, 1, 17, 5000}) {
        const std::vector<TBlockList> patterns = RandomPatterns(random, n == 5000 ? 600 : 3000);
        TBatchScorer batch(n, 2);
        EXPECT_EQ(batch.Threads(), 2);
        TPatternScorer single(n);
        std::vector<TPatternScore> expected;
        for (const TBlockList& blocks : patterns)
            expected.push_back(single.ScoreBlocks(blocks));
        EXPECT_EQ(batch.Score(patterns), expected) << n;
        EXPECT_EQ(batch.Score(patterns), expected) << n; // the scorers kept warm give the same

        std::vector<std::string> texts;
        for (const TBlockList& blocks : patterns) {
            TVesk list;
            for (TFuzzyBlock B : blocks)
                list.AddBlock(B);
            texts.push_back(list.SaveToHex());
        }
        texts.push_back("123"); // no score for a length not a multiple of 5
        const std::vector<std::string_view> views(texts.begin(), texts.end());
        const std::vector<std::optional<TPatternScore>> fromText = batch.Score(views);
        ASSERT_EQ(fromText.size(), texts.size());
        for (std::size_t i = 0; i < patterns.size(); ++i)
            EXPECT_EQ(fromText[i], expected[i]) << n << " " << texts[i];
        EXPECT_EQ(fromText.back(), std::nullopt);
    }
}

TEST(BatchScorer, FaultsReachTheCaller) {
    EXPECT_THROW(TBatchScorer(5, 2), EFloatingPointFault); // the reference cannot be built
    TBatchScorer empty(0, 2);
    std::mt19937 random(6);
    try {
        empty.Score(RandomPatterns(random, 1000));
        FAIL() << "no fault raised";
    } catch (const EFloatingPointFault& fault) {
        EXPECT_STREQ(fault.what(), "Invalid floating point operation");
    }
}

TEST(ReadExactPattern, DecodesExactlyTheExactTextsAsTheBlockListReadsThem) {
    std::mt19937 random(7);
    const std::string alphabet = "0123456789abcdefABCDEFG8 \x80";
    std::array<TFuzzyBlock, MaxBlocks> blocks;
    for (int k = 0; k < 20000; ++k) {
        std::string text(
            static_cast<std::size_t>(std::uniform_int_distribution<int>(0, 34)(random)) * 5, '0');
        for (std::size_t at = 0; at < text.size(); ++at) {
            // Mostly digits in range for their field (spread and repeats 0..7), a few not.
            const bool odd = std::uniform_int_distribution<int>(0, 199)(random) == 0;
            const std::size_t highest = at % 5 == 2 || at % 5 == 3 ? 7 : 21;
            text[at] =
                alphabet[odd ? std::uniform_int_distribution<std::size_t>(8, alphabet.size() -
                                                                                 1)(random)
                             : std::uniform_int_distribution<std::size_t>(0, highest)(random)];
        }
        const std::int32_t count = ReadExactPattern(text, blocks);
        ASSERT_EQ(count >= 0, IsExactPatternText(text)) << text;
        if (count < 0) continue;
        TVesk list;
        list.LoadFromHex(text);
        ASSERT_EQ(std::vector<TFuzzyBlock>(blocks.begin(), blocks.begin() + count), list.Blocks());
    }
}

} // namespace
} // namespace vesk
