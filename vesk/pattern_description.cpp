#include "vesk/pattern_description.h"

#include "vesk/agent.h"
#include "vesk/hex_text.h"

namespace vesk {

TPatternDescription DescribePattern(std::string_view text, std::int32_t elementCount) {
    TPatternDescription out;
    constexpr std::size_t Digits = FieldsPerBlock;
    if (text.size() % Digits != 0) {
        out.Problem = "Hexa string length must be a multiple of 5.";
        return out;
    }
    for (std::size_t start = 0; start < text.size(); start += Digits) {
        TBlockDescription d;
        d.Index = static_cast<std::int32_t>(start / Digits);
        d.Digits = std::string(text.substr(start, Digits));
        d.Dropped = d.Index >= MaxBlocks;
        // A dropped group is described by what it would read as; it covers no elements.
        TVesk one;
        one.LoadFromHex(d.Digits);
        d.Block = one.Block(0);
        // A valid group reads back as itself (letters in either case).
        std::string upper = d.Digits;
        for (char& c : upper)
            if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
        d.Zeroed = BlockHex(d.Block) != upper;
        if (!d.Dropped) {
            const TBlockInterval at = BlockInterval(d.Block, elementCount);
            d.First = at.First;
            d.Last = at.Last;
        }
        out.Blocks.push_back(std::move(d));
    }
    return out;
}

} // namespace vesk
