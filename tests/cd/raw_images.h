// Disc images written to a folder for the tests: counting data bytes as raw sectors, audio
// samples behind them, and their sheet.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cd/raw_image_stream.h"
#include "support/scan_harness.h"
#include "synth/cd_sector_synth.h"

namespace rsf::test {

using synth::ByteVector;

inline std::uint8_t Counting(std::int64_t n) { return static_cast<std::uint8_t>(n * 7 + n / 2048); }

inline ByteVector CountingBytes(std::size_t size, std::int64_t from = 0) {
  ByteVector bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = Counting(from + static_cast<std::int64_t>(i));
  return bytes;
}

inline ByteVector Cat(std::initializer_list<ByteVector> parts) {
  ByteVector all;
  for (const ByteVector& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// An image on disk: `bin` beside `sheet` in a folder of its own.
struct Image {
  std::shared_ptr<TempDir> dir = std::make_shared<TempDir>();
  std::string Sheet(const std::string& sheet, const std::vector<std::pair<std::string, ByteVector>>& files) const {
    for (const auto& [name, bytes] : files) dir->Write(name, bytes);
    return dir->Write("image.cue", ByteVector(sheet.begin(), sheet.end()));
  }
};

// Five data sectors of counting bytes, then an audio track of 1.5 sectors' samples.
constexpr std::size_t kDataBytes = 5 * 2048;
inline const ByteVector kSamples = CountingBytes(3528, 777);

inline std::unique_ptr<SourceStream> MixedImage(std::shared_ptr<void>& keep, bool mode2) {
  auto image = std::make_shared<Image>();
  keep = image;
  const ByteVector bin = Cat({synth::RawDataTrack(CountingBytes(kDataBytes), mode2), kSamples});
  return OpenSourceFile(image->Sheet(synth::MixedModeCueSheet("image.bin", mode2 ? "MODE2/2352" : "MODE1/2352", {5}),
                                     {{"image.bin", bin}}));
}


// Two cooked Mode 1 tracks, one file each.
inline std::unique_ptr<SourceStream> TwoCookedTracks(std::shared_ptr<void>& keep) {
  auto image = std::make_shared<Image>();
  keep = image;
  return OpenSourceFile(image->Sheet("FILE one.iso BINARY\nTRACK 01 MODE1/2048\nINDEX 01 00:00:00\n"
                                     "FILE two.iso BINARY\nTRACK 02 MODE1/2048\nINDEX 01 00:00:00\n",
                                     {{"one.iso", CountingBytes(3 * 2048)}, {"two.iso", CountingBytes(2 * 2048, 3 * 2048)}}));
}

}  // namespace rsf::test
