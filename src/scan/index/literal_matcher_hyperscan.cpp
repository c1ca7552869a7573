// Hyperscan's literal mode: one compiled database for all signatures of a run, one pass per
// window. Match callbacks arrive in order of end offset, which for a fixed-length literal is
// the order of its start offsets.
#include <hs/hs.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "scan/index/literal_matcher.h"

namespace rsf {
namespace {

class HyperscanMatcher final : public LiteralMatcher {
 public:
  explicit HyperscanMatcher(const std::vector<std::string>& patterns) {
    std::vector<const char*> expressions;
    std::vector<std::size_t> lengths;
    std::vector<unsigned> flags(patterns.size(), 0);
    std::vector<unsigned> ids;
    for (std::size_t i = 0; i < patterns.size(); ++i) {
      expressions.push_back(patterns[i].data());
      lengths.push_back(patterns[i].size());
      ids.push_back(static_cast<unsigned>(i));
      pattern_lengths_.push_back(static_cast<std::uint32_t>(patterns[i].size()));
      longest_ = std::max(longest_, patterns[i].size());
    }
    hs_compile_error_t* error = nullptr;
    if (hs_compile_lit_multi(expressions.data(), flags.data(), ids.data(), lengths.data(),
                             static_cast<unsigned>(patterns.size()), HS_MODE_BLOCK, nullptr, &database_,
                             &error) != HS_SUCCESS) {
      std::string message = error && error->message ? error->message : "hyperscan compile error";
      hs_free_compile_error(error);
      throw std::runtime_error(message);
    }
    if (hs_alloc_scratch(database_, &scratch_) != HS_SUCCESS) {
      hs_free_database(database_);
      throw std::runtime_error("hyperscan scratch allocation failed");
    }
  }
  ~HyperscanMatcher() override {
    hs_free_scratch(scratch_);
    hs_free_database(database_);
  }

  void FindAll(Bytes text, std::vector<std::vector<std::uint32_t>>& starts) const override {
    starts.resize(pattern_lengths_.size());
    for (auto& list : starts) list.clear();  // keeps their capacity from window to window
    if (text.empty()) return;
    Context context{this, &starts};
    hs_scan(database_, reinterpret_cast<const char*>(text.data()), static_cast<unsigned>(text.size()), 0,
            scratch_, &OnMatch, &context);
  }

  std::size_t FindFirst(Bytes text) const override {
    if (text.empty()) return std::string_view::npos;
    First first{this, std::string_view::npos};
    hs_scan(database_, reinterpret_cast<const char*>(text.data()), static_cast<unsigned>(text.size()), 0, scratch_,
            &OnFirstMatch, &first);
    return first.start;
  }

 private:
  struct First {
    const HyperscanMatcher* self;
    std::size_t start;
  };

  // Matches arrive by end offset: once an end lies a longest pattern beyond the earliest start
  // seen, nothing that follows can begin before it.
  static int OnFirstMatch(unsigned id, unsigned long long, unsigned long long to, unsigned, void* data) {
    auto* first = static_cast<First*>(data);
    const auto start = static_cast<std::size_t>(to - first->self->pattern_lengths_[id]);
    first->start = std::min(first->start, start);
    return to >= first->start + first->self->longest_ ? 1 : 0;
  }

  struct Context {
    const HyperscanMatcher* self;
    std::vector<std::vector<std::uint32_t>>* starts;
  };

  static int OnMatch(unsigned id, unsigned long long, unsigned long long to, unsigned, void* data) {
    auto* context = static_cast<Context*>(data);
    const std::uint32_t length = context->self->pattern_lengths_[id];
    (*context->starts)[id].push_back(static_cast<std::uint32_t>(to - length));
    return 0;
  }

  hs_database_t* database_ = nullptr;
  hs_scratch_t* scratch_ = nullptr;
  std::vector<std::uint32_t> pattern_lengths_;
  std::size_t longest_ = 0;
};

}  // namespace

std::unique_ptr<LiteralMatcher> MakeHyperscanMatcher(const std::vector<std::string>& patterns) {
  if (hs_valid_platform() != HS_SUCCESS) return nullptr;
  return std::make_unique<HyperscanMatcher>(patterns);
}

bool HyperscanAvailable() { return hs_valid_platform() == HS_SUCCESS; }

}  // namespace rsf
