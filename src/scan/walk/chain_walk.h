// A walk along a chain of elements (blocks, chunks, pages) whose next element follows from the
// current one's position alone, remembered in a walk memo: a walk that joins the path of an
// earlier one ends where that one ended, with what it met on the way.
#pragma once

#include <cstdint>
#include <optional>

#include "scan/walk/walk_memo.h"

namespace rsf {

// One element as the walk meets it.
struct ChainStep {
  // Where the chain goes on behind this element; at or before the element's own offset: the
  // chain ends here.
  std::int64_t next = -1;
  // When the chain ends here: where the clip ends, -1 when it breaks off without one.
  std::int64_t end = -1;
  // What this element is, for the caller's acceptance (WalkMemo::kFlagBits bits). Only an
  // element that lies whole in the source may carry flags.
  unsigned flags = 0;
};

// Walks from the element at `at` with `step` (at -> ChainStep). Returns the end and the flags of
// every element met, packed as WalkMemo::Pack.
template <typename Step>
std::int64_t WalkChain(WalkMemo& memo, std::int64_t at, Step step) {
  WalkMemo::Walk walk(memo);
  unsigned seen = 0, beyond = 0;
  std::int64_t end = -1;
  for (;;) {
    if (const std::optional<std::int64_t> known = memo.Find(at)) {
      end = WalkMemo::EndOf(*known);
      beyond = WalkMemo::FlagsOf(*known);
      break;
    }
    const ChainStep here = step(at);
    walk.Pass(at, here.flags);
    seen |= here.flags;
    if (here.next <= at) {
      end = here.end;
      break;
    }
    at = here.next;
  }
  walk.EndPacked(end, beyond);
  return WalkMemo::Pack(end, seen | beyond);
}

}  // namespace rsf
