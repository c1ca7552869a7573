// The walk memo: what it remembers of a walk, how it thins long walks and forgets unreachable
// points, and that whatever it answers is where the walk through that point ended.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "scan/walk/walk_memo.h"

namespace rsf {
namespace {

void WalkThrough(WalkMemo& memo, const std::vector<std::int64_t>& points, std::int64_t end) {
  WalkMemo::Walk walk(memo);
  for (std::int64_t point : points) walk.Pass(point);
  walk.End(end);
}

std::vector<std::int64_t> Points(std::int64_t first, std::int64_t count, std::int64_t step) {
  std::vector<std::int64_t> points;
  for (std::int64_t i = 0; i < count; ++i) points.push_back(first + i * step);
  return points;
}

TEST(WalkMemoTest, ShortWalksAreRememberedWhole) {
  WalkMemo memo;
  EXPECT_EQ(memo.Find(10), std::nullopt);
  WalkThrough(memo, {10, 20, 30}, 99);
  WalkThrough(memo, {-5, 0}, 7);
  EXPECT_EQ(memo.Find(10), 99);
  EXPECT_EQ(memo.Find(20), 99);
  EXPECT_EQ(memo.Find(30), 99);
  EXPECT_EQ(memo.Find(-5), 7);
  EXPECT_EQ(memo.Find(0), 7);
  EXPECT_EQ(memo.Find(15), std::nullopt);
  EXPECT_EQ(memo.Find(99), std::nullopt) << "the end itself was not passed";
  EXPECT_EQ(memo.size(), 5u);

  // A walk without points (it began where nothing could be read) leaves nothing behind.
  WalkThrough(memo, {}, 1234);
  EXPECT_EQ(memo.size(), 5u);
}

TEST(WalkMemoTest, LongWalksKeepTheirFirstPointsAndThenEveryEighth) {
  WalkMemo memo;
  const std::vector<std::int64_t> points = Points(1000, 1000, 8);
  WalkThrough(memo, points, 5'000'000);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::optional<std::int64_t> found = memo.Find(points[i]);
    if (i < WalkMemo::kDensePoints || (i - WalkMemo::kDensePoints) % WalkMemo::kSparseStride == 0)
      EXPECT_EQ(found, 5'000'000) << "point " << i;
    else
      EXPECT_EQ(found, std::nullopt) << "point " << i;
  }
}

TEST(WalkMemoTest, HugeWalksAreThinnedToTheLimitAndStillAnswerRightly) {
  constexpr std::size_t kLimit = 4096;
  WalkMemo memo(kLimit);
  const std::int64_t count = static_cast<std::int64_t>(kLimit) * WalkMemo::kSparseStride * 3;
  {
    WalkMemo::Walk walk(memo);
    for (std::int64_t i = 0; i < count; ++i) walk.Pass(i * 2);
    walk.End(-1);
  }
  EXPECT_LE(memo.size(), kLimit);
  EXPECT_GE(memo.size(), kLimit / 4);
  EXPECT_EQ(memo.Find(0), -1) << "the walk's first point is always kept";
  // Kept points stand evenly apart: a walk joining anywhere meets one soon.
  std::int64_t longest_gap = 0, last = 0;
  for (std::int64_t i = 0; i < count; ++i) {
    const std::optional<std::int64_t> found = memo.Find(i * 2);
    if (!found) continue;
    EXPECT_EQ(*found, -1);
    longest_gap = std::max(longest_gap, i - last);
    last = i;
  }
  EXPECT_LE(longest_gap, 64);
  EXPECT_EQ(memo.Find(1), std::nullopt);
}

TEST(WalkMemoTest, AFullMemoForgetsPointsNoWalkCanReachAgain) {
  constexpr std::size_t kLimit = 4096;
  WalkMemo memo(kLimit);
  const auto quarter = static_cast<std::int64_t>(kLimit / 4);
  // Four walks of short hops fill the memo; then the scan moves past the first three.
  for (std::int64_t walk = 0; walk < 4; ++walk) {
    for (std::int64_t part = 0; part < quarter; part += WalkMemo::kDensePoints)
      WalkThrough(memo, Points(walk * 10'000'000 + part * 4, WalkMemo::kDensePoints, 4), walk);
  }
  EXPECT_EQ(memo.size(), kLimit);
  memo.ForgetBelow(30'000'000);
  WalkThrough(memo, Points(50'000'000, 10, 4), 50);
  EXPECT_EQ(memo.size(), kLimit / 4 + 10);
  EXPECT_EQ(memo.Find(0), std::nullopt);
  EXPECT_EQ(memo.Find(30'000'000), 3);
  EXPECT_EQ(memo.Find(50'000'000), 50);
  // With nothing left to forget, a full memo starts afresh rather than grow.
  for (std::int64_t part = 0; part < 4 * quarter; part += WalkMemo::kDensePoints)
    WalkThrough(memo, Points(60'000'000 + part * 4, WalkMemo::kDensePoints, 4), 60);
  EXPECT_LE(memo.size(), kLimit);
  EXPECT_EQ(memo.Find(60'000'000 + (4 * quarter - WalkMemo::kDensePoints) * 4), 60) << "the newest walk is kept";
}

TEST(WalkMemoTest, TinyLimitsStillWork) {
  for (std::size_t limit : {0u, 1u, 3u}) {
    WalkMemo memo(limit);
    for (std::int64_t walk = 0; walk < 5; ++walk) WalkThrough(memo, Points(walk * 1000, 9, 4), walk);
    EXPECT_LE(memo.size(), WalkMemo::kMinPoints) << limit;
    EXPECT_EQ(memo.Find(4000), 4) << "the newest walk's first point";
  }
}

TEST(WalkMemoTest, ManyWalksNeverAnswerAWrongEnd) {
  // Random walks over a small range that often pass the same points: a point's answer is the
  // end of the walk that passed it last; never another.
  std::mt19937 rng(11);
  WalkMemo memo;
  std::map<std::int64_t, std::int64_t> truth;
  for (int walk = 0; walk < 3000; ++walk) {
    std::vector<std::int64_t> points;
    for (std::int64_t at = rng() % 5000; at < 5000 && points.size() < 200; at += 1 + rng() % 40) points.push_back(at);
    const std::int64_t end = walk;
    WalkThrough(memo, points, end);
    for (std::size_t i = 0; i < points.size(); ++i)
      if (i < WalkMemo::kDensePoints || (i - WalkMemo::kDensePoints) % WalkMemo::kSparseStride == 0) truth[points[i]] = end;
  }
  for (std::int64_t point = 0; point < 5000; ++point) {
    const auto known = truth.find(point);
    EXPECT_EQ(memo.Find(point), known == truth.end() ? std::nullopt : std::optional<std::int64_t>(known->second)) << point;
  }
}

}  // namespace
}  // namespace rsf
