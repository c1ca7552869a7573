// The clip information functions on arbitrary header bytes: AVI, WAVE and bitmap texts, the
// bitmap plausibility test, MPEG audio header decoding with the MP3 text, ID3 version 1 tags,
// and the codec, format and genre names. The first byte picks the function, the rest is its
// input, so every corpus entry stays meaningful for the one it belongs to.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "clipinfo/maldoavi.h"
#include "clipinfo/maldobmp.h"
#include "clipinfo/maldomp3.h"
#include "clipinfo/maldowav.h"
#include "fuzz_support.h"

namespace {

// Information texts are UTF-8 inside the program; whatever the header bytes, they must stay so.
bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

std::uint32_t Word(rsf::Bytes bytes) {
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < 4; ++i) word = word << 8 | (i < bytes.size() ? bytes[i] : 0);
  return word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const rsf::Bytes input(data + 1, size - 1);
  const std::string_view raw(reinterpret_cast<const char*>(input.data()), input.size());
  switch (data[0] % 8) {
    case 0:
      RSF_FUZZ_CHECK(IsUtf8(rsf::GetAVIInfo(input)));
      break;
    case 1:
      RSF_FUZZ_CHECK(IsUtf8(rsf::GetWAVInfo(input)));
      break;
    case 2: {
      const bool plausible = rsf::IsBMPHeader(input);
      RSF_FUZZ_CHECK(!plausible || input.size() >= rsf::kBmpInfoBytes);
      RSF_FUZZ_CHECK(IsUtf8(rsf::GetBMPInfo(input)));
      break;
    }
    case 3: {
      const std::uint32_t word = Word(input);
      const rsf::TMaldoMP3 frame = rsf::DecodeMP3Header(word);
      const rsf::MP3FrameShape shape = rsf::DecodeMP3FrameShape(word);
      // The search decodes only the shape; it must agree with the full decoding.
      RSF_FUZZ_CHECK(shape.Valid == frame.Valid && shape.FrameLength == frame.FrameLength);
      RSF_FUZZ_CHECK(frame.FrameLength >= 0);
      RSF_FUZZ_CHECK(!frame.Valid || frame.FrameLength > 0);
      RSF_FUZZ_CHECK(IsUtf8(rsf::GetMP3Info(frame)));
      break;
    }
    case 4:
      RSF_FUZZ_CHECK(IsUtf8(rsf::GetID3Info(input)));
      break;
    case 5:
      RSF_FUZZ_CHECK(IsUtf8(rsf::GetCodecName(raw.substr(0, 4))));
      RSF_FUZZ_CHECK(IsUtf8(rsf::GetCodecName(raw)));
      break;
    case 6:
      RSF_FUZZ_CHECK(IsUtf8(rsf::GetWaveFormatName(static_cast<std::uint16_t>(Word(input) >> 16))));
      break;
    default:
      RSF_FUZZ_CHECK(IsUtf8(rsf::GetGenreName(static_cast<int>(static_cast<std::int32_t>(Word(input))))));
      break;
  }
  return 0;
}
