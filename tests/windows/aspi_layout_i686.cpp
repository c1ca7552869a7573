// Compiled (never run) with the 32-bit MinGW-w64 compiler: the ASPI request blocks must have
// exactly the layout a 32-bit ASPI library expects, field by field.
#include <cstddef>

#include "aspi_abi/aspi_abi.h"

namespace {

using rsf::aspi::DeviceTypeBlock;
using rsf::aspi::ExecScsiBlock;

static_assert(sizeof(void*) == 4, "this check is for 32-bit builds");
static_assert(sizeof(ExecScsiBlock) == 80);
static_assert(offsetof(ExecScsiBlock, target) == 8);
static_assert(offsetof(ExecScsiBlock, lun) == 9);
static_assert(offsetof(ExecScsiBlock, data_length) == 12);
static_assert(offsetof(ExecScsiBlock, data_buffer) == 16);
static_assert(offsetof(ExecScsiBlock, sense_length) == 20);
static_assert(offsetof(ExecScsiBlock, cdb_length) == 21);
static_assert(offsetof(ExecScsiBlock, host_status) == 22);
static_assert(offsetof(ExecScsiBlock, target_status) == 23);
static_assert(offsetof(ExecScsiBlock, completion_event) == 24);
static_assert(offsetof(ExecScsiBlock, cdb) == 48);
static_assert(offsetof(ExecScsiBlock, sense) == 64);
static_assert(sizeof(DeviceTypeBlock) == 16);
static_assert(offsetof(DeviceTypeBlock, target) == 8);
static_assert(offsetof(DeviceTypeBlock, lun) == 9);
static_assert(offsetof(DeviceTypeBlock, device_type) == 10);

}  // namespace
