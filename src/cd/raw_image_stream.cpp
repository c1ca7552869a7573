// The raw-image stream: track spans from the sheet, sectors decoded as a drive delivers them.
// A data track runs from its INDEX 01 to the next track's first index in the same file (its
// file's end for the last); an audio track runs from its INDEX 01 to the next track's INDEX 01,
// so that the pause before a track stays with the one before it, as the usual splitters do.
#include "cd/raw_image_stream.h"

#include <cctype>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include <fmt/format.h>

#include "base/text_encoding.h"
#include "stream/file_stream.h"
#ifdef _WIN32
#include "platform/code_page_win32.h"
#endif

namespace rsf {
namespace {

// How many stored sectors one file read takes at most.
constexpr std::int64_t kSectorsPerRead = 32;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of(
#ifdef _WIN32
      "/\\:"
#else
      "/"
#endif
  );
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsAbsolute(const std::string& name) {
#ifdef _WIN32
  return name.starts_with("\\") || name.starts_with("/") || (name.size() > 1 && name[1] == ':');
#else
  return name.starts_with("/");
#endif
}

// A FILE name as the file system takes it: UTF-8 as it stands, otherwise the code page of the
// system that wrote the sheet (Windows' own, GBK elsewhere); Windows' separators on POSIX.
std::string FileName(std::string name) {
  if (!IsUtf8(name)) {
#ifdef _WIN32
    name = platform::FromAnsiCodePage(name);
#else
    name = GbkToUtf8(name);
#endif
  }
#ifndef _WIN32
  std::replace(name.begin(), name.end(), '\\', '/');
#endif
  return name;
}

std::string ReadSheetText(const std::string& path) {
  const std::unique_ptr<platform::File> file = platform::File::OpenReadShared(path);
  const std::int64_t size = file->Size();
  if (size > kMaxCueSheetSize) throw CueSheetError(0, kCueTooLarge);
  std::string text(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
  const std::int64_t got = text.empty() ? 0 : file->ReadAt(0, text.data(), size);
  if (got < 0) throw StreamReadError();
  text.resize(static_cast<std::size_t>(got));
  return text;
}

bool EndsWith(const std::string& path, std::string_view extension) {
  if (path.size() < extension.size()) return false;
  std::string tail = path.substr(path.size() - extension.size());
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == extension;
}

const char* ModeName(TrackMode mode) {
  switch (mode) {
    case TrackMode::kMode1Raw: return "MODE1/2352";
    case TrackMode::kMode1Cooked: return "MODE1/2048";
    case TrackMode::kMode2Raw: return "MODE2/2352";
    case TrackMode::kMode2Cooked: return "MODE2/2336";
    case TrackMode::kAudio: break;
  }
  return "AUDIO";
}

// Whether the stored sector at `index` of `file` begins with the sync pattern.
bool HasSync(platform::File& file, std::int64_t index) {
  std::uint8_t head[kSectorSyncSize];
  const std::int64_t got = file.ReadAt(index * kRawSectorSize, head, kSectorSyncSize);
  return got > 0 && StartsWithSectorSync(Bytes(head, static_cast<std::size_t>(got)));
}

}  // namespace

std::unique_ptr<RawImageStream> RawImageStream::Open(const std::string& sheet_path) {
  const CueSheet sheet = ParseCueSheet(ReadSheetText(sheet_path));
  std::unique_ptr<RawImageStream> stream(new RawImageStream());
  std::int64_t image_bytes = 0;
  for (std::size_t i = 0; i < sheet.files.size(); ++i) {
    std::string name = FileName(sheet.files[i]);
    if (!IsAbsolute(name)) name = FolderOf(sheet_path) + name;
    std::unique_ptr<platform::File> opened;
    try {
      opened = platform::File::OpenReadShared(name);
    } catch (const FileOpenError&) {
      throw CueSheetError(sheet.file_lines[i], std::string(kCueFileUnopened) + " " + name);
    }
    ImageFile file{std::move(opened), 0, image_bytes};
    file.size = std::max<std::int64_t>(file.file->Size(), 0);
    image_bytes += file.size;
    stream->files_.push_back(std::move(file));
  }
  // Where each track's INDEX 01 lies in its file. Sheets count sectors of the file; a file of
  // mixed modes has sectors of different sizes, so each stretch is measured in the sectors of
  // the track it belongs to.
  std::vector<std::int64_t> starts(sheet.tracks.size());
  for (std::size_t i = 0; i < sheet.tracks.size(); ++i) {
    const CueTrack& track = sheet.tracks[i];
    const bool same_file = i > 0 && sheet.tracks[i - 1].file == track.file;
    starts[i] = same_file ? starts[i - 1] + (track.start_sector - sheet.tracks[i - 1].start_sector) *
                                                StoredSectorSize(sheet.tracks[i - 1].mode)
                          : track.start_sector * StoredSectorSize(track.mode);
    if (starts[i] > stream->files_[track.file].size) throw CueSheetError(track.start_line, kCueTrackBeyondFile);
  }
  for (std::size_t i = 0; i < sheet.tracks.size(); ++i) {
    const CueTrack& track = sheet.tracks[i];
    const CueTrack* next = i + 1 < sheet.tracks.size() && sheet.tracks[i + 1].file == track.file ? &sheet.tracks[i + 1] : nullptr;
    const ImageFile& file = stream->files_[track.file];
    const std::int64_t sector_size = StoredSectorSize(track.mode);
    const std::int64_t start = starts[i];
    if (track.mode == TrackMode::kAudio) {
      std::int64_t end = next ? std::min(file.size, starts[i + 1]) : file.size;
      end = start + (end - start) / 4 * 4;  // whole stereo sample frames
      stream->audio_.push_back({track.number, file.image_start + start, file.image_start + end});
      stream->tracks_.push_back({track.number, true, CdAudioLength(end - start)});
    } else {
      // A last sector cut short by the file's end stays in: reading it fails, as a bad sector.
      const std::int64_t count = next ? next->first_sector - track.start_sector
                                      : (file.size - start + sector_size - 1) / sector_size;
      stream->runs_.push_back({stream->size_ / kUserDataSize, count, track.file, start, track.mode});
      stream->tracks_.push_back({track.number, false, fmt::format("{}, {} 扇区", ModeName(track.mode), count)});
      stream->size_ += count * kUserDataSize;
    }
  }
  return stream;
}

std::unique_ptr<RawImageStream> RawImageStream::OpenBare(const std::string& path) {
  std::unique_ptr<platform::File> opened = platform::File::OpenReadShared(path);
  if (!HasSync(*opened, 0) || !HasSync(*opened, 1)) return nullptr;
  const std::int64_t size = std::max<std::int64_t>(opened->Size(), 0);
  // Whole and cut sectors; a cut last one stays in and fails when read, as a bad sector.
  const std::int64_t stored = (size + kRawSectorSize - 1) / kRawSectorSize;
  std::int64_t count = stored;
  while (count > 2 && !HasSync(*opened, count - 1)) --count;
  std::unique_ptr<RawImageStream> stream(new RawImageStream());
  stream->files_.push_back({std::move(opened), size, 0});
  // The header's mode decides each raw sector, so one run serves Mode 1 and Mode 2 alike.
  stream->runs_.push_back({0, count, 0, 0, TrackMode::kMode1Raw});
  stream->size_ = count * kUserDataSize;
  std::string what = fmt::format("无 CUE 表的原始映像, {} 扇区", count);
  if (count < stored) what += fmt::format("; 其后 {} 个扇区无同步, 未读", stored - count);
  stream->tracks_.push_back({1, false, std::move(what)});
  return stream;
}

std::int64_t RawImageStream::Seek(std::int64_t offset, int origin) {
  return SeekStreamPosition(position_, offset, origin, [this] { return size_; });
}

std::int64_t RawImageStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t got = ReadAt(position_, buffer, count);
  if (got > 0) position_ += got;
  return got;
}

bool RawImageStream::ReadSectors(const DataRun& run, std::int64_t first, std::int64_t count, std::uint8_t* into) const {
  const std::int64_t sector_size = StoredSectorSize(run.mode);
  std::vector<std::uint8_t> stored(static_cast<std::size_t>(count * sector_size));
  const std::int64_t at = run.offset + (first - run.first) * sector_size;
  const std::int64_t got = files_[run.file].file->ReadAt(at, stored.data(), count * sector_size);
  if (got < 0) return false;
  for (std::int64_t k = 0; k < count; ++k) {
    const std::int64_t from = k * sector_size;
    const std::int64_t have = std::clamp<std::int64_t>(got - from, 0, sector_size);
    const Bytes sector(stored.data() + from, static_cast<std::size_t>(have));
    if (!UserDataOfSector(run.mode, sector, into + k * kUserDataSize)) return false;
  }
  return true;
}

std::int64_t RawImageStream::ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const {
  if (count <= 0) return 0;
  if (offset < 0) return -1;
  if (offset >= size_) return 0;
  count = std::min(count, size_ - offset);
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::vector<std::uint8_t> sectors(static_cast<std::size_t>(kSectorsPerRead * kUserDataSize));
  std::int64_t done = 0;
  while (done < count) {
    const std::int64_t at = offset + done;
    const std::int64_t sector = at / kUserDataSize;
    const auto run = std::upper_bound(runs_.begin(), runs_.end(), sector,
                                      [](std::int64_t s, const DataRun& r) { return s < r.first; }) - 1;
    const std::int64_t last_wanted = (offset + count - 1) / kUserDataSize;
    const std::int64_t sectors_here =
        std::min({kSectorsPerRead, run->first + run->count - sector, last_wanted - sector + 1});
    if (!ReadSectors(*run, sector, sectors_here, sectors.data())) return -1;
    const std::int64_t skip = at - sector * kUserDataSize;
    const std::int64_t take = std::min(sectors_here * kUserDataSize - skip, count - done);
    std::memcpy(out + done, sectors.data() + skip, static_cast<std::size_t>(take));
    done += take;
  }
  return count;
}

std::int64_t RawImageStream::ReadAudio(std::int64_t offset, void* buffer, std::int64_t count) const {
  if (count <= 0) return 0;
  const auto track = std::find_if(audio_.begin(), audio_.end(),
                                  [&](const AudioTrackSpan& t) { return offset >= t.start && offset < t.end; });
  if (track == audio_.end()) return -1;
  const auto file = std::upper_bound(files_.begin(), files_.end(), offset,
                                     [](std::int64_t o, const ImageFile& f) { return o < f.image_start; }) - 1;
  return file->file->ReadAt(offset - file->image_start, buffer, std::min(count, track->end - offset));
}

bool RawImageStream::IsNamed(const std::string& path) const {
  return std::any_of(files_.begin(), files_.end(), [&](const ImageFile& file) { return file.file->IsNamed(path); });
}

std::unique_ptr<SourceStream> OpenSourceFile(const std::string& path) {
  if (EndsWith(path, ".cue")) return RawImageStream::Open(path);
  if (EndsWith(path, ".bin") || EndsWith(path, ".img"))
    if (std::unique_ptr<RawImageStream> image = RawImageStream::OpenBare(path)) return image;
  return std::make_unique<FileStream>(path);
}

}  // namespace rsf
