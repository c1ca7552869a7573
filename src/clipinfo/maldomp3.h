// MPEG audio frame header decoding, MP3 and ID3 version 1 information texts (unit maldomp3).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/bytes.h"

namespace rsf {

// One decoded MPEG audio frame header.
struct TMaldoMP3 {
  bool Valid = false;
  std::int32_t Version = 0;  // 1 MPEG-1, 2 MPEG-2, 3 MPEG 2.5, 0 reserved
  std::int32_t Layer = 0;    // 1, 2, 3; 0 reserved
  bool Protection = false;
  std::int32_t Bitrate = 0;     // kbit/s
  std::int32_t SampleRate = 0;  // Hz
  bool Padding = false;
  std::string ChannelMode;
  std::string ModeExtension;
  bool Copyright = false;
  bool Original = false;
  std::string Emphasis;
  std::int32_t FrameLength = 0;  // whole frame in bytes, header included
};

inline constexpr std::size_t kID3TagBytes = 128;

// `header` holds the four header bytes in stream order, the first as the most significant byte.
TMaldoMP3 DecodeMP3Header(std::uint32_t header);

// Just `Valid` and `FrameLength` of DecodeMP3Header, without the texts: what a search for frame
// runs needs of every header it looks at.
struct MP3FrameShape {
  bool Valid = false;
  std::int32_t FrameLength = 0;
};
MP3FrameShape DecodeMP3FrameShape(std::uint32_t header);

// Five lines: version, layer, bitrate, sample rate, channel mode.
std::string GetMP3Info(const TMaldoMP3& frame);

// Six lines each ended by CR LF, or "解码 ID3 时出错。" when `block` is not 128 bytes. Text
// fields are raw GBK bytes and are decoded for display.
std::string GetID3Info(Bytes block);

// Genre name for 0..125, "Unknown" otherwise.
std::string GetGenreName(int genre);

}  // namespace rsf
