// Sample tables and track runs read from memory, every field bounds-checked. Hostile tables
// cost at most one pass over their own entries: chunk sizes come from prefix sums of the
// sample sizes, and a chunk that claims more samples than the track has takes what is left.
#include "scan/detectors/precise/movie_media_end.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/byte_cursor.h"

namespace rsf {
namespace {

struct Box {
  std::string_view type;
  Bytes body;
};

// The boxes laid one after another in `bytes`; stops at the first that does not fit. A size
// of 0 takes the rest, a size of 1 the 64-bit size after the type.
std::vector<Box> Children(Bytes bytes) {
  std::vector<Box> boxes;
  ByteCursor cursor(bytes);
  while (cursor.Remaining() >= 8) {
    const Bytes at = cursor.Rest();
    const std::uint32_t size32 = *cursor.ReadBE32();
    const Bytes type = *cursor.ReadBytes(4);
    std::uint64_t size = size32;
    std::size_t header = 8;
    if (size32 == 1) {
      const std::optional<std::uint64_t> large = cursor.ReadBE64();
      if (!large) break;
      size = *large;
      header = 16;
    } else if (size32 == 0) {
      size = at.size();
    }
    if (size < header || size > at.size()) break;
    boxes.push_back({std::string_view(reinterpret_cast<const char*>(type.data()), 4),
                     at.subspan(header, static_cast<std::size_t>(size) - header)});
    cursor = ByteCursor(at.subspan(static_cast<std::size_t>(size)));
  }
  return boxes;
}

std::optional<Bytes> Child(Bytes bytes, std::string_view type) {
  for (const Box& box : Children(bytes))
    if (box.type == type) return box.body;
  return std::nullopt;
}

// The sample sizes of a track (`stsz`, or the compact `stz2` with 4-, 8- or 16-bit fields): one
// size for all, or a table kept as prefix sums (sums[i]: the size of the first i samples).
// No movie inside a source of signed 32-bit offsets places data this far: hostile sums stop here
// instead of overflowing.
constexpr std::int64_t kFarBeyondAnySource = std::int64_t{1} << 40;

struct SampleSizes {
  std::int64_t count = 0;
  std::int64_t uniform = 0;
  std::vector<std::int64_t> sums;
  std::int64_t Sum(std::int64_t first, std::int64_t last) const {
    if (uniform != 0) return last - first > kFarBeyondAnySource / uniform ? kFarBeyondAnySource : (last - first) * uniform;
    return sums[static_cast<std::size_t>(last)] - sums[static_cast<std::size_t>(first)];
  }
};

std::optional<SampleSizes> ReadSampleSizes(Bytes stbl) {
  SampleSizes sizes;
  sizes.sums.push_back(0);
  if (const std::optional<Bytes> stsz = Child(stbl, "stsz")) {
    ByteCursor cursor(*stsz);
    const std::optional<std::uint32_t> uniform = cursor.Skip(4) ? cursor.ReadBE32() : std::nullopt;
    const std::optional<std::uint32_t> count = cursor.ReadBE32();
    if (!uniform || !count) return std::nullopt;
    sizes.count = *count;
    sizes.uniform = *uniform;
    if (*uniform != 0) return sizes;
    if (*count > cursor.Remaining() / 4) return std::nullopt;
    sizes.sums.reserve(std::size_t{*count} + 1);
    for (std::uint32_t i = 0; i < *count; ++i) sizes.sums.push_back(sizes.sums.back() + *cursor.ReadBE32());
    return sizes;
  }
  if (const std::optional<Bytes> stz2 = Child(stbl, "stz2")) {
    ByteCursor cursor(*stz2);
    const std::optional<std::uint8_t> bits = cursor.Skip(7) ? cursor.ReadU8() : std::nullopt;
    const std::optional<std::uint32_t> count = cursor.ReadBE32();
    if (!bits || !count || (*bits != 4 && *bits != 8 && *bits != 16)) return std::nullopt;
    const Bytes table = cursor.Rest();
    if (std::uint64_t{*count} * *bits > std::uint64_t{table.size()} * 8) return std::nullopt;
    sizes.count = *count;
    for (std::uint32_t i = 0; i < *count; ++i) {
      std::int64_t size = 0;
      if (*bits == 16)
        size = *ReadBE16(table, 2 * std::size_t{i});
      else if (*bits == 8)
        size = table[i];
      else
        size = i % 2 == 0 ? table[i / 2] >> 4 : table[i / 2] & 0x0F;
      sizes.sums.push_back(sizes.sums.back() + size);
    }
    return sizes;
  }
  return std::nullopt;
}

std::optional<std::vector<std::int64_t>> ChunkOffsets(Bytes stbl) {
  const bool wide = !Child(stbl, "stco").has_value();
  const std::optional<Bytes> table = wide ? Child(stbl, "co64") : Child(stbl, "stco");
  if (!table) return std::nullopt;
  ByteCursor cursor(*table);
  const std::optional<std::uint32_t> count = cursor.Skip(4) ? cursor.ReadBE32() : std::nullopt;
  if (!count || *count > cursor.Remaining() / (wide ? 8 : 4)) return std::nullopt;
  std::vector<std::int64_t> offsets;
  offsets.reserve(*count);
  for (std::uint32_t i = 0; i < *count; ++i) {
    const std::uint64_t offset = wide ? *cursor.ReadBE64() : *cursor.ReadBE32();
    if (offset > static_cast<std::uint64_t>(kFarBeyondAnySource)) return std::nullopt;
    offsets.push_back(static_cast<std::int64_t>(offset));
  }
  return offsets;
}

// One track's furthest media byte, or nullopt when its tables are missing or break off.
std::optional<std::int64_t> TrackDataEnd(Bytes stbl) {
  const std::optional<SampleSizes> sizes = ReadSampleSizes(stbl);
  const std::optional<std::vector<std::int64_t>> offsets = ChunkOffsets(stbl);
  const std::optional<Bytes> stsc = Child(stbl, "stsc");
  if (!sizes || !offsets || !stsc) return std::nullopt;
  ByteCursor cursor(*stsc);
  const std::optional<std::uint32_t> entries = cursor.Skip(4) ? cursor.ReadBE32() : std::nullopt;
  if (!entries || *entries == 0 || *entries > cursor.Remaining() / 12) return std::nullopt;
  struct Run {
    std::uint32_t first_chunk, samples;
  };
  std::vector<Run> runs;
  for (std::uint32_t i = 0; i < *entries; ++i) {
    const std::uint32_t first = *cursor.ReadBE32(), samples = *cursor.ReadBE32();
    cursor.Skip(4);
    if (first == 0 || (!runs.empty() && first <= runs.back().first_chunk)) return std::nullopt;
    runs.push_back({first, samples});
  }
  const std::int64_t sample_count = sizes->count;
  std::int64_t sample = 0, end = 0;
  std::size_t run = 0;
  for (std::size_t chunk = 1; chunk <= offsets->size() && sample < sample_count; ++chunk) {
    while (run + 1 < runs.size() && runs[run + 1].first_chunk <= chunk) ++run;
    if (runs[run].first_chunk > chunk) return std::nullopt;
    const std::int64_t last = std::min<std::int64_t>(sample + runs[run].samples, sample_count);
    const std::int64_t bytes = sizes->Sum(sample, last);
    if (bytes >= kFarBeyondAnySource) return std::nullopt;
    if (bytes > 0) end = std::max(end, (*offsets)[chunk - 1] + bytes);
    sample = last;
  }
  if (end == 0) return std::nullopt;
  return end;
}

}  // namespace

std::optional<std::int64_t> MediaDataEnd(Bytes moov) {
  std::optional<std::int64_t> end;
  for (const Box& trak : Children(moov)) {
    if (trak.type != "trak") continue;
    const std::optional<Bytes> mdia = Child(trak.body, "mdia");
    const std::optional<Bytes> minf = mdia ? Child(*mdia, "minf") : std::nullopt;
    const std::optional<Bytes> stbl = minf ? Child(*minf, "stbl") : std::nullopt;
    if (!stbl) continue;
    if (const std::optional<std::int64_t> track_end = TrackDataEnd(*stbl)) end = std::max(end.value_or(0), *track_end);
  }
  return end;
}

std::optional<std::int64_t> FragmentDataEnd(Bytes moof, std::int64_t moof_offset) {
  constexpr std::uint32_t kBaseDataOffset = 0x1, kSampleDescription = 0x2, kDefaultDuration = 0x8,
                          kDefaultSize = 0x10;
  constexpr std::uint32_t kDataOffset = 0x1, kFirstSampleFlags = 0x4, kSampleDuration = 0x100, kSampleSize = 0x200,
                          kSampleFlags = 0x400, kCompositionOffset = 0x800;
  std::optional<std::int64_t> end;
  for (const Box& traf : Children(moof)) {
    if (traf.type != "traf") continue;
    const std::optional<Bytes> tfhd = Child(traf.body, "tfhd");
    if (!tfhd) return std::nullopt;
    ByteCursor head(*tfhd);
    const std::optional<std::uint32_t> head_flags = head.ReadBE32();
    if (!head_flags || !head.Skip(4)) return std::nullopt;
    std::int64_t base = moof_offset;
    if (*head_flags & kBaseDataOffset) {
      const std::optional<std::uint64_t> offset = head.ReadBE64();
      if (!offset || *offset > static_cast<std::uint64_t>(kFarBeyondAnySource)) return std::nullopt;
      base = static_cast<std::int64_t>(*offset);
    }
    if ((*head_flags & kSampleDescription) && !head.Skip(4)) return std::nullopt;
    if ((*head_flags & kDefaultDuration) && !head.Skip(4)) return std::nullopt;
    std::optional<std::uint32_t> default_size;
    if (*head_flags & kDefaultSize) default_size = head.ReadBE32();
    for (const Box& trun : Children(traf.body)) {
      if (trun.type != "trun") continue;
      ByteCursor run(trun.body);
      const std::optional<std::uint32_t> flags = run.ReadBE32();
      const std::optional<std::uint32_t> count = run.ReadBE32();
      if (!flags || !count) return std::nullopt;
      std::int64_t data = base;
      if (*flags & kDataOffset) {
        const std::optional<std::uint32_t> offset = run.ReadBE32();
        if (!offset) return std::nullopt;
        data += static_cast<std::int32_t>(*offset);
      }
      if ((*flags & kFirstSampleFlags) && !run.Skip(4)) return std::nullopt;
      const std::size_t per_sample = 4u * (((*flags & kSampleDuration) != 0) + ((*flags & kSampleSize) != 0) +
                                           ((*flags & kSampleFlags) != 0) + ((*flags & kCompositionOffset) != 0));
      if (per_sample != 0 && *count > run.Remaining() / per_sample) return std::nullopt;
      if (!(*flags & kSampleSize) && !default_size) return std::nullopt;
      std::int64_t bytes = 0;
      for (std::uint32_t i = 0; i < *count && (*flags & kSampleSize); ++i) {
        if (*flags & kSampleDuration) run.Skip(4);
        bytes += *run.ReadBE32();
        run.Skip(per_sample - 4 - ((*flags & kSampleDuration) ? 4 : 0));
      }
      if (!(*flags & kSampleSize)) {
        if (std::uint64_t{*count} * *default_size > static_cast<std::uint64_t>(kFarBeyondAnySource)) return std::nullopt;
        bytes = std::int64_t{*count} * *default_size;
      }
      if (data < 0 || bytes <= 0) continue;
      if (bytes >= kFarBeyondAnySource) return std::nullopt;
      end = std::max(end.value_or(0), data + bytes);
    }
  }
  return end;
}

}  // namespace rsf
