// The checks after a component is written, by its write method and the job's check mode:
// read-back comparison, checksum, status word. A mismatch is reported as a check error
// through the host; the link reports its own failures.
#pragma once
#include <cstdint>
#include <memory>

#include "link/target_link.h"
#include "update/update_host.h"
#include "update/update_job.h"

namespace tarnwick {

// A buffer of kComponentBufferSize bytes, filled with 0xFF, holding the checked data of
// the component at position (loadComponentData); null when there is no such buffer or
// the data do not pass.
std::unique_ptr<uint8_t[]> loadComponentBuffer(const UpdateJob& job, int position, uint32_t& length);

// True when the data of every component the run will write pass the check loadComponentData
// makes, so that a damaged package is refused before the product is changed rather than
// halfway through its components. The run writes the selected components with one of the
// route's attribute bits (kAttrRs232c, or kAttrEthernet); under "Normal update." it passes
// those whose version the product reported (reported), and their data are not looked at.
// reported is null on the recovery path, which writes every selected component.
[[nodiscard]] bool checkSelectedComponentData(const UpdateJob& job, uint32_t routeAttributes,
                                              const TargetInfo* reported);

// True when the component at position, just written with the length bytes of data, is good.
// A read-back goes into a buffer of its own, is kept as the position's verify data file in
// the work directory and is compared with data in memory.
[[nodiscard]] bool checkWrittenComponent(TargetLink& link, UpdateHost& host, const UpdateJob& job, int position,
                                         const uint8_t* data, uint32_t length);

}  // namespace tarnwick
