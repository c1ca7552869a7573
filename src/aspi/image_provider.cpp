// The image ASPI provider: disc-image files as CD-ROM devices (see image_config.h for the
// environment it reads). The configuration is read again whenever its variables change, so
// one process can try several set-ups; requests already under way keep the one they began
// with. Execute-SCSI requests are answered on the worker thread ("pending" at once) unless
// RSFX_ASPI_IMAGE_SYNC=1.
#include <chrono>
#include <memory>
#include <mutex>

#include "aspi/aspi_exports.h"
#include "aspi/image_answers.h"
#include "aspi/image_config.h"
#include "aspi/provider_support.h"
#include "aspi/request_worker.h"
#include "aspi_abi/scsidefs.h"

namespace rsf::aspi {
namespace {

struct Provider {
  std::mutex mutex;
  ImageEnvironment environment;
  std::shared_ptr<const ImageConfig> config = std::make_shared<const ImageConfig>();
  RequestWorker worker;  // last: stopped before the rest goes
};

Provider& TheProvider() {
#ifdef _WIN32
  // Never destroyed on Windows: a DLL's statics go while the process ends, after the system has
  // stopped the worker thread mid-wait, and tearing its lock down then hangs the exit.
  static Provider& provider = *new Provider;
#else
  static Provider provider;
#endif
  return provider;
}

std::shared_ptr<const ImageConfig> CurrentConfig() {
  Provider& provider = TheProvider();
  ImageEnvironment now = ImageEnvironment::Current();
  std::lock_guard lock(provider.mutex);
  if (!(now == provider.environment)) {
    provider.config = std::make_shared<const ImageConfig>(ParseImageConfig(now));
    provider.environment = std::move(now);
  }
  return provider.config;
}

std::uint32_t DeviceType(const ImageConfig& config, DeviceTypeBlock& block) {
  std::uint8_t status = kStatusCompleted;
  if (block.host_adapter >= config.HostAdapterCount())
    status = kStatusInvalidHostAdapter;
  else if (block.lun != 0 || config.Find(block.host_adapter, block.target) == nullptr)
    status = kStatusNoDevice;
  else
    block.device_type = kDeviceTypeCdRom;
  block.status = status;
  return status;
}

std::uint32_t Execute(std::shared_ptr<const ImageConfig> config, ExecScsiBlock& block) {
  if (block.host_adapter >= config->HostAdapterCount()) return block.status = kStatusInvalidHostAdapter;
  const ImageDevice* device = block.lun == 0 ? config->Find(block.host_adapter, block.target) : nullptr;
  if (device == nullptr) return block.status = kStatusNoDevice;
  if (config->synchronous) {
    const std::uint8_t status = AnswerImageCommand(*device, block);
    FinishRequest(block, status);
    return status;
  }
  const auto due = RequestWorker::Clock::now() +
                   std::chrono::milliseconds(config->delay_ms + ImageCommandLateness(*device, block));
  block.status = kStatusPending;
  ExecScsiBlock* request = &block;
  TheProvider().worker.Submit(due, [config = std::move(config), device, request] {
    FinishRequest(*request, AnswerImageCommand(*device, *request));
  });
  return kStatusPending;
}

}  // namespace
}  // namespace rsf::aspi

std::uint32_t GetASPI32SupportInfo() {
  using namespace rsf::aspi;
  const int adapters = CurrentConfig()->HostAdapterCount();
  return SupportInfo(kStatusCompleted, static_cast<std::uint8_t>(adapters > 255 ? 255 : adapters));
}

std::uint32_t SendASPI32Command(void* request_block) {
  using namespace rsf::aspi;
  if (request_block == nullptr) return kStatusInvalidCommand;
  auto config = CurrentConfig();
  auto* header = static_cast<BlockHeader*>(request_block);
  switch (header->command) {
    case kCommandGetDeviceType: return DeviceType(*config, *static_cast<DeviceTypeBlock*>(request_block));
    case kCommandExecuteScsi: return Execute(std::move(config), *static_cast<ExecScsiBlock*>(request_block));
    default: return header->status = kStatusInvalidCommand;
  }
}
