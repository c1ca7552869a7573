// The ASPI library binding: loaded by name through the platform layer on every call, never
// released, or replaced by entry points a test supplies.
#include "cd/wnaspi32.h"

#include <memory>
#include <mutex>

#include "aspi_abi/aspi_abi.h"
#include "platform/aspi_library.h"

namespace rsf {
namespace {

std::mutex& OverrideMutex() {
  static std::mutex mutex;
  return mutex;
}

std::shared_ptr<const aspi::LibraryEntries>& Override() {
  static std::shared_ptr<const aspi::LibraryEntries> entries;
  return entries;
}

std::shared_ptr<const aspi::LibraryEntries> CurrentOverride() {
  std::lock_guard lock(OverrideMutex());
  return Override();
}

// The entry point `name` of the library as loaded now, or null.
void* LoadEntryPoint(const char* name) {
  void* library = platform::LoadLibraryByName(platform::AspiLibraryName());
  return library == nullptr ? nullptr : platform::LibraryEntryPoint(library, name);
}

}  // namespace

std::uint32_t GetASPI32SupportInfo() {
  if (auto entries = CurrentOverride()) return entries->support_info ? entries->support_info() : 0;
  void* entry = LoadEntryPoint(aspi::kSupportInfoEntryName);
  if (entry == nullptr) return 0;
  return reinterpret_cast<aspi::SupportInfoEntry>(entry)();
}

std::uint32_t SendASPI32Command(void* request_block) { return aspi::SendToLibrary(request_block).code; }

namespace aspi {

SendOutcome SendToLibrary(void* request_block) {
  if (auto entries = CurrentOverride()) {
    if (!entries->send_command) return {};
    return {entries->send_command(request_block), true};
  }
  void* entry = LoadEntryPoint(kSendCommandEntryName);
  if (entry == nullptr) return {};
  return {reinterpret_cast<SendCommandEntry>(entry)(request_block), true};
}

void OverrideLibrary(LibraryEntries entries) {
  std::lock_guard lock(OverrideMutex());
  Override() = std::make_shared<const LibraryEntries>(std::move(entries));
}

void RestoreLibrary() {
  std::lock_guard lock(OverrideMutex());
  Override().reset();
}

}  // namespace aspi
}  // namespace rsf
