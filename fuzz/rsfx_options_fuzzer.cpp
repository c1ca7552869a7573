// rsfx's list options: --types and --only. The first byte picks the option, the rest is its text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/option_parsing.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string error;
  if (data[0] % 2 == 0) {
    const auto enabled = rsf::cli::ParseTypeList(text, error);
    RSF_FUZZ_CHECK(enabled.has_value() == error.empty());
    if (enabled) {
      // Every name that was accepted is one of the known ones, and enables its own type only.
      std::string rebuilt;
      for (int kind = 0; kind < rsf::kClipKindCount; ++kind)
        if ((*enabled)[static_cast<std::size_t>(kind)]) rebuilt += std::string(rsf::ClipTypeOf(static_cast<rsf::ClipKind>(kind)).name) + ",";
      if (!rebuilt.empty()) rebuilt.pop_back();
      std::string again_error;
      RSF_FUZZ_CHECK(rsf::cli::ParseTypeList(rebuilt, again_error) == enabled);
    }
  } else {
    const auto numbers = rsf::cli::ParseClipNumbers(text, error);
    RSF_FUZZ_CHECK(numbers.has_value() == error.empty());
    if (numbers) {
      RSF_FUZZ_CHECK(!numbers->empty());
      RSF_FUZZ_CHECK(*numbers->begin() >= 1);
    }
  }
  return 0;
}
