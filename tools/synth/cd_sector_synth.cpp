// Sector framing: the header's address is the block's minute, second and frame in BCD, counted
// from the 150 blocks of the first track's pause; EDC little-endian at 2064 (Mode 1, over bytes
// 0..2063) or after the Form's user data (Mode 2, over the subheader and the data).
#include "synth/cd_sector_synth.h"

#include <algorithm>
#include <cstring>

#include <fmt/format.h>

#include "base/crc32.h"

namespace rsf::synth {
namespace {

std::uint8_t Bcd(std::int64_t value) { return static_cast<std::uint8_t>((value / 10) * 16 + value % 10); }

ByteVector Framed(std::int64_t lba, std::uint8_t mode) {
  ByteVector sector(2352, 0);
  std::fill(sector.begin() + 1, sector.begin() + 11, 0xFF);
  const std::int64_t address = lba + 150;
  sector[12] = Bcd(address / 75 / 60);
  sector[13] = Bcd(address / 75 % 60);
  sector[14] = Bcd(address % 75);
  sector[15] = mode;
  return sector;
}

void PutEdc(ByteVector& sector, std::size_t from, std::size_t at) {
  const std::uint32_t edc = CdEdc(Bytes(sector.data() + from, at - from));
  for (int i = 0; i < 4; ++i) sector[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(edc >> (8 * i));
}

}  // namespace

ByteVector Mode1Sector(std::int64_t lba, const std::uint8_t* user, std::size_t size) {
  ByteVector sector = Framed(lba, 1);
  std::memcpy(sector.data() + 16, user, std::min<std::size_t>(size, 2048));
  PutEdc(sector, 0, 2064);
  return sector;
}

ByteVector Mode2Sector(std::int64_t lba, bool form2, const std::uint8_t* user, std::size_t size) {
  ByteVector sector = Framed(lba, 2);
  const std::uint8_t submode = form2 ? 0x20 : 0x08;  // Form 2 bit; Form 1 marked as data
  for (const std::size_t at : {16u, 20u}) sector[at + 2] = submode;
  const std::size_t user_size = form2 ? 2324 : 2048;
  std::memcpy(sector.data() + 24, user, std::min(size, user_size));
  PutEdc(sector, 16, 24 + user_size);
  return sector;
}

ByteVector RawDataTrack(const ByteVector& data, bool mode2) {
  ByteVector image;
  for (std::size_t at = 0, lba = 0; at < data.size(); at += 2048, ++lba) {
    const std::size_t size = std::min<std::size_t>(2048, data.size() - at);
    const ByteVector sector = mode2 ? Mode2Sector(static_cast<std::int64_t>(lba), false, data.data() + at, size)
                                    : Mode1Sector(static_cast<std::int64_t>(lba), data.data() + at, size);
    image.insert(image.end(), sector.begin(), sector.end());
  }
  return image;
}

std::string MixedModeCueSheet(const std::string& bin, const std::string& data_mode,
                              const std::vector<std::int64_t>& audio_starts) {
  std::string sheet = fmt::format("FILE \"{}\" BINARY\r\n  TRACK 01 {}\r\n    INDEX 01 00:00:00\r\n", bin, data_mode);
  int number = 2;
  for (const std::int64_t start : audio_starts)
    sheet += fmt::format("  TRACK {:02} AUDIO\r\n    INDEX 01 {:02}:{:02}:{:02}\r\n", number++, start / 75 / 60,
                         start / 75 % 60, start % 75);
  return sheet;
}

}  // namespace rsf::synth
