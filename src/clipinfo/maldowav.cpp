// WAVE format information: sample format, byte rate and format name of a WAVE clip, read from
// the format chunk that directly follows the RIFF header.
#include "clipinfo/maldowav.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace rsf {
namespace {

// Format chunk data start at byte 20 ("RIFF", length, "WAVE", "fmt ", chunk length). Its
// length field is never consulted: the fields below sit at the same place in 16-, 18- and
// 40-byte chunks. Bytes 32-33 hold the block alignment, which is not shown.
constexpr std::size_t kFormatTagAt = 20;
constexpr std::size_t kChannelsAt = 22;
constexpr std::size_t kSamplesPerSecAt = 24;
constexpr std::size_t kAvgBytesPerSecAt = 28;
constexpr std::size_t kBitsPerSampleAt = 34;

struct FormatName {
  std::uint16_t tag;
  std::string_view name;
};

// Sorted by tag for the binary search in GetWaveFormatName.
constexpr std::array<FormatName, 126> kFormatNames = {{
  {0x0001, "PCM"},
  {0x0002, "ADPCM"},
  {0x0003, "IEEE FLOAT"},
  {0x0004, "VSELP"},
  {0x0005, "IBM CVSD"},
  {0x0006, "ALAW"},
  {0x0007, "MULAW"},
  {0x0008, "DTS"},
  {0x0010, "OKI ADPCM"},
  {0x0011, "IMA ADPCM"},
  {0x0012, "MEDIASPACE ADPCM"},
  {0x0013, "SIERRA ADPCM"},
  {0x0014, "G723 ADPCM"},
  {0x0015, "DIGISTD"},
  {0x0016, "DIGIFIX"},
  {0x0017, "DIALOGIC OKI ADPCM"},
  {0x0018, "MEDIAVISION ADPCM"},
  {0x0019, "CU CODEC"},
  {0x0020, "YAMAHA ADPCM"},
  {0x0021, "SONARC"},
  {0x0022, "DSPGROUP TRUESPEECH"},
  {0x0023, "ECHOSC1"},
  {0x0024, "AUDIOFILE AF36"},
  {0x0025, "APTX"},
  {0x0026, "AUDIOFILE AF10"},
  {0x0027, "PROSODY 1612"},
  {0x0028, "LRC"},
  {0x0030, "DOLBY AC2"},
  {0x0031, "GSM610"},
  {0x0032, "MSNAUDIO"},
  {0x0033, "ANTEX ADPCME"},
  {0x0034, "CONTROL RES VQLPC"},
  {0x0035, "DIGIREAL"},
  {0x0036, "DIGIADPCM"},
  {0x0037, "CONTROL RES CR10"},
  {0x0038, "NMS VBXADPCM"},
  {0x0039, "CS IMAADPCM"},
  {0x003A, "ECHOSC3"},
  {0x003B, "ROCKWELL ADPCM"},
  {0x003C, "ROCKWELL DIGITALK"},
  {0x003D, "XEBEC"},
  {0x0040, "G721 ADPCM"},
  {0x0041, "G728 CELP"},
  {0x0042, "MSG723"},
  {0x0050, "MPEG"},
  {0x0052, "RT24"},
  {0x0053, "PAC"},
  {0x0055, "MPEG LAYER3"},
  {0x0059, "LUCENT G723"},
  {0x0060, "CIRRUS"},
  {0x0061, "ESPCM"},
  {0x0062, "VOXWARE"},
  {0x0063, "CANOPUS ATRAC"},
  {0x0064, "G726 ADPCM"},
  {0x0065, "G722 ADPCM"},
  {0x0067, "DSAT DISPLAY"},
  {0x0069, "VOXWARE BYTE ALIGNED"},
  {0x0070, "VOXWARE AC8"},
  {0x0071, "VOXWARE AC10"},
  {0x0072, "VOXWARE AC16"},
  {0x0073, "VOXWARE AC20"},
  {0x0074, "VOXWARE RT24"},
  {0x0075, "VOXWARE RT29"},
  {0x0076, "VOXWARE RT29HW"},
  {0x0077, "VOXWARE VR12"},
  {0x0078, "VOXWARE VR18"},
  {0x0079, "VOXWARE TQ40"},
  {0x0080, "SOFTSOUND"},
  {0x0081, "VOXWARE TQ60"},
  {0x0082, "MSRT24"},
  {0x0083, "G729A"},
  {0x0084, "MVI MVI2"},
  {0x0085, "DF G726"},
  {0x0086, "DF GSM610"},
  {0x0088, "ISIAUDIO"},
  {0x0089, "ONLIVE"},
  {0x0091, "SBC24"},
  {0x0092, "DOLBY AC3 SPDIF"},
  {0x0093, "MEDIASONIC G723"},
  {0x0094, "PROSODY 8KBPS"},
  {0x0097, "ZYXEL ADPCM"},
  {0x0098, "PHILIPS LPCBB"},
  {0x0099, "PACKED"},
  {0x00A0, "MALDEN PHONYTALK"},
  {0x0100, "RHETOREX ADPCM"},
  {0x0101, "IRAT"},
  {0x0111, "VIVO G723"},
  {0x0112, "VIVO SIREN"},
  {0x0123, "DIGITAL G723"},
  {0x0125, "SANYO LD ADPCM"},
  {0x0130, "SIPROLAB ACEPLNET"},
  {0x0131, "SIPROLAB ACELP4800"},
  {0x0132, "SIPROLAB ACELP8V3"},
  {0x0133, "SIPROLAB G729"},
  {0x0134, "SIPROLAB G729A"},
  {0x0135, "SIPROLAB KELVIN"},
  {0x0140, "G726ADPCM"},
  {0x0150, "QUALCOMM PUREVOICE"},
  {0x0151, "QUALCOMM HALFRATE"},
  {0x0155, "TUBGSM"},
  {0x0160, "MSAUDIO1"},
  {0x0200, "CREATIVE ADPCM"},
  {0x0202, "CREATIVE FASTSPEECH8"},
  {0x0203, "CREATIVE FASTSPEECH10"},
  {0x0210, "UHER ADPCM"},
  {0x0220, "QUARTERDECK"},
  {0x0230, "ILINK VC"},
  {0x0240, "RAW SPORT"},
  {0x0250, "IPI HSX"},
  {0x0251, "IPI RPELP"},
  {0x0260, "CS2"},
  {0x0270, "SONY SCX"},
  {0x0300, "FM TOWNS SND"},
  {0x0400, "BTV DIGITAL"},
  {0x0450, "QDESIGN MUSIC"},
  {0x0680, "VME VMPCM"},
  {0x0681, "TPC"},
  {0x1000, "OLIGSM"},
  {0x1001, "OLIADPCM"},
  {0x1002, "OLICELP"},
  {0x1003, "OLISBC"},
  {0x1004, "OLIOPR"},
  {0x1100, "LH CODEC"},
  {0x1400, "NORRIS"},
  {0x1500, "SOUNDSPACE MUSICOMPRESS"},
  {0x2000, "DVM"},
}};

static_assert(std::is_sorted(kFormatNames.begin(), kFormatNames.end(),
                             [](const FormatName& a, const FormatName& b) { return a.tag < b.tag; }));

std::string ChannelWord(std::uint16_t channels) {
  switch (channels) {
    case 1:
      return "单声";
    case 2:
      return "立体声";
    default:
      return "未知模式";
  }
}

}  // namespace

std::string GetWaveFormatName(std::uint16_t tag) {
  const auto it = std::lower_bound(kFormatNames.begin(), kFormatNames.end(), tag,
                                   [](const FormatName& entry, std::uint16_t t) { return entry.tag < t; });
  if (it == kFormatNames.end() || it->tag != tag) return "未知";
  return std::string(it->name);
}

std::string GetWAVInfo(Bytes block) {
  const std::uint16_t format_tag = ReadLE16(block, kFormatTagAt).value_or(0);
  const std::uint16_t channels = ReadLE16(block, kChannelsAt).value_or(0);
  const auto samples_per_sec = static_cast<std::int32_t>(ReadLE32(block, kSamplesPerSecAt).value_or(0));
  const auto avg_bytes_per_sec = static_cast<std::int32_t>(ReadLE32(block, kAvgBytesPerSecAt).value_or(0));
  const std::uint16_t bits_per_sample = ReadLE16(block, kBitsPerSampleAt).value_or(0);

  std::string text = std::to_string(samples_per_sec) + " Hz " + std::to_string(bits_per_sample) + " Bit " +
                     ChannelWord(channels);
  text += "\r\n速率      : " + std::to_string(avg_bytes_per_sec);
  text += "\r\n格式   : " + GetWaveFormatName(format_tag);
  return text;
}

}  // namespace rsf
