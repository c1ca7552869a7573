// Layer III side information, read as far as the reservoir and the header frames need it.
#include "scan/detectors/mp3/layer3_side_info.h"

#include <string_view>

namespace rsf {
namespace {

constexpr std::int32_t kHeaderBytes = 4;
constexpr std::int32_t kChecksumBytes = 2;
constexpr std::int32_t kVbriOffset = 36;  // always 32 bytes behind the header

// Big-endian bit reader over the side information.
class BitReader {
 public:
  BitReader(Bytes bytes, std::size_t first_byte) : bytes_(bytes), bit_(first_byte * 8) {}
  unsigned Take(unsigned count) {
    unsigned value = 0;
    for (unsigned i = 0; i < count; ++i, ++bit_) value = (value << 1) | ((bytes_[bit_ / 8] >> (7 - bit_ % 8)) & 1u);
    return value;
  }
  void Skip(unsigned count) { bit_ += count; }

 private:
  Bytes bytes_;
  std::size_t bit_;
};

bool NameAt(Bytes bytes, std::int32_t at, std::string_view name) {
  return MatchesAt(bytes, static_cast<std::size_t>(at), name);
}

}  // namespace

std::optional<Layer3Frame> ReadLayer3Frame(std::uint32_t header, std::int32_t frame_length, Bytes bytes) {
  if (((header >> 17) & 3u) != 1u) return std::nullopt;  // layer code 01 is layer III
  const bool mpeg1 = ((header >> 19) & 3u) == 3u;
  const bool mono = ((header >> 6) & 3u) == 3u;
  const std::int32_t checksum = (header & 0x10000u) ? 0 : kChecksumBytes;
  const std::int32_t side = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  const std::int32_t side_start = kHeaderBytes + checksum;
  if (bytes.size() < static_cast<std::size_t>(side_start + side)) return std::nullopt;

  // MPEG-1: a 9-bit main_data_begin, private bits, the scale-factor selection, then two granules
  // per channel of 59 bits each; MPEG-2 and 2.5: 8 bits, private bits, one granule per channel
  // of 63 bits. Each granule starts with its 12-bit part2_3_length.
  const unsigned channels = mono ? 1 : 2;
  BitReader bits(bytes, static_cast<std::size_t>(side_start));
  Layer3Frame frame;
  unsigned granules = channels;
  unsigned granule_bits = 63;
  if (mpeg1) {
    frame.main_data_begin = static_cast<std::int32_t>(bits.Take(9));
    bits.Skip((mono ? 5 : 3) + 4 * channels);
    granules = 2 * channels;
    granule_bits = 59;
  } else {
    frame.main_data_begin = static_cast<std::int32_t>(bits.Take(8));
    bits.Skip(mono ? 1 : 2);
  }
  std::int32_t coded_bits = 0;
  for (unsigned granule = 0; granule < granules; ++granule) {
    coded_bits += static_cast<std::int32_t>(bits.Take(12));
    bits.Skip(granule_bits - 12);
  }
  frame.main_data_room = frame_length - side_start - side;
  frame.main_data_used = (coded_bits + 7) / 8;
  frame.header_frame = NameAt(bytes, side_start + side, "Xing") || NameAt(bytes, side_start + side, "Info") ||
                       NameAt(bytes, kVbriOffset, "VBRI");
  return frame;
}

}  // namespace rsf
