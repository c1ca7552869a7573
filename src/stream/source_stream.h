// The source-stream contract shared by files, CD streams and in-memory sources: a size, a
// position, seeking to any offset (also past the end), a plain read that reports how much
// arrived and a full read that raises the stream read error when anything is missing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rsf {

// Seek origins as the stream classes number them.
inline constexpr int kFromBeginning = 0;
inline constexpr int kFromCurrent = 1;
inline constexpr int kFromEnd = 2;

// The position `base` + `offset` (`base` − `offset` when `back`) when the 64-bit range holds it.
// A seek that would leave the range fails like one from an unknown origin: nothing moves.
inline std::optional<std::int64_t> SeekPosition(std::int64_t base, std::int64_t offset, bool back = false) {
  std::int64_t position = 0;
  if (back ? __builtin_sub_overflow(base, offset, &position) : __builtin_add_overflow(base, offset, &position))
    return std::nullopt;
  return position;
}

// The seek every stream shares: moves `position` by `offset` from the origin and returns the new
// position, or -1 (nothing moves) for an unknown origin or a position outside the 64-bit range.
// CD streams count a seek from the end backwards (`end_counts_back`): size − offset.
// `size` is a callable, asked only for a seek from the end (a file asks the system for it).
template <typename SizeOf>
std::int64_t SeekStreamPosition(std::int64_t& position, std::int64_t offset, int origin, SizeOf size,
                                bool end_counts_back = false) {
  std::optional<std::int64_t> moved;
  switch (origin) {
    case kFromBeginning: moved = offset; break;
    case kFromCurrent: moved = SeekPosition(position, offset); break;
    case kFromEnd: moved = SeekPosition(size(), offset, end_counts_back); break;
    default: break;
  }
  if (!moved) return -1;
  position = *moved;
  return position;
}

// A track of CD audio that a source holds beside its bytes (the audio tracks of a disc image's
// sheet): its number on the disc and where its samples lie among the image's own bytes
// [start, end). The samples are not part of the stream's bytes; ReadAudio reads them.
struct AudioTrackSpan {
  int number = 0;
  std::int64_t start = 0;
  std::int64_t end = 0;
};

// The length of `bytes` of CD audio as a disc counts it, "m:ss:ff": frames of 2352 bytes (16-bit
// stereo at 44,100 Hz), 75 a second.
std::string CdAudioLength(std::int64_t bytes);

// One track of a disc image as the user is told it was read: its number, whether it holds
// audio, and what it gave ("MODE1/2352, 2108 扇区", "0:30:00").
struct ImageTrackRead {
  int number = 0;
  bool audio = false;
  std::string what;
};

class SourceStream {
 public:
  virtual ~SourceStream() = default;

  // Byte size of the source. A negative size means that no readable disc was found.
  virtual std::int64_t Size() const = 0;
  virtual std::int64_t Position() const = 0;
  // Moves the position; returns the new position, or -1 for an unknown origin or a position
  // outside the 64-bit range (nothing moves). Positions are not checked against the size.
  virtual std::int64_t Seek(std::int64_t offset, int origin) = 0;
  // Plain read: copies up to `count` bytes from the position into `buffer` and advances the
  // position by what arrived. Returns that count, or -1 on failure. Never raises.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;

  // Streams that can be read at any offset from another thread while the owner uses the
  // stream say so here; the scan then reads windows ahead in the background. ReadAt neither
  // uses nor moves the position; it returns the count read or -1.
  virtual bool CanReadConcurrently() const { return false; }
  virtual std::int64_t ReadAt(std::int64_t /*offset*/, void* /*buffer*/, std::int64_t /*count*/) const { return -1; }

  // Whether `path` names the very file this stream reads (extraction must never replace it).
  virtual bool IsNamed(const std::string& /*path*/) const { return false; }

  // The tracks of a disc image, in disc order; none for other sources.
  virtual std::vector<ImageTrackRead> ImageTracks() const { return {}; }
  // The audio tracks the source holds beside its bytes, in disc order; none for most sources.
  virtual std::vector<AudioTrackSpan> AudioTracks() const { return {}; }
  // Reads up to `count` samples' bytes at `offset` of the image (inside one of AudioTracks);
  // returns the count read, or -1. Neither uses nor moves the position.
  virtual std::int64_t ReadAudio(std::int64_t /*offset*/, void* /*buffer*/, std::int64_t /*count*/) const { return -1; }

  // Full read: raises StreamReadError unless exactly `count` bytes arrive.
  void ReadBuffer(void* buffer, std::int64_t count);
  std::int64_t Seek(std::int64_t offset) { return Seek(offset, kFromBeginning); }
};

}  // namespace rsf
