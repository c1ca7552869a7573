// The further types' own structure rules, one row per layout: a source built in memory and the
// clips a scan with only that type enabled lists in it, the same under either rule set. The rows
// cut each format's chain at every kind of element it has, put count and size fields at their
// limits and one past the source end, and lay clips at odd offsets and across window
// boundaries.
#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "base/crc32.h"
#include "scan/catalogue/clip_type_table.h"
#include "support/scan_harness.h"
#include "synth/byte_writer.h"
#include "synth/iff_synth.h"
#include "synth/more_media_synth.h"
#include "synth/picture_synth.h"
#include "synth/tracker_synth.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::ByteWriter;
using test::Span;

struct Row {
  std::string name;
  ClipKind kind;
  ByteVector bytes;  // the whole source
  std::vector<Span> expected;
  std::string info = {};  // what the first clip's information text holds
};

// No block, chunk or page of these formats starts with this byte, nor is it a printable IFF
// identifier: filler behind a structure ends its walk.
constexpr std::uint8_t kFill = 0xEE;
constexpr std::int64_t kNoClip = -1;

ByteVector Filler(std::size_t count) { return ByteVector(count, kFill); }

ByteVector Cat(std::initializer_list<ByteVector> parts) {
  ByteVector out;
  for (const ByteVector& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The first `count` bytes, and the bytes from `at` on.
ByteVector Head(const ByteVector& bytes, std::size_t count) {
  return ByteVector(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}
ByteVector From(const ByteVector& bytes, std::size_t at) {
  return ByteVector(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
}

std::int64_t Size(const ByteVector& bytes) { return static_cast<std::int64_t>(bytes.size()); }

ByteVector Put8(ByteVector bytes, std::size_t at, std::uint8_t value) {
  bytes.at(at) = value;
  return bytes;
}
ByteVector PutLE16(ByteVector bytes, std::size_t at, std::uint16_t value) {
  return Put8(Put8(std::move(bytes), at, static_cast<std::uint8_t>(value)), at + 1, static_cast<std::uint8_t>(value >> 8));
}
ByteVector PutLE32(ByteVector bytes, std::size_t at, std::uint32_t value) {
  bytes = PutLE16(std::move(bytes), at, static_cast<std::uint16_t>(value));
  return PutLE16(std::move(bytes), at + 2, static_cast<std::uint16_t>(value >> 16));
}
ByteVector PutBE32(ByteVector bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * (3 - i)));
  return bytes;
}
std::uint32_t LE16At(const ByteVector& bytes, std::size_t at) { return *ReadLE16(bytes, at); }
std::uint32_t LE32At(const ByteVector& bytes, std::size_t at) { return *ReadLE32(bytes, at); }
std::uint32_t BE32At(const ByteVector& bytes, std::size_t at) { return *ReadBE32(bytes, at); }

// `clip` behind `lead` filler bytes and before `trail` more: one clip of the first `listed`
// bytes of it expected, or none (kNoClip).
Row Framed(std::string name, ClipKind kind, const ByteVector& clip, std::int64_t listed, std::size_t lead = 0,
           std::size_t trail = 0, std::string info = {}) {
  const auto start = static_cast<std::int64_t>(lead);
  std::vector<Span> expected;
  if (listed != kNoClip) expected.push_back({start, start + listed});
  return {std::move(name), kind, Cat({Filler(lead), clip, Filler(trail)}), std::move(expected), std::move(info)};
}

// --- Creative Voice ---

ByteVector VocHeader(std::uint16_t first_block) {
  constexpr std::uint16_t kVersion = 0x010A;
  return ByteWriter().Text("Creative Voice File\x1A").LE16(first_block).LE16(kVersion)
      .LE16(static_cast<std::uint16_t>(~kVersion + 0x1234)).Take();
}

// A block whose size field says `stated` bytes, holding `body`.
ByteVector VocBlock(std::uint8_t type, const ByteVector& body, std::uint32_t stated) {
  return ByteWriter().U8(type).U8(static_cast<std::uint8_t>(stated)).U8(static_cast<std::uint8_t>(stated >> 8))
      .U8(static_cast<std::uint8_t>(stated >> 16)).Append(body).Take();
}
ByteVector VocBlock(std::uint8_t type, const ByteVector& body) {
  return VocBlock(type, body, static_cast<std::uint32_t>(body.size()));
}

void VocRows(std::vector<Row>& rows) {
  constexpr auto kVoc = ClipKind::kVOC;
  // Header (26), sound block 26..332, marker block 332..338, terminator 338.
  const ByteVector voc = synth::VocFile(11025, 8, 1, 300);
  const ByteVector unterminated = Head(voc, 338);
  rows.push_back(Framed("VocCutInsideTheMarkerEndsBehindTheSound", kVoc, Head(voc, 335), 332, 5));
  rows.push_back(Framed("VocWithoutTerminatorBeforeNoBlock", kVoc, unterminated, 338, 3, 40));
  // The marker's size made to reach the source end exactly, then one byte past it.
  const ByteVector reaching = Cat({unterminated, ByteVector(10, 0x80)});
  rows.push_back(Framed("VocLastBlockReachingTheSourceEnd", kVoc, Put8(reaching, 333, 12), 348, 7));
  rows.push_back(Framed("VocLastBlockOnePastTheSourceEnd", kVoc, Put8(reaching, 333, 13), 332, 7));
  // The first block's offset: the largest the header may give, with the bytes up to it part of
  // the clip, and one more.
  const ByteVector blocks = From(voc, 26);
  rows.push_back(Framed("VocFirstBlockAtTheLargestOffset", kVoc, Cat({VocHeader(4096), ByteVector(4070, 0x80), blocks}),
                        4096 + Size(blocks), 1, 9));
  rows.push_back(Framed("VocFirstBlockOffsetPastTheLimit", kVoc, Cat({VocHeader(4097), ByteVector(4071, 0x80), blocks}),
                        kNoClip));
  rows.push_back(Framed("VocWithoutSoundBlock", kVoc, Cat({VocHeader(26), VocBlock(4, {1, 0}), ByteVector{0}}), kNoClip));
  // SoX states a type 9 block's size 8 bytes short; its samples (80h) are no block.
  const ByteVector sound9 = ByteWriter().LE32(22050).U8(16).U8(2).LE16(4).LE32(0).Fill(400, 0x80).Take();
  const ByteVector sox = Cat({VocHeader(26), VocBlock(9, sound9, 404), VocBlock(4, {1, 0}), ByteVector{0}});
  rows.push_back(Framed("VocSoxType9BlockStatedShort", kVoc, sox, Size(sox), 0, 20, "频率 : 22050 Hz"));
  // An extended block gives rate and channels to the type 1 block after it: 256,000,000 /
  // (65536 - 57536) / 2 channels.
  const ByteVector extended = Cat({VocHeader(26), VocBlock(8, ByteWriter().LE16(57536).U8(0).U8(1).Take()),
                                   VocBlock(1, Cat({ByteVector{0xA6, 0}, ByteVector(200, 0x80)})), ByteVector{0}});
  rows.push_back(Framed("VocExtendedBlockBeforeTheSound", kVoc, extended, Size(extended), 0, 0,
                        "频率 : 16000 Hz\r\n位 : 8\r\n声道 : 2"));
}

// --- XMIDI ---

void XmiRows(std::vector<Row>& rows) {
  constexpr auto kXmi = ClipKind::kXMI;
  // The directory form (22 bytes), then "CAT " with its size at 26.
  const ByteVector two = synth::XmidiFile(2);
  rows.push_back(Framed("XmiCatalogueOnePastTheSourceEnd", kXmi, PutBE32(two, 26, BE32At(two, 26) + 1), kNoClip));
  // A catalogue whose size leaves out the pad byte behind its last event chunk: that byte
  // belongs to the file when the source has it, and the source end closes it when not.
  const ByteVector one = synth::XmidiFile(1);
  const ByteVector odd = PutBE32(one, 26, BE32At(one, 26) - 1);
  rows.push_back(Framed("XmiOddCatalogueTakesItsPadByte", kXmi, odd, Size(odd), 0, 20));
  const ByteVector unpadded = Head(odd, odd.size() - 1);
  rows.push_back(Framed("XmiOddCatalogueWithoutItsPadAtTheSourceEnd", kXmi, unpadded, Size(unpadded), 3));
  // ... and when another file follows at once, its first byte is no pad byte.
  rows.push_back({"XmiOddCatalogueWithoutItsPadBeforeAnotherFile", kXmi, Cat({unpadded, one, Filler(6)}),
                  {{0, Size(unpadded)}, {Size(unpadded), Size(unpadded) + Size(one)}}});
  // A pad byte that is there, garbage that looks like the next file's first byte, is still taken.
  const ByteVector odd_f = Put8(odd, odd.size() - 1, 'F');
  rows.push_back({"XmiOddCatalogueWithGarbagePadBeforeAnotherFile", kXmi, Cat({odd_f, one, Filler(6)}),
                  {{0, Size(odd_f)}, {Size(odd_f), Size(odd_f) + Size(one)}}});
  // A directory of odd size (an INFO chunk of 3 bytes) is padded before the catalogue; the
  // sequence count in it is little-endian, unlike the sizes.
  const ByteVector directory =
      PutBE32(synth::IffChunk("FORM", Cat({ByteVector{'X', 'D', 'I', 'R'}, synth::IffChunk("INFO", {2, 1, 7})})), 4, 15);
  const ByteVector padded = Cat({directory, From(one, 22)});
  rows.push_back(Framed("XmiDirectoryOfOddSize", kXmi, padded, Size(padded), 0, 10, "曲目数 : 258"));
}

// --- ProTracker and its successors ---

void ModRows(std::vector<Row>& rows) {
  constexpr auto kMod = ClipKind::kMOD;
  const ByteVector mod = synth::ModFile();  // 4 channels, 2 patterns, 274 bytes of samples
  rows.push_back(Framed("ModEndingAtTheSourceEnd", kMod, mod, Size(mod), 3, 0, "声道 : 4\r\n图案 : 2"));
  rows.push_back(Framed("ModLastSampleByteMissing", kMod, Head(mod, mod.size() - 1), kNoClip, 3));
  // StarTrekker's FLT8 orders count 4-channel halves: order 2 is the second 8-channel pattern.
  const ByteVector flt8 = Put8(synth::ModFile({.tag = "FLT8", .channels = 8, .patterns = 2}), 952, 2);
  rows.push_back(Framed("ModFlt8OrdersCountPatternHalves", kMod, flt8, Size(flt8), 0, 30, "声道 : 8\r\n图案 : 2"));
  const ByteVector wide = synth::ModFile({.tag = "32CH", .channels = 32, .patterns = 1});
  rows.push_back(Framed("ModThirtyTwoChannelTag", kMod, wide, Size(wide), 0, 10, "声道 : 32"));
  // A song of one position still stores every pattern the order table names.
  rows.push_back(Framed("ModPatternNamedBeyondTheSongLength", kMod, Put8(mod, 950, 1), Size(mod), 0, 10));
  // The longest sample a record can give (65,535 words), across two window boundaries.
  const ByteVector longest = synth::ModFile({.sample_words = {0xFFFF}});
  rows.push_back(Framed("ModLongestSampleAcrossWindows", kMod, longest, Size(longest), 63000, 5));
}

// --- ScreamTracker 3 ---

// Where instrument `i` of an S3M file stands, and where its sample data does.
std::size_t S3mInstrumentAt(const ByteVector& s3m, std::size_t i) { return 16 * LE16At(s3m, 96 + LE16At(s3m, 32) + 2 * i); }
std::size_t S3mDataAt(const ByteVector& s3m, std::size_t i) {
  const std::size_t at = S3mInstrumentAt(s3m, i);
  return 16 * ((std::size_t{s3m[at + 13]} << 16) | LE16At(s3m, at + 14));
}

void S3mRows(std::vector<Row>& rows) {
  constexpr auto kS3m = ClipKind::kS3M;
  // Two sample instruments (500 and 81 bytes, the second one's data last) and two patterns.
  const ByteVector s3m = synth::S3mFile();
  const std::size_t second = S3mInstrumentAt(s3m, 1);
  rows.push_back(Framed("S3mEndsBehindTheFurthestData", kS3m, s3m, Size(s3m), 7, 20, "声道 : 4"));
  rows.push_back(Framed("S3mLastSampleByteMissing", kS3m, Head(s3m, s3m.size() - 1), kNoClip));
  // A 16-bit stereo sample takes four bytes a sample.
  const ByteVector wide = Cat({Put8(s3m, second + 31, 6), ByteVector(3 * 81, 0x11)});
  rows.push_back(Framed("S3mStereo16BitSample", kS3m, wide, Size(wide), 0, 8));
  // An AdLib instrument has no sample data: the first sample's data is the furthest.
  rows.push_back({"S3mAdlibInstrumentHasNoSampleData", kS3m, Put8(s3m, second, 2),
                  {{0, static_cast<std::int64_t>(S3mDataAt(s3m, 0) + 500)}}});
  const std::size_t last_pattern = 16 * LE16At(s3m, 96 + LE16At(s3m, 32) + 2 * 3);
  rows.push_back(Framed("S3mPatternLengthPastTheSourceEnd", kS3m, PutLE16(s3m, last_pattern, 0xFFFF), kNoClip, 0, 100));
  // The data pointer's high byte: the second sample's data at 1 MiB.
  ByteVector far = Put8(PutLE16(s3m, second + 14, 0), second + 13, 1);
  far.resize(0x100000, kFill);
  far.insert(far.end(), 81, 0x22);
  rows.push_back(Framed("S3mSampleDataBeyondOneMebibyte", kS3m, far, Size(far), 0, 4));
}

// --- FastTracker 2 ---

void XmRows(std::vector<Row>& rows) {
  constexpr auto kXm = ClipKind::kXM;
  const ByteVector xm = synth::XmFile();
  rows.push_back(Framed("XmLastSampleByteMissing", kXm, Head(xm, xm.size() - 1), kNoClip));
  // No patterns and no instruments: the module is its header, whose size counts from 60.
  const ByteVector bare = synth::XmFile({.pattern_packed_sizes = {}, .instruments = {}});
  rows.push_back(Framed("XmHeaderOnlyModule", kXm, bare, Size(bare), 1, 50));
  rows.push_back(Framed("XmHeaderSizeOnePastTheSourceEnd", kXm, PutLE32(bare, 60, 277), kNoClip));
  // An instrument without samples whose header has the full 263 bytes.
  const ByteVector empty = synth::XmFile({.pattern_packed_sizes = {64}, .instruments = {{}}});
  const ByteVector full_header = Cat({PutLE32(empty, empty.size() - 29, 263), ByteVector(263 - 29, 0)});
  rows.push_back(Framed("XmEmptyInstrumentWithFullHeader", kXm, full_header, Size(full_header), 0, 20));
  // A ModPlug ADPCM sample of 101 samples: a 16-byte table and 51 bytes.
  const ByteVector plain = synth::XmFile({.pattern_packed_sizes = {64}, .instruments = {{101}}});
  const std::size_t data_at = plain.size() - 101;
  const ByteVector adpcm = Head(Put8(plain, data_at - 40 + 17, 0xAD), data_at + 16 + 51);
  rows.push_back(Framed("XmAdpcmSampleTakesHalfItsLength", kXm, adpcm, Size(adpcm), 9, 30));
}

// --- Impulse Tracker ---

// Where sample header `i` of an IT file stands.
std::size_t ItSampleAt(const ByteVector& it, std::size_t i) {
  const std::size_t table = 192 + LE16At(it, 32);
  return LE32At(it, table + 4 * (LE16At(it, 34) + i));
}

void ItRows(std::vector<Row>& rows) {
  constexpr auto kIt = ClipKind::kIT;
  // The second of two samples compressed: 1,200 samples in one block of 401 bytes, last.
  const ByteVector it = synth::ItFile();
  const std::size_t compressed = ItSampleAt(it, 1);
  rows.push_back(Framed("ItCompressedBlockCut", kIt, Head(it, it.size() - 1), kNoClip, 11));
  // A block holds at least a bit per sample: 401 bytes hold 3,208 samples, not 3,209.
  rows.push_back(Framed("ItCompressedBlockOfOneBitPerSample", kIt, PutLE32(it, compressed + 0x30, 3208), Size(it), 11, 5));
  rows.push_back(Framed("ItCompressedBlockSmallerThanItsSamples", kIt, PutLE32(it, compressed + 0x30, 3209), kNoClip, 11, 5));
  rows.push_back(Framed("ItCompressedLengthAtItsMaximum", kIt, PutLE32(it, compressed + 0x30, 0xFFFFFFFF), kNoClip, 0, 5));
  // The song message laid last: part of the clip when the header's flag says there is one.
  const ByteVector message =
      PutLE32(PutLE16(Cat({it, ByteVector(20, 'm')}), 54, 20), 56, static_cast<std::uint32_t>(it.size()));
  rows.push_back(Framed("ItMessageLaidLast", kIt, message, Size(message), 0, 10));
  const ByteVector unflagged = PutLE16(message, 46, static_cast<std::uint16_t>(LE16At(message, 46) & ~1u));
  rows.push_back(Framed("ItMessageWithoutItsFlag", kIt, unflagged, Size(it), 0, 10));
  // Two sample headers sharing one compressed sample of a bit per sample (silence), which takes
  // most of the file: its data counts once.
  const ByteVector silent_file = synth::ItFile({.sample_lengths = {400, 32768}});
  const std::size_t silent_at = LE32At(silent_file, ItSampleAt(silent_file, 1) + 0x48);
  ByteVector shared = Cat({PutLE16(Head(silent_file, silent_at + 2), silent_at, 4096), ByteVector(4096, 0)});
  const std::size_t first_sample = ItSampleAt(shared, 0);
  shared = PutLE32(PutLE32(Put8(shared, first_sample + 0x12, 0x09), first_sample + 0x30, 32768), first_sample + 0x48,
                   static_cast<std::uint32_t>(silent_at));
  rows.push_back(Framed("ItSamplesSharingCompressedData", kIt, shared, Size(shared), 0, 10));
  // ... and each of them still needs the blocks it claims: one more sample takes a second block.
  rows.push_back(Framed("ItSampleSharingCompressedDataClaimsABlockMore", kIt, PutLE32(shared, first_sample + 0x30, 32769),
                        kNoClip, 0, 10));
  // A 16-bit stereo sample takes four bytes a sample.
  const ByteVector plain = synth::ItFile({.sample_lengths = {400, 100}, .compressed_second = false});
  const ByteVector stereo = Cat({Put8(plain, ItSampleAt(plain, 1) + 0x12, 0x07), ByteVector(300, 0x33)});
  rows.push_back(Framed("ItStereo16BitSample", kIt, stereo, Size(stereo), 0, 6));
}

// --- GIF ---

// "GIF8?a", a logical screen of w x h without a colour table.
ByteWriter GifScreen(std::string_view signature, std::uint16_t w, std::uint16_t h) {
  ByteWriter out;
  out.Text(signature).LE16(w).LE16(h).U8(0).U8(0).U8(0);
  return out;
}

void GifRows(std::vector<Row>& rows) {
  constexpr auto kGif = ClipKind::kGIF;
  // Screen and 256-colour table (781), comment extension 781..788, graphic control, image,
  // trailer.
  const ByteVector gif = synth::GifFile(4, 4, 1);
  rows.push_back(Framed("GifCutInsideTheComment", kGif, Head(gif, 785), kNoClip));
  rows.push_back(Framed("GifWithoutTrailerBeforeNoBlock", kGif, Head(gif, gif.size() - 1), kNoClip, 0, 30));
  const ByteVector no_image = GifScreen("GIF89a", 1, 1).U8(0x21).U8(0xFE).U8(2).Text("hi").U8(0).U8(0x3B).Take();
  rows.push_back(Framed("GifWithoutAnImage", kGif, no_image, kNoClip));
  // A local colour table of 4 entries (zero bytes, which as a code size would end the walk) and
  // a trailer byte among the comment's data.
  ByteWriter local = GifScreen("GIF87a", 2, 2);
  local.U8(0x21).U8(0xFE).U8(3).U8(0x3B).U8(0x3B).U8(0x3B).U8(0);
  local.U8(0x2C).LE16(0).LE16(0).LE16(2).LE16(2).U8(0x81).Fill(12, 0).U8(2).U8(2).U8(0x44).U8(0x01).U8(0).U8(0x3B);
  const ByteVector local_table = local.Take();
  rows.push_back(Framed("Gif87aWithLocalColourTable", kGif, local_table, Size(local_table), 1, 10, "大小 : 2 x 2\r\n帧数 : 1"));
  // A GIF inside another's comment is part of that one.
  ByteWriter outer = GifScreen("GIF89a", 2, 2);
  outer.U8(0x21).U8(0xFE).U8(static_cast<std::uint8_t>(local_table.size())).Append(local_table).U8(0);
  outer.Append(From(local_table, 20));  // the image and trailer
  const ByteVector nested = outer.Take();
  rows.push_back(Framed("GifInsideAnotherGifsComment", kGif, nested, Size(nested), 0, 10));
}

// --- PNG ---

ByteVector PngChunk(std::string_view type, const ByteVector& data) {
  const ByteVector body = ByteWriter().Text(type).Append(data).Take();
  return ByteWriter().BE32(static_cast<std::uint32_t>(data.size())).Append(body).BE32(Crc32(body)).Take();
}

void PngRows(std::vector<Row>& rows) {
  constexpr auto kPng = ClipKind::kPNG;
  // Signature, IHDR 8..33, tEXt 33..56, IDAT, IEND (12 bytes).
  const ByteVector png = synth::PngFile(3, 2);
  rows.push_back(Framed("PngWithoutEndChunk", kPng, Head(png, png.size() - 12), kNoClip, 0, 40));
  rows.push_back(Framed("PngBadCrcInAnAncillaryChunk", kPng, Put8(png, 55, png[55] ^ 1), kNoClip));
  const ByteVector no_data = Cat({Head(png, 33), PngChunk("IEND", {})});
  rows.push_back(Framed("PngWithoutImageData", kPng, no_data, kNoClip));
  // A chunk after the end chunk is not the picture's.
  const ByteVector appended = Cat({png, PngChunk("tEXt", {'x', 0, 'y'})});
  rows.push_back(Framed("PngChunkAfterTheEndChunk", kPng, appended, Size(png), 2));
  // Image data longer than a CRC piece (64 KiB), across a window boundary.
  const ByteVector large = synth::PngFile(200, 120);
  rows.push_back(Framed("PngImageDataLongerThanACrcPiece", kPng, large, Size(large), 1001, 50));
}

// --- Ogg ---

ByteVector VorbisIdentification(std::uint32_t rate, std::uint8_t channels) {
  return ByteWriter().U8(1).Text("vorbis").LE32(0).U8(channels).LE32(rate).LE32(0).LE32(128000).LE32(0).U8(0xB8).U8(1).Take();
}

void OggRows(std::vector<Row>& rows) {
  constexpr auto kOgg = ClipKind::kOGG;
  constexpr std::uint8_t kFirst = 2, kLast = 4;
  constexpr std::uint32_t kA = 0xA, kB = 0xB;
  const auto page = [](std::uint32_t serial, std::uint32_t number, std::uint8_t flags, std::size_t size) {
    return synth::OggPage(serial, number, flags, number == 0 ? VorbisIdentification(44100, 2) : ByteVector(size, 0x55));
  };
  const ByteVector a0 = page(kA, 0, kFirst, 0), a1 = page(kA, 1, 0, 300), a2 = page(kA, 2, 0, 200);
  const ByteVector a3 = page(kA, 3, kLast, 100);
  const ByteVector b0 = page(kB, 0, kFirst, 0), b1 = page(kB, 1, 0, 150), b2 = page(kB, 2, kLast, 90);
  const ByteVector stream_a = Cat({a0, a1, a2, a3}), stream_b = Cat({b0, b1, b2});
  const auto corrupt = [](ByteVector p) {
    p.back() ^= 0x40;
    return p;
  };
  const std::int64_t a01 = Size(a0) + Size(a1), a012 = a01 + Size(a2);
  rows.push_back(Framed("OggLastPageCut", kOgg, Cat({a0, a1, a2, Head(a3, 50)}), a012, 5));
  rows.push_back(Framed("OggBadCrcInTheMiddle", kOgg, Cat({a0, a1, corrupt(a2), a3}), a01, 5, 10));
  rows.push_back(Framed("OggFirstPageDamaged", kOgg, Cat({corrupt(a0), a1, a2, a3}), kNoClip));
  rows.push_back({"OggChainedStreams", kOgg, Cat({stream_a, stream_b, Filler(9)}),
                  {{0, Size(stream_a)}, {Size(stream_a), Size(stream_a) + Size(stream_b)}}});
  // A stream without its last page ends where a chained one starts.
  rows.push_back({"OggChainedStreamWithoutItsLastPage", kOgg, Cat({a0, a1, a2, stream_b}),
                  {{0, a012}, {a012, a012 + Size(stream_b)}}});
  const ByteVector grouped = Cat({a0, b0, a1, b1, a2, b2, a3});
  rows.push_back(Framed("OggMultiplexedStreams", kOgg, grouped, Size(grouped), 0, 12, "编码器 : Vorbis + Vorbis"));
  rows.push_back(Framed("OggForeignPageEndsTheClip", kOgg, Cat({a0, a1, b1, a2, a3}), a01, 3));
  // A page of 255 segments (254 of 255 bytes and one of 254), across a window boundary.
  const ByteVector largest = page(kA, 1, 0, 255 * 254 + 254);
  const ByteVector long_stream = Cat({a0, largest, a3});
  rows.push_back(Framed("OggLargestPageAcrossAWindowBoundary", kOgg, long_stream, Size(long_stream), 63000, 7));
  // A stream whose first page is also its last takes nothing after it.
  rows.push_back(Framed("OggStreamEndedOnItsFirstPage", kOgg, Cat({page(kA, 0, kFirst | kLast, 0), a1}), Size(a0), 0, 4));
}

// --- FLIC ---

void FlicRows(std::vector<Row>& rows) {
  constexpr auto kFlic = ClipKind::kFLIC;
  // Header (128), frames 128..214 and 214..260, the ring frame 260..306.
  const ByteVector fli = synth::FlicFile(64, 48, 2, false);
  rows.push_back(Framed("FliCutInsideTheRingFrame", kFlic, Head(fli, 300), 260, 3));
  // A size the header never got: the chunks end the clip.
  rows.push_back(Framed("FlicStatedSizeBeyondTheChunks", kFlic, PutLE32(fli, 0, 0xFFFFFFFF), 306, 0, 20));
  // A frame chunk behind the stated size is not the animation's.
  const ByteVector trailing = Cat({fli, ByteWriter().LE32(16).LE16(0xF1FA).Fill(10, 0).Take()});
  rows.push_back(Framed("FlicStatedSizeShortOfTheChunks", kFlic, trailing, 306, 0, 0, "帧数 : 2\r\n速度 : 71 毫秒"));
  rows.push_back({"FlicStatedSizeOverstatedBeforeAnotherAnimation", kFlic, Cat({PutLE32(fli, 0, 306 + 8), fli, Filler(10)}),
                  {{0, 306}, {306, 612}}});
  rows.push_back(Framed("FlicUnknownChunkEndsTheWalk", kFlic, PutLE16(fli, 214 + 4, 0x1234), 214, 0, 10));
  rows.push_back(Framed("FlicFrameOfSizeZeroEndsTheWalk", kFlic, PutLE32(fli, 214, 0), 214, 0, 10));
  // FLC: a prefix chunk 128..144, the first frame cut.
  const ByteVector flc = synth::FlicFile(64, 48, 2, true);
  rows.push_back(Framed("FlcPrefixWithoutAWholeFrame", kFlic, Head(flc, 128 + 16 + 20), kNoClip));
}

// --- IFF forms ---

void IffRows(std::vector<Row>& rows) {
  // FORM header (12), COMM 12..38, SSND 38..1054.
  const ByteVector aiff = synth::AiffFile(22050, 1, 16, 500);
  rows.push_back(Framed("AiffCutInsideTheSoundData", ClipKind::kAIFF, Head(aiff, 600), 38, 1));
  rows.push_back(Framed("AiffCutInsideTheCommonChunk", ClipKind::kAIFF, Head(aiff, 30), kNoClip, 1));
  rows.push_back(Framed("AiffFormSizeNeverFilledIn", ClipKind::kAIFF, PutBE32(aiff, 4, 0x7F000000), 1054, 0, 30,
                        "频率 : 22050 Hz"));
  rows.push_back({"AiffFormSizeNeverFilledInBeforeAnotherForm", ClipKind::kAIFF,
                  Cat({PutBE32(aiff, 4, 0x7F000000), aiff, Filler(10)}), {{0, 1054}, {1054, 2108}}});
  // A form size that counts its own 8-byte head, with another form right behind it: the walk
  // proves the first form's chunks end where the second begins.
  rows.push_back({"AiffFormSizeOverstatedBeforeAnotherForm", ClipKind::kAIFF, Cat({PutBE32(aiff, 4, 1054), aiff, Filler(10)}),
                  {{0, 1054}, {1054, 2108}}});
  // A form whose size leaves out the pad byte behind its odd last chunk.
  const ByteVector odd = synth::AiffFile(8000, 1, 8, 501);
  const ByteVector odd_form = PutBE32(odd, 4, static_cast<std::uint32_t>(odd.size() - 9));
  rows.push_back(Framed("AiffOddFormSizeTakesItsPadByte", ClipKind::kAIFF, odd_form, Size(odd), 0, 30));
  // An odd last chunk whose pad byte the source does not have.
  const ByteVector svx = synth::Svx8File(8363, 701);
  const ByteVector svx_unpadded = Head(svx, svx.size() - 1);
  rows.push_back(Framed("Svx8OddBodyWithoutItsPadAtTheSourceEnd", ClipKind::k8SVX, svx_unpadded, Size(svx_unpadded), 5, 0,
                        "频率 : 8363 Hz"));
  // A form of odd size whose writer left the pad byte out, with another form right behind it:
  // that form's first byte is no pad byte.
  const ByteVector svx_odd = PutBE32(svx_unpadded, 4, static_cast<std::uint32_t>(svx_unpadded.size() - 8));
  rows.push_back({"Svx8OddFormWithoutItsPadBeforeAnotherForm", ClipKind::k8SVX, Cat({svx_odd, svx, Filler(6)}),
                  {{0, Size(svx_odd)}, {Size(svx_odd), Size(svx_odd) + Size(svx)}}});
  // A pad byte that is there, garbage that looks like the next form's first byte, is still taken.
  const ByteVector svx_garbage_pad = Put8(PutBE32(svx, 4, static_cast<std::uint32_t>(svx.size() - 9)), svx.size() - 1, 'F');
  rows.push_back({"Svx8OddFormWithGarbagePadBeforeAnotherForm", ClipKind::k8SVX, Cat({svx_garbage_pad, svx, Filler(6)}),
                  {{0, Size(svx)}, {Size(svx), 2 * Size(svx)}}});
  // The header chunk is looked for among the form's first 32 chunks.
  const ByteVector ilbm = synth::IlbmFile(33, 17, 5);
  const auto behind_annotations = [&](int count) {
    ByteWriter body;
    body.Text("ILBM");
    for (int i = 0; i < count; ++i) body.Append(synth::IffChunk("ANNO", {'a', 'b'}));
    return synth::IffChunk("FORM", Cat({body.Take(), From(ilbm, 12)}));
  };
  const ByteVector found = behind_annotations(31), missed = behind_annotations(32);
  rows.push_back(Framed("IlbmHeaderChunkThirtySecond", ClipKind::kILBM, found, Size(found), 0, 10, "大小 : 33 x 17\r\n位平面 : 5"));
  rows.push_back(Framed("IlbmHeaderChunkBeyondTheFirst32", ClipKind::kILBM, missed, kNoClip, 0, 10));
  const ByteVector pbm = Put8(Put8(Put8(Put8(ilbm, 8, 'P'), 9, 'B'), 10, 'M'), 11, ' ');
  rows.push_back(Framed("PbmFormIsAPicture", ClipKind::kILBM, pbm, Size(pbm), 3, 3));
}

std::vector<Row> Rows() {
  std::vector<Row> rows;
  VocRows(rows);
  XmiRows(rows);
  ModRows(rows);
  S3mRows(rows);
  XmRows(rows);
  ItRows(rows);
  GifRows(rows);
  PngRows(rows);
  OggRows(rows);
  FlicRows(rows);
  IffRows(rows);
  return rows;
}

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

std::string Text(const std::vector<Span>& spans) {
  std::string text;
  for (const Span& span : spans) text += "[" + std::to_string(span.start) + ", " + std::to_string(span.end) + ") ";
  return text.empty() ? "no clip" : text;
}

class FurtherFormats : public ::testing::TestWithParam<Row> {};

TEST_P(FurtherFormats, ListWhatTheStructureProves) {
  const Row& row = GetParam();
  for (const bool precise : {false, true}) {
    SCOPED_TRACE(precise ? "precise rules" : "classic rules");
    ScanOptions options = test::OnlyTypes({row.kind});
    options.precise = precise;
    const test::ScanResult result = test::ScanBytes(row.bytes, options);
    EXPECT_EQ(Text(test::Spans(result.catalogue)), Text(row.expected));
    for (const TFilestruct& clip : result.catalogue) {
      EXPECT_EQ(clip.Extension, ClipTypeOf(row.kind).extension);
      EXPECT_FALSE(clip.OpenEnd);
    }
    if (!row.info.empty() && !result.catalogue.empty()) {
      EXPECT_NE(result.catalogue[0].InfoText.find(row.info), std::string::npos) << result.catalogue[0].InfoText;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FurtherTypes, FurtherFormats, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace
}  // namespace rsf
