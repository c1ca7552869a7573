// Builders of MPEG audio frame headers, frame runs and ID3 version 1 tags, for tests, the demo
// source and benchmarks. The frames carry filler instead of coded audio: enough for detectors
// and header decoders, not for a player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

// The two-bit version field as stored in the header.
enum class MpegVersion : std::uint8_t { kMpeg25 = 0, kReserved = 1, kMpeg2 = 2, kMpeg1 = 3 };

// Fields of one frame header in readable units. Defaults: MPEG-1 Layer III, 128 kbit/s,
// 44100 Hz, joint stereo, no checksum, original.
struct MpegHeaderFields {
  MpegVersion version = MpegVersion::kMpeg1;
  int layer = 3;            // 1, 2 or 3
  int bitrate_kbps = 128;   // must be in the table of version and layer; 0 writes free format
  int sample_rate = 44100;  // must be one of the three rates of the version
  bool padding = false;
  int channel_mode = 1;    // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
  int mode_extension = 0;  // 0..3
  bool protection = true;  // set means no checksum follows the header
  bool copyright = false;
  bool original = true;
  int emphasis = 0;  // 0 none, 1 50/15 ms, 2 reserved, 3 CCITT J.17
};

// The header as a 32-bit value, first byte most significant. Throws std::invalid_argument for a
// bitrate or sample rate the tables of the version and layer do not hold.
std::uint32_t MpegHeaderWord(const MpegHeaderFields& fields);

// The four header bytes in stream order.
ByteVector MpegHeaderBytes(const MpegHeaderFields& fields);

// Length of the whole frame in bytes, header included. Throws std::invalid_argument for free
// format, whose length no header field gives.
std::size_t MpegFrameLength(const MpegHeaderFields& fields);

// One frame per entry: its header, then filler up to its frame length. The filler holds no 0xFF
// byte, so no false frame sync appears inside a frame.
ByteVector MpegFrames(const std::vector<MpegHeaderFields>& frames);

// `count` frames with the same header.
ByteVector MpegFrameRun(const MpegHeaderFields& fields, std::size_t count);

// A variable-bitrate run: one frame per entry of `bitrates_kbps`, other fields from `fields`.
ByteVector MpegVbrRun(const MpegHeaderFields& fields, const std::vector<int>& bitrates_kbps);

// Text fields are raw bytes (GBK for Chinese text), cut to their width or padded with zeros.
struct Id3v1Fields {
  std::string title;    // 30 bytes
  std::string artist;   // 30 bytes
  std::string album;    // 30 bytes
  std::string year;     // 4 bytes
  std::string comment;  // 30 bytes, or 28 with a track number
  std::uint8_t genre = 255;
  // ID3 version 1.1: comment byte 28 zero, byte 29 the track number.
  std::optional<std::uint8_t> track;
};

// The 128-byte tag beginning with "TAG".
ByteVector Id3v1Tag(const Id3v1Fields& fields);

}  // namespace rsf::synth
