// The clip-type table: one record per type a user ticks, in the order in which the scan runs
// their detectors. Dispatch, the signature index, the command line's type names, the list's type
// names and the window's check boxes are all read from it, so adding a type is its detector and
// one record here.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "scan/catalogue/clip_catalogue.h"
#include "scan/catalogue/clip_types.h"

namespace rsf {

class ScanState;
struct ClipTypeRecord;

// A detector: finds the clips of the record's type in the scan state's current window.
using ClipDetector = void (*)(ScanState& state, const ClipTypeRecord& type);

// What one rule set (classic or precise) does for a type: the signatures the scan indexes for
// it in every window, and the detector that takes its candidates from them.
struct ClipRules {
  std::span<const std::string_view> signatures;
  ClipDetector detector = nullptr;
};

// The two groups of check boxes.
enum class ClipTypeGroup {
  kClassic,  // "剪辑类型:", ticked at start
  kFurther,  // "更多类型:", unticked at start
};

// Where a type's clips are found.
enum class ClipOrigin {
  kSignatures,  // the detector starts from its signatures in the window
  kSource,      // the detector takes its clips from the source's own layout (no signatures)
};

struct ClipTypeRecord {
  ClipKind kind;
  std::string_view name;       // on the command line: "qt", "8svx"
  std::string_view type_name;  // in the list: "Quicktime 剪辑"
  std::string_view extension;  // of extracted files and catalogue entries: ".qt"
  ClipTypeGroup group;
  std::string_view caption;  // of the check box: "Quicktime"
  int row;                   // of the check box in its group's grid
  int column;
  ClipRules classic;
  ClipRules precise;
  ClipOrigin origin = ClipOrigin::kSignatures;

  const ClipRules& Rules(bool precise_rules) const { return precise_rules ? precise : classic; }
};

// Every record, in dispatch order: the classic types, then the further ones.
std::span<const ClipTypeRecord> ClipTypeTable();
const ClipTypeRecord& ClipTypeOf(ClipKind kind);

std::optional<ClipKind> ClipKindFromName(std::string_view name);

// The list's type name for a catalogue extension (".jpg" gives "JPEG 图片"), MP3 mode's too.
std::string_view TypeNameForExtension(std::string_view extension);
// The list's type name of a catalogue entry: an audio track's, or its extension's.
std::string_view TypeNameOf(const TFilestruct& clip);

}  // namespace rsf
