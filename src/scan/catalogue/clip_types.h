// The classic clip types' parameters (the records their detectors read) and the identities of
// all the clip types a user ticks.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace rsf {

// Signature-and-length types (bitmap, AVI, WAVE).
struct TcliptypeRIFF {
  std::string_view TypeName;
  std::string_view Signature;
  std::string_view SubSignature;
  std::int32_t SubSignatureOffset;
  std::int32_t LengthFieldOffset;
  std::int32_t LengthAdjustment;
  std::string_view Extension;
};

// Header-and-footer types (MPEG-1, JPEG, Interplay MVE, RealMedia).
struct TcliptypeHEFO {
  std::string_view TypeName;
  std::string_view Header;
  std::string_view SubSignature;
  std::int32_t SubSignatureOffset;
  std::string_view Footer;
  std::string_view Extension;
  std::int32_t FooterAdjustment;
};

// Length-field container with a doubled field (Bink).
struct TcliptypeBIK {
  std::string_view TypeName;
  std::string_view Signature;
  std::int32_t FirstCompareOffset;
  std::int32_t SecondCompareOffset;
  std::int32_t CompareLength;
  std::int32_t LengthFieldOffset;
  std::int32_t LengthAdjustment;
  std::string_view Extension;
};

// Header followed by a run of equally named chunks (MIDI).
struct TcliptypeSequence {
  std::string_view TypeName;
  std::string_view Signature;
  std::string_view SubSignature;
  std::int32_t SubSignatureOffset;
  std::string_view ChunkIdentifier;
  std::int32_t FirstChunkOffset;
  std::int32_t LengthFieldSize;
  std::string_view Extension;
};

using namespace std::string_view_literals;

inline constexpr TcliptypeRIFF kBitmapType{"Bitmap 图片", "BM", "BM", 0, 2, 0, ".bmp"};
inline constexpr TcliptypeRIFF kAviType{"AVI 视频", "RIFF", "AVI LIST", 8, 4, 8, ".avi"};
inline constexpr TcliptypeRIFF kWavType{"WAV 音频", "RIFF", "WAVEfmt ", 8, 4, 8, ".wav"};

inline constexpr TcliptypeHEFO kMpegType{"MPEG-1 视频", "\x00\x00\x01\xBA"sv, "\x00\x00\x01\xBB"sv, 12,
                                         "\x00\x00\x01\xB9"sv, ".mpg", 0};
inline constexpr TcliptypeHEFO kJpegType{"JPEG 图片", "\xFF\xD8\xFF\xE0"sv, "JFIF", 6, "\xFF\xD9"sv, ".jpg", 0};
inline constexpr std::string_view kMveHeader = "Interplay MVE File\x1A\x00\x1A\x00"sv;
inline constexpr std::string_view kMveFooter =
    "\x04\x00\x06\x00\x07\x01\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00"
    "\x08\x00\x04\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x05\x00"sv;
inline constexpr TcliptypeHEFO kMveType{"Interplay 视频", kMveHeader, kMveHeader, 0, kMveFooter, ".mve", 0};
inline constexpr TcliptypeHEFO kRealMediaType{"RealMedia", ".RMF", "PROP", 18, "INDX", ".ram", 0};

inline constexpr TcliptypeBIK kBinkType{"Bink 视频", "BIK", 8, 16, 4, 4, 8, ".bik"};
inline constexpr TcliptypeSequence kMidiType{"Midi 序列", "MThd", "\x00\x00\x00\x06"sv, 4, "MTrk", 14, 4, ".mid"};

// Smacker and QuickTime have no record; their constants stand here.
inline constexpr std::string_view kSmackerTypeName = "Smacker 视频";
inline constexpr std::string_view kSmackerSignature = "SMK";
inline constexpr std::string_view kSmackerExtension = ".smk";
inline constexpr std::string_view kQuicktimeTypeName = "Quicktime 剪辑";
inline constexpr std::string_view kQuicktimeSignature = "moov";
inline constexpr std::string_view kQuicktimeExtension = ".qt";
// A disc image's audio tracks, listed from its sheet and extracted as WAVE files.
inline constexpr std::string_view kCdTrackTypeName = "CD 音轨";
inline constexpr std::string_view kCdTrackExtension = ".wav";
// MP3 mode's clips; MP3 is a mode of the scan, not one of the clip types below.
inline constexpr std::string_view kMp3TypeName = "MP3 音频";
inline constexpr std::string_view kMp3Extension = ".mp3";

// The clip types a user ticks. Each has one record in the clip-type table
// (clip_type_table.h), which alone says in which order the scan runs their detectors, how they
// are named and where their check boxes stand; the values here only index per-type arrays.
enum class ClipKind : int {
  kQT, kBMP, kAVI, kWAV, kJPG, kMPG, kMVE, kRAM, kBIK, kSMK, kMID,
  kVOC, kXMI, kMOD, kS3M, kXM, kIT, kGIF, kPNG, kOGG, kFLIC, kAIFF, kILBM, k8SVX, kCDA,
  kCount  // not a type: how many there are
};
inline constexpr int kClipKindCount = static_cast<int>(ClipKind::kCount);

}  // namespace rsf
