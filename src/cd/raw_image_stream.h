// A disc image laid out by a cue sheet, read as a CD in a drive reads in CD mode: its data
// tracks as one stream of 2048-byte sectors (in disc order, one after the other), a sector a
// drive would refuse (bad sync or EDC, Form 2) failing the read like a bad sector on a disc;
// and its audio tracks beside the stream, for the scan to list and extraction to read.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cd/cue_sheet.h"
#include "platform/file.h"
#include "stream/source_stream.h"

namespace rsf {

class RawImageStream final : public SourceStream {
 public:
  // Reads the sheet at `sheet_path` and opens the image files it names (beside the sheet unless
  // a name is absolute). Raises FileOpenError, CueSheetError (also for a track that starts
  // beyond its file's end).
  static std::unique_ptr<RawImageStream> Open(const std::string& sheet_path);
  // A raw image without its sheet: a file whose first two 2352-byte sectors begin with the sync
  // pattern, read as one data track of Mode 1 or Mode 2 sectors. The sectors without sync at
  // its end (the audio tracks of a mixed-mode disc, whose bounds only the sheet knows) are left
  // out and not listed. Null when the file does not start so.
  static std::unique_ptr<RawImageStream> OpenBare(const std::string& path);

  std::int64_t Size() const override { return size_; }
  std::int64_t Position() const override { return position_; }
  using SourceStream::Seek;
  std::int64_t Seek(std::int64_t offset, int origin) override;
  // Up to the size; a read meeting a refused sector fails whole (-1) and moves nothing.
  std::int64_t Read(void* buffer, std::int64_t count) override;
  bool CanReadConcurrently() const override { return true; }
  std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const override;
  // Any of the image files (extraction must never write over one).
  bool IsNamed(const std::string& path) const override;
  std::vector<AudioTrackSpan> AudioTracks() const override { return audio_; }
  std::vector<ImageTrackRead> ImageTracks() const override { return tracks_; }
  std::int64_t ReadAudio(std::int64_t offset, void* buffer, std::int64_t count) const override;

 private:
  struct ImageFile {
    std::unique_ptr<platform::File> file;
    std::int64_t size = 0;
    std::int64_t image_start = 0;  // where its bytes begin among all the files' bytes
  };
  // A data track's sectors: stream sectors [first, first + count) are stored at `offset` of `file`.
  struct DataRun {
    std::int64_t first = 0;
    std::int64_t count = 0;
    std::size_t file = 0;
    std::int64_t offset = 0;
    TrackMode mode = TrackMode::kMode1Raw;
  };

  RawImageStream() = default;
  bool ReadSectors(const DataRun& run, std::int64_t first, std::int64_t count, std::uint8_t* into) const;

  std::vector<ImageFile> files_;
  std::vector<DataRun> runs_;
  std::vector<AudioTrackSpan> audio_;
  std::vector<ImageTrackRead> tracks_;
  std::int64_t size_ = 0;
  std::int64_t position_ = 0;
};

// The source a file path names: a disc image through its cue sheet (".cue", any case), a raw
// image without one (".bin" or ".img" that starts with sector syncs), any other file as it
// stands (an ".iso" too). Raises FileOpenError, CueSheetError.
std::unique_ptr<SourceStream> OpenSourceFile(const std::string& path);

}  // namespace rsf
