// Both signature matchers must report exactly the occurrences a plain search finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "scan/index/byte_pair_scan.h"
#include "scan/index/literal_matcher.h"
#include "synth/random_filler.h"

namespace rsf {
namespace {

std::vector<std::vector<std::uint32_t>> PlainSearch(const std::vector<std::string>& patterns, Bytes text) {
  std::vector<std::vector<std::uint32_t>> starts(patterns.size());
  for (std::size_t id = 0; id < patterns.size(); ++id)
    for (std::size_t at = 0; at + patterns[id].size() <= text.size(); ++at)
      if (MatchesAt(text, at, patterns[id])) starts[id].push_back(static_cast<std::uint32_t>(at));
  return starts;
}

TEST(LiteralMatcherTest, BothImplementationsMatchAPlainSearch) {
  using namespace std::string_literals;
  const std::vector<std::string> patterns = {"BM", "RIFF", "\xFF\xD8\xFF\xE0"s, "\xFF\xD9"s, "\x00\x00\x01\xBA"s,
                                             "\x00\x00\x01\xB9"s, "moov", "AA", "AAA", "\xFF"s};
  // Random bytes over a small alphabet, so that overlapping and adjacent matches abound.
  synth::ByteVector text = synth::RandomBytes(20000, 42);
  const std::uint8_t alphabet[] = {'B', 'M', 'A', 0xFF, 0xD8, 0xD9, 0xE0, 0x00, 0x01, 0xBA, 0xB9};
  for (auto& byte : text) byte = alphabet[byte % sizeof alphabet];
  const auto expected = PlainSearch(patterns, text);

  // Plain random bytes, where the two-byte patterns are rare again.
  const synth::ByteVector sparse = synth::RandomBytes(70000, 7);
  std::vector<MatcherKind> kinds = {MatcherKind::kPortable};
  if (HyperscanAvailable()) kinds.insert(kinds.end(), {MatcherKind::kHyperscan, MatcherKind::kBest});
  for (MatcherKind kind : kinds) {
    auto matcher = MakeLiteralMatcher(patterns, kind);
    std::vector<std::vector<std::uint32_t>> found;
    // Blocks dense with two-byte matches, then sparse ones, then dense again: the best matcher
    // changes its way of finding them from block to block.
    for (int round = 0; round < 2; ++round) {
      matcher->FindAll(text, found);
      EXPECT_EQ(found, expected) << "matcher kind " << static_cast<int>(kind);
      matcher->FindAll(text, found);
      EXPECT_EQ(found, expected) << "matcher kind " << static_cast<int>(kind);
      matcher->FindAll(sparse, found);
      EXPECT_EQ(found, PlainSearch(patterns, sparse));
      matcher->FindAll(sparse, found);
      EXPECT_EQ(found, PlainSearch(patterns, sparse));
    }
    matcher->FindAll(text, found);
    matcher->FindAll(Bytes(text.data(), 3), found);
    EXPECT_EQ(found, PlainSearch(patterns, Bytes(text.data(), 3)));
    matcher->FindAll(Bytes(), found);
    EXPECT_EQ(found, std::vector<std::vector<std::uint32_t>>(patterns.size()));
    // The earliest start of any pattern, from every offset (a longer pattern may begin before
    // a shorter one that ends first).
    for (std::size_t from = 0; from < 400; from += 7) {
      const Bytes rest = Bytes(text).subspan(from);
      std::size_t earliest = std::string_view::npos;
      for (const auto& list : PlainSearch(patterns, rest))
        if (!list.empty()) earliest = std::min<std::size_t>(earliest, list.front());
      EXPECT_EQ(matcher->FindFirst(rest), earliest) << "from " << from;
    }
    EXPECT_EQ(matcher->FindFirst(Bytes()), std::string_view::npos);
    EXPECT_EQ(MakeLiteralMatcher({"\xFF\xD9"s}, kind)->FindFirst(Bytes(text.data(), 1)), std::string_view::npos);
  }
}

TEST(LiteralMatcherTest, TwoBytePatternsByEveryVectorWidth) {
  using namespace std::string_literals;
  const std::vector<std::string> patterns = {"BM", "MB", "\xFF\xD9"s, "BB"};
  const std::vector<BytePair> pairs = {{'B', 'M'}, {'M', 'B'}, {0xFF, 0xD9}, {'B', 'B'}};
  synth::ByteVector text = synth::RandomBytes(5000, 3);
  const std::uint8_t alphabet[] = {'B', 'M', 0xFF, 0xD9};
  for (auto& byte : text) byte = alphabet[byte % sizeof alphabet];
  for (const PairScanWidth width : {PairScanWidth::kBytes, PairScanWidth::kSse2, PairScanWidth::kAvx2}) {
    // Every length around the vector widths, and a long block.
    for (std::size_t length : {0, 1, 2, 15, 16, 17, 18, 31, 32, 33, 34, 65, 5000}) {
      const Bytes block(text.data(), length);
      std::vector<std::vector<std::uint32_t>> found(pairs.size() + 1, {7});
      FindBytePairs(block, pairs, 1, found, width);
      auto expected = PlainSearch(patterns, block);
      expected.insert(expected.begin(), {7});  // ids before first_id are left alone
      EXPECT_EQ(found, expected) << "width " << static_cast<int>(width) << ", length " << length;
    }
  }
}

}  // namespace
}  // namespace rsf
