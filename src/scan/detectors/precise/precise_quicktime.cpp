// QuickTime and MP4 by the chain of their top-level atoms, of the known top-level types only,
// from an "ftyp", "moov" or "mdat" atom: a chain that holds a "moov" is a clip, and it ends
// after its last known atom. A size of 1 takes the 64-bit size after the type. A size of 0
// ("runs to the end of the file", allowed for the last atom) has no end inside other data: the
// movie ends where its tables place the last byte of media data (the sample tables of the movie
// atom before it, or the track runs of the fragment before it; after its header when they place
// nothing in it), and where there are no such tables the end is open. A later "ftyp" begins the
// next file. A file that begins with "ftyp" is found from there; its later atoms lie inside
// that clip and are not listed again. Walks from different candidates that reach one atom go on
// alike, so the memo keeps where the chain from each atom ends and whether a movie atom lies
// ahead.
#include <array>

#include "scan/detectors/precise/movie_media_end.h"

#include "scan/detectors/precise/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::array<std::string_view, 15> kTopLevelTypes = {"ftyp", "moov", "mdat", "free", "skip",
                                                            "wide", "uuid", "pnot", "udta", "meta",
                                                            "moof", "mfra", "sidx", "styp", "pdin"};
constexpr unsigned kMovieSeen = 1;
constexpr unsigned kOpenEnd = 2;
// A movie atom larger than this is not read for its tables (the end stays open).
constexpr std::int64_t kLargestMovieAtom = std::int64_t{64} << 20;

struct Atom {
  std::string type;
  std::int64_t size = 0;  // 0: to the source end
  std::int64_t header = 8;
};

std::optional<Atom> AtomAt(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(at, 16, storage);
  const std::optional<std::uint32_t> size = head.ReadBE32();
  const std::optional<Bytes> type = head.ReadBytes(4);
  if (!size || !type) return std::nullopt;
  Atom atom{std::string(type->begin(), type->end()), *size};
  if (std::find(kTopLevelTypes.begin(), kTopLevelTypes.end(), atom.type) == kTopLevelTypes.end()) return std::nullopt;
  if (*size == 1) {
    const std::optional<std::uint64_t> large = head.ReadBE64();
    if (!large || *large < 16 || *large > static_cast<std::uint64_t>(view.Size())) return std::nullopt;
    atom.size = static_cast<std::int64_t>(*large);
    atom.header = 16;
  } else if (*size != 0 && *size < 8) {
    return std::nullopt;
  }
  return atom;
}

// The body of the atom at `at` of `size` bytes (header `header` bytes), when it can be read whole.
std::optional<std::vector<std::uint8_t>> AtomBody(SourceView& view, std::int64_t at, std::int64_t size, std::int64_t header) {
  if (size <= header || size > kLargestMovieAtom) return std::nullopt;
  std::vector<std::uint8_t> body(static_cast<std::size_t>(size - header));
  if (view.Read(at + header, body.data(), size - header) != size - header) return std::nullopt;
  return body;
}

// An atom whose tables place media data: where it stands, its size and header length.
struct TableAtom {
  std::int64_t at = -1;
  std::int64_t size = 0;
  std::int64_t header = 8;
};

// Where the media data of the movie that starts at `origin` ends, by the tables of the atom
// before its size-0 atom: a fragment's track runs, or the movie atom's sample tables.
std::optional<std::int64_t> TablesEnd(SourceView& view, std::int64_t origin, const TableAtom& movie,
                                      const TableAtom& fragment) {
  if (fragment.at >= 0) {
    const auto body = AtomBody(view, fragment.at, fragment.size, fragment.header);
    if (!body) return std::nullopt;
    const std::optional<std::int64_t> end = FragmentDataEnd(*body, fragment.at - origin);
    if (end) return origin + *end;
    return std::nullopt;
  }
  if (movie.at < 0) return std::nullopt;
  const auto body = AtomBody(view, movie.at, movie.size, movie.header);
  if (!body) return std::nullopt;
  const std::optional<std::int64_t> end = MediaDataEnd(*body);
  if (end) return origin + *end;
  return std::nullopt;
}

// The chain from the atom at `at`: its end and whether a movie atom lies on it, packed.
std::int64_t ChainFrom(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kAtomChain);
  WalkMemo::Walk walk(memo);
  std::int64_t end = at;
  unsigned seen = 0, beyond = 0;
  TableAtom movie, fragment;  // the last movie atom passed; the fragment just before
  for (;;) {
    const std::optional<Atom> atom = AtomAt(view, end);
    // A file type atom opens a file: behind the first atom it is the next file's, wherever the
    // walk came from (so it is looked at before the memo).
    if (end != at && atom && atom->type == "ftyp") break;
    if (const std::optional<std::int64_t> known = memo.Find(end)) {
      end = WalkMemo::EndOf(*known);
      beyond = WalkMemo::FlagsOf(*known);
      break;
    }
    std::int64_t atom_end = !atom ? -1 : atom->size == 0 ? view.Size() : end + atom->size;
    // What is met counts only for an atom that lies whole in the source: a movie atom cut off
    // at the source end makes no clip, wherever the walk came from.
    const bool whole = atom && atom_end <= view.Size();
    unsigned here = whole && atom->type == "moov" ? kMovieSeen : 0u;
    if (whole && atom->size == 0) {
      // Inside other data the source end is nobody's end: the tables say where the media stop.
      // Tables that place nothing in it leave it empty: the movie ends with its header.
      const std::optional<std::int64_t> media_end = TablesEnd(view, at, movie, fragment);
      if (media_end && *media_end <= view.Size()) {
        atom_end = std::max(*media_end, end + 8);
      } else {
        // Open: the chain records what it proved, the atom's header; the rest may be anything.
        here |= kOpenEnd;
        atom_end = std::min(end + atom->header, view.Size());
      }
    }
    walk.Pass(end, here);
    if (!whole) break;
    seen |= here;
    if (atom->type == "moov") movie = {end, atom_end - end, atom->header};
    fragment = atom->type == "moof" ? TableAtom{end, atom_end - end, atom->header} : TableAtom{};
    end = atom_end;
    if (atom->size == 0) break;
  }
  walk.EndPacked(end, beyond);
  return WalkMemo::Pack(end, seen | beyond);
}

std::optional<WalkEnd> QuicktimeEnd(ScanState& state, std::int64_t start) {
  const std::int64_t chain = ChainFrom(state, start);
  if ((WalkMemo::FlagsOf(chain) & kMovieSeen) == 0 || WalkMemo::EndOf(chain) <= start) return std::nullopt;
  if ((WalkMemo::FlagsOf(chain) & kOpenEnd) != 0) return WalkEnd{state.SourceSize(), true, WalkMemo::EndOf(chain)};
  return WalkEnd{WalkMemo::EndOf(chain), false};
}

}  // namespace

void FindPreciseQuicktimeClips(ScanState& state) {
  EachWalkedCandidate(state, kQuicktimeAtomSignatures, kAtomTypeOffset, kQuicktimeExtension, kQuicktimeTypeName,
                      [&](std::int64_t start) { return QuicktimeEnd(state, start); }, NoInfo);
}

}  // namespace rsf
