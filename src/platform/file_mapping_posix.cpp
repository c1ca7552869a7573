// POSIX file mappings. Touching a mapped page that the file no longer has raises SIGBUS; the
// handler installed with the first mapping maps a page of zeros over the lost one and marks
// the mapping, so the access completes and the scan reads that part again. Faults outside our
// mappings go to the handler that was there before.
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <mutex>

#include "platform/file.h"
#include "platform/file_mapping.h"

namespace rsf::platform {
namespace {

// The mappings alive at one time: a scan holds a few; more simply are not mapped.
constexpr int kSlots = 64;

struct Slot {
  std::atomic<std::uintptr_t> begin{0};
  std::atomic<std::uintptr_t> end{0};
  std::atomic<bool> lost{false};
};
std::array<Slot, kSlots> slots;
std::mutex slot_mutex;  // taking and giving back slots; the handler only reads them
std::uintptr_t page_size = 4096;
struct sigaction previous_action {};

void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (Slot& slot : slots) {
    const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
    if (begin == 0 || address < begin || address >= slot.end.load(std::memory_order_acquire)) continue;
    void* page = reinterpret_cast<void*>(address & ~(page_size - 1));
    if (::mmap(page, page_size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
      slot.lost.store(true, std::memory_order_release);
      return;  // the access is made again, and reads zeros
    }
    break;
  }
  // Not ours (or no page to put there): what would have happened without us.
  if (previous_action.sa_flags & SA_SIGINFO) {
    if (previous_action.sa_sigaction) return previous_action.sa_sigaction(signal, info, context);
  } else if (previous_action.sa_handler != SIG_DFL && previous_action.sa_handler != SIG_IGN) {
    return previous_action.sa_handler(signal);
  }
  ::signal(SIGBUS, SIG_DFL);  // the access faults again and ends the program as it would have
}

bool InstallHandler() {
  page_size = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  return ::sigaction(SIGBUS, &action, &previous_action) == 0;
}

int TakeSlot(std::uintptr_t begin, std::uintptr_t end) {
  std::lock_guard lock(slot_mutex);
  for (int i = 0; i < kSlots; ++i) {
    if (slots[i].begin.load(std::memory_order_relaxed) != 0) continue;
    slots[i].lost.store(false, std::memory_order_relaxed);
    slots[i].end.store(end, std::memory_order_release);
    slots[i].begin.store(begin, std::memory_order_release);
    return i;
  }
  return -1;
}

void GiveBackSlot(int i) {
  std::lock_guard lock(slot_mutex);
  slots[i].begin.store(0, std::memory_order_release);
  slots[i].end.store(0, std::memory_order_release);
}

}  // namespace

std::unique_ptr<FileMapping> FileMapping::Map(const File& file, std::int64_t offset, std::int64_t length) {
  static const bool handled = InstallHandler();
  if (!handled || offset < 0 || length <= 0) return nullptr;
  const auto lead = static_cast<std::int64_t>(static_cast<std::uintptr_t>(offset) & (page_size - 1));
  const auto mapped_length = static_cast<std::size_t>(lead + length);
  // Populated at once: one call maps the pages the page cache holds, instead of a fault per few.
  void* base = ::mmap(nullptr, mapped_length, PROT_READ, MAP_SHARED | MAP_POPULATE, static_cast<int>(file.handle_), offset - lead);
  if (base == MAP_FAILED) return nullptr;
  ::madvise(base, mapped_length, MADV_SEQUENTIAL);
  const auto begin = reinterpret_cast<std::uintptr_t>(base);
  const int slot = TakeSlot(begin, begin + mapped_length);
  if (slot < 0) {
    ::munmap(base, mapped_length);
    return nullptr;
  }
  return std::unique_ptr<FileMapping>(new FileMapping(static_cast<const std::uint8_t*>(base), offset, lead, length, slot));
}

FileMapping::~FileMapping() {
  ::munmap(const_cast<std::uint8_t*>(base_), static_cast<std::size_t>(lead_ + length_));
  GiveBackSlot(slot_);
}

bool FileMapping::Touch(std::int64_t from, std::int64_t count) const {
  const std::uint8_t* first = base_ + lead_ + from;
  const std::uint8_t* last = first + count;
  for (const std::uint8_t* page = base_ + ((lead_ + from) & ~static_cast<std::int64_t>(page_size - 1)); page < last;
       page += page_size) {
    const volatile std::uint8_t* touched = page < first ? first : page;
    static_cast<void>(*touched);
  }
  return !slots[slot_].lost.load(std::memory_order_acquire);
}

}  // namespace rsf::platform
