// The two entry points every ASPI provider library exports, with C linkage so the binding
// finds them by their plain names.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define RSF_ASPI_EXPORT extern "C" __declspec(dllexport)
#else
#define RSF_ASPI_EXPORT extern "C" __attribute__((visibility("default")))
#endif

RSF_ASPI_EXPORT std::uint32_t GetASPI32SupportInfo();
RSF_ASPI_EXPORT std::uint32_t SendASPI32Command(void* request_block);
