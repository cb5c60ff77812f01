// The HAM row search: hand-worked rows where looking ahead beats the greedy
// choice by a known error, and random rows against an exhaustive search over
// every colour HAM6 can hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>

#include "encode/ham_search.h"

namespace planora::test {
namespace {

using encode::Rgb;

std::vector<uint8_t> ParseColours(const std::string& list) {
    std::vector<uint8_t> rgb;
    std::istringstream in(list);
    for (std::string hex; std::getline(in, hex, ',');) {
        const uint32_t v = uint32_t(std::stoul(hex, nullptr, 16));
        rgb.insert(rgb.end(), {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    }
    return rgb;
}

int64_t ErrorShown(const encode::HamModel& model, const std::vector<uint8_t>& codes, const std::vector<uint8_t>& wanted) {
    const std::vector<Rgb> shown = encode::ShowHamRow(model, codes.data(), int32_t(codes.size()));
    int64_t error = 0;
    for (size_t x = 0; x < shown.size(); ++x)
        for (int c = 0; c < 3; ++c) {
            const int d = (c == 0 ? shown[x].R : c == 1 ? shown[x].G : shown[x].B) - wanted[3 * x + size_t(c)];
            error += d * d;
        }
    return error;
}

TEST(HamSearch, HandWorkedRows) {
    std::ifstream table(PLANORA_TEST_DATA "/ham_rows.tsv");
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        std::string name, mode, bases, row;
        int64_t greedy = 0, best = 0;
        std::getline(in, name, '\t');
        in >> mode >> bases >> row >> greedy >> best;
        SCOPED_TRACE(name);
        const std::vector<uint8_t> baseBytes = ParseColours(bases), wanted = ParseColours(row);
        std::vector<Rgb> palette(mode == "ham6" ? 16 : 64, Rgb{baseBytes[0], baseBytes[1], baseBytes[2]});
        for (size_t i = 0; 3 * i < baseBytes.size(); ++i) palette[i] = {baseBytes[3 * i], baseBytes[3 * i + 1], baseBytes[3 * i + 2]};
        const encode::HamModel model = mode == "ham6" ? encode::Ham6Model(palette) : encode::Ham8Model(palette);
        const int32_t width = int32_t(wanted.size() / 3);
        const encode::HamRow one = encode::SearchHamRow(model, wanted.data(), width, 1);
        const encode::HamRow beam = encode::SearchHamRow(model, wanted.data(), width, 8);
        EXPECT_EQ(one.Error, greedy);
        EXPECT_EQ(beam.Error, best);
        EXPECT_EQ(ErrorShown(model, beam.Codes, wanted), best);
        EXPECT_EQ(beam.Codes[0] >> model.ValueBits, 0);
        ++rows;
    }
    EXPECT_EQ(rows, 4);
}

// The least error of any HAM6 codes for the row, by dynamic programming over
// all 4096 colours the display can hold (every one 12-bit: the bases are).
int64_t ExhaustiveHam6(const encode::HamModel& model, const std::vector<uint8_t>& wanted) {
    constexpr int64_t kNone = std::numeric_limits<int64_t>::max() / 2;
    auto key = [](Rgb c) { return size_t(c.R / 17) << 8 | size_t(c.G / 17) << 4 | size_t(c.B / 17); };
    auto error = [&](Rgb c, size_t x) {
        const int dr = c.R - wanted[3 * x], dg = c.G - wanted[3 * x + 1], db = c.B - wanted[3 * x + 2];
        return int64_t(dr * dr + dg * dg + db * db);
    };
    std::vector<int64_t> cost(4096, kNone), next(4096);
    for (const Rgb& base : model.Bases) cost[key(base)] = std::min(cost[key(base)], error(base, 0));
    for (size_t x = 1; 3 * x < wanted.size(); ++x) {
        std::fill(next.begin(), next.end(), kNone);
        const int64_t cheapest = *std::min_element(cost.begin(), cost.end());
        for (const Rgb& base : model.Bases) next[key(base)] = std::min(next[key(base)], cheapest + error(base, x));
        for (size_t held = 0; held < 4096; ++held) {
            if (cost[held] == kNone) continue;
            const Rgb from{uint8_t((held >> 8) * 17), uint8_t((held >> 4 & 15) * 17), uint8_t((held & 15) * 17)};
            for (int code = 16; code < 64; ++code) {
                const Rgb to = encode::HamStep(model, from, uint8_t(code));
                next[key(to)] = std::min(next[key(to)], cost[held] + error(to, x));
            }
        }
        cost.swap(next);
    }
    return *std::min_element(cost.begin(), cost.end());
}

TEST(HamSearch, RandomRowsNearTheExhaustiveSearch) {
    std::mt19937 random(19);
    int64_t exhaustive = 0, beam = 0, greedy = 0;
    for (int row = 0; row < 30; ++row) {
        std::vector<Rgb> bases;
        for (int i = 0; i < 16; ++i) bases.push_back({uint8_t(random() % 16 * 17), uint8_t(random() % 16 * 17), uint8_t(random() % 16 * 17)});
        const encode::HamModel model = encode::Ham6Model(bases);
        // A random walk: neighbours alike, as in photographs, with jumps.
        std::vector<uint8_t> wanted(3);
        for (uint8_t& v : wanted) v = uint8_t(random());
        for (int x = 1; x < 12; ++x)
            for (int c = 0; c < 3; ++c) {
                const int step = random() % 8 == 0 ? int(random() % 256) - 128 : int(random() % 41) - 20;
                wanted.push_back(uint8_t(std::clamp(wanted[wanted.size() - 3] + step, 0, 255)));
            }
        const encode::HamRow searched = encode::SearchHamRow(model, wanted.data(), 12, 8);
        const int64_t best = ExhaustiveHam6(model, wanted);
        EXPECT_EQ(ErrorShown(model, searched.Codes, wanted), searched.Error);
        EXPECT_GE(searched.Error, best);
        exhaustive += best, beam += searched.Error;
        greedy += encode::SearchHamRow(model, wanted.data(), 12, 1).Error;
    }
    // The beam comes within 2% of the optimum; greedy is well off it.
    EXPECT_LE(double(beam), 1.02 * double(exhaustive));
    EXPECT_GE(double(greedy), 1.1 * double(beam));
}

}  // namespace
}  // namespace planora::test
