// QuickTime and MP4 by the chain of their top-level atoms, of the known top-level types only,
// from an "ftyp", "moov" or "mdat" atom: a chain that holds a "moov" is a clip, and it ends
// after its last known atom. A size of 1 takes the 64-bit size after the type, a size of 0 runs
// to the source end. A file that begins with "ftyp" is found from there; its later atoms lie
// inside that clip and are not listed again. Walks from different candidates that reach one
// atom go on alike, so the memo keeps where the chain from each atom ends and whether a movie
// atom lies ahead.
#include <array>

#include "scan/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::array<std::string_view, 15> kTopLevelTypes = {"ftyp", "moov", "mdat", "free", "skip",
                                                            "wide", "uuid", "pnot", "udta", "meta",
                                                            "moof", "mfra", "sidx", "styp", "pdin"};
constexpr unsigned kMovieSeen = 1;

struct Atom {
  std::string type;
  std::int64_t size = 0;  // 0: to the source end
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
  } else if (*size != 0 && *size < 8) {
    return std::nullopt;
  }
  return atom;
}

// The chain from the atom at `at`: its end and whether a movie atom lies on it, packed.
std::int64_t ChainFrom(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kAtomChain);
  WalkMemo::Walk walk(memo);
  std::int64_t end = at;
  unsigned seen = 0, beyond = 0;
  for (;;) {
    if (const std::optional<std::int64_t> known = memo.Find(end)) {
      end = WalkMemo::EndOf(*known);
      beyond = WalkMemo::FlagsOf(*known);
      break;
    }
    const std::optional<Atom> atom = AtomAt(view, end);
    const std::int64_t atom_end = !atom ? -1 : atom->size == 0 ? view.Size() : end + atom->size;
    // What is met counts only for an atom that lies whole in the source: a movie atom cut off
    // at the source end makes no clip, wherever the walk came from.
    const bool whole = atom && atom_end <= view.Size();
    const unsigned here = whole && atom->type == "moov" ? kMovieSeen : 0u;
    walk.Pass(end, here);
    if (!whole) break;
    seen |= here;
    end = atom_end;
    if (atom->size == 0) break;
  }
  walk.EndPacked(end, beyond);
  return WalkMemo::Pack(end, seen | beyond);
}

std::optional<std::int64_t> QuicktimeEnd(ScanState& state, std::int64_t start) {
  const std::int64_t chain = ChainFrom(state, start);
  if (WalkMemo::FlagsOf(chain) != kMovieSeen || WalkMemo::EndOf(chain) <= start) return std::nullopt;
  return WalkMemo::EndOf(chain);
}

}  // namespace

void FindPreciseQuicktimeClips(ScanState& state) {
  EachWalkedCandidate(state, {"ftyp"sv, "moov"sv, "mdat"sv}, 4, kQuicktimeExtension, kQuicktimeTypeName,
                      [&](std::int64_t start) { return QuicktimeEnd(state, start); }, NoInfo);
}

}  // namespace rsf
