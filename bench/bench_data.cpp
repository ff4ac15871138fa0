#include "bench/bench_data.h"

#include <random>

#include "vesk/fuzzy_block.h"

namespace vesk::bench {

const char* const Pattern32 =
    "DB76D476749D2041640C3032CF707959756C7021F204B6E133793323C0597F64623142D721BBB368"
    "67745E957330003D22645406E4D0730631C9C33E7334F447168A71F1B6288941783671C601ABA12F";

const std::vector<std::string>& BatchPatterns() {
    static const std::vector<std::string> patterns = [] {
        constexpr int Count = 10000, Blocks = 16;
        std::mt19937 random(16100);
        std::vector<std::string> out;
        for (int p = 0; p < Count; ++p) {
            std::string hex;
            for (int b = 0; b < Blocks; ++b)
                for (const vesk::TBlockField& field : vesk::BlockFields)
                    hex += "0123456789ABCDEF"[std::uniform_int_distribution<int>(0, field.Highest)(
                        random)];
            out.push_back(std::move(hex));
        }
        return out;
    }();
    return patterns;
}

bool CheckSame(benchmark::State& state, bool ok, const char* what) {
    if (!ok)
        state.SkipWithError((std::string(what) + " differs from the reference result").c_str());
    return ok;
}

} // namespace vesk::bench
