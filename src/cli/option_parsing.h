// Parsing of the rsfx list options: clip types (--types) and clip numbers (--only).
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "scan/engine/scan_options.h"

namespace rsf::cli {

// Every clip type's --types name, comma-separated, in dispatch order.
std::string KnownTypeNames();

// The names of the classic types, the default of --types.
std::string ClassicTypeNames();

// "qt,bmp,jpg": the enabled flags, or nullopt (with `error` set) for an unknown name; "all"
// enables every type. An empty list enables nothing.
std::optional<std::array<bool, kClipKindCount>> ParseTypeList(std::string_view list, std::string& error);

// "2,5-7": the set of clip numbers (counted from 1), or nullopt (with `error` set) for anything
// that is not a positive number or an ascending range of them.
std::optional<std::set<std::size_t>> ParseClipNumbers(std::string_view list, std::string& error);

}  // namespace rsf::cli
