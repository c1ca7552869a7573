// The read arithmetic of the CD streams: byte reads as sector requests (spans, the 16-bit split,
// trimming at the medium's end) over a device with failing sectors, directly and through
// TCDStream over a fake ASPI library with random capacity, answers and request status. The input
// is a list of operations; every byte that comes back must be the disc's byte at its offset.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "cd/BasicASPI.h"
#include "cd/sector_reads.h"
#include "fake_aspi_library.h"
#include "fuzz_support.h"

namespace {

constexpr std::int64_t kLongestRead = 140'000'000;  // just over 65,535 sectors: one split

std::int64_t Count(FuzzedDataProvider& in) {
  // Mostly short reads; now and then (they are slow) one that has to be split.
  if (in.ConsumeIntegralInRange<int>(0, 255) == 0) return in.ConsumeIntegralInRange<std::int64_t>(0, kLongestRead);
  return in.ConsumeIntegralInRange<std::int64_t>(-2, 3 * 2048 + 7);
}

std::int64_t Position(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return in.ConsumeIntegral<std::int64_t>();
    case 1: return std::numeric_limits<std::int64_t>::max() - in.ConsumeIntegralInRange<std::int64_t>(0, 1 << 20);
    case 2: return in.ConsumeIntegralInRange<std::int64_t>(0, std::int64_t{1} << 44);
    default: return in.ConsumeIntegralInRange<std::int64_t>(-4096, 1 << 22);
  }
}

RSF_FUZZ_UNTRACED void CheckDiscBytes(const std::vector<std::uint8_t>& buffer, std::int64_t position, std::int64_t count) {
  RSF_FUZZ_CHECK(position >= 0 && position <= std::numeric_limits<std::int64_t>::max() - count);
  for (std::int64_t i = 0; i < count; ++i)
    RSF_FUZZ_CHECK(buffer[static_cast<std::size_t>(i)] == rsf::fuzz::DiscByte(position + i));
}

RSF_FUZZ_UNTRACED void FillDiscBytes(std::uint8_t* into, std::int64_t first_sector, std::int64_t sectors) {
  const auto base = static_cast<std::uint64_t>(first_sector) * rsf::kCdSectorSize;
  for (std::int64_t i = 0; i < sectors * rsf::kCdSectorSize; ++i)
    into[i] = rsf::fuzz::DiscByte(static_cast<std::int64_t>(base + static_cast<std::uint64_t>(i)));
}

RSF_FUZZ_UNTRACED bool AnyBad(const std::set<std::int64_t>& bad, std::int64_t first, std::int64_t sectors) {
  const auto next = bad.lower_bound(first);
  return next != bad.end() && *next < first + sectors;
}

// ReadBytesThroughSectors against a device held in the fuzz input.
void FuzzSectorReads(FuzzedDataProvider& in) {
  std::set<std::int64_t> bad;
  for (int i = in.ConsumeIntegralInRange<int>(0, 4); i > 0; --i) bad.insert(in.ConsumeIntegralInRange<std::int64_t>(0, 3000));
  const std::int64_t limit = in.ConsumeBool() ? -1 : in.ConsumeIntegralInRange<std::int64_t>(0, 1 << 24);
  const std::int64_t position = Position(in);
  const std::int64_t count = Count(in);
  if (count <= 0 || count > kLongestRead) {
    std::uint8_t none = 0;
    RSF_FUZZ_CHECK(!rsf::ReadBytesThroughSectors(position, count, &none, limit, [](auto...) { return true; }));
    return;
  }
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(count), 0xA5);
  std::int64_t next_sector = -1;
  const bool read = rsf::ReadBytesThroughSectors(
      position, count, buffer.data(), limit, [&](std::int64_t first, std::uint16_t sectors, std::uint8_t* into) {
        RSF_FUZZ_CHECK(sectors > 0);
        RSF_FUZZ_CHECK(next_sector < 0 || first == next_sector);  // pieces follow each other
        next_sector = first + sectors;
        if (AnyBad(bad, first, sectors)) return false;
        FillDiscBytes(into, first, sectors);
        return true;
      });
  if (position < 0) RSF_FUZZ_CHECK(!read);
  if (!read) return;
  // Every sector the bytes need was asked for, none beyond the medium that they do not need.
  RSF_FUZZ_CHECK(next_sector >= (position + count - 1) / rsf::kCdSectorSize + 1);
  if (limit >= 0) RSF_FUZZ_CHECK(next_sector <= std::max(limit, (position + count - 1) / rsf::kCdSectorSize + 1));
  CheckDiscBytes(buffer, position, count);
}

// TCDStream over the fake library: its size from READ CAPACITY, seeks and reads.
void FuzzAspiStream(FuzzedDataProvider& in) {
  std::vector<rsf::fuzz::Answer> answers;
  for (int i = in.ConsumeIntegralInRange<int>(0, 4); i > 0; --i)
    answers.push_back(static_cast<rsf::fuzz::Answer>(in.ConsumeIntegralInRange<int>(0, rsf::fuzz::kAnswerCount - 1)));
  rsf::fuzz::FakeAspiLibrary library(answers);
  for (std::uint8_t& byte : library.capacity) byte = in.ConsumeIntegral<std::uint8_t>();
  if (in.ConsumeBool()) library.status_byte = in.ConsumeIntegral<std::uint8_t>();
  library.refusal_code = in.ConsumeIntegral<std::uint8_t>();
  for (int i = in.ConsumeIntegralInRange<int>(0, 3); i > 0; --i) library.bad_blocks.insert(in.ConsumeIntegralInRange<std::uint32_t>(0, 200));

  rsf::TCDStream stream(0, 1, 0);
  for (int op = 0; op < 8 && in.remaining_bytes() > 0; ++op) {
    const int origin = in.ConsumeIntegralInRange<int>(0, 3);
    const std::int64_t before = stream.Position();
    const std::int64_t offset = Position(in);
    const std::int64_t moved = stream.Seek(offset, origin);
    if (origin > 2) RSF_FUZZ_CHECK(moved == -1 && stream.Position() == before);
    const std::int64_t position = stream.Position();
    std::int64_t count = Count(in);
    if (count > (1 << 22)) count = 1 << 22;  // the split is the sector-read part's business
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)) + 1);
    const std::int64_t got = stream.Read(buffer.data(), count);
    if (count <= 0) {
      RSF_FUZZ_CHECK(got == 0);
      continue;
    }
    // The whole count or nothing, and the position moves only by what arrived.
    RSF_FUZZ_CHECK(got == count || got == -1);
    RSF_FUZZ_CHECK(stream.Position() == (got == count ? position + count : position));
    if (got == count) CheckDiscBytes(buffer, position, count);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool())
    FuzzSectorReads(in);
  else
    FuzzAspiStream(in);
  return 0;
}
