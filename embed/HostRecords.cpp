#include "embed/HostRecords.h"

#include <array>

namespace embed {
namespace {

template <typename Record>
Record& NextOf() {
  static std::array<Record, PAGEWELL_RECORD_RING> ring{};
  static std::size_t next = 0;
  Record& record = ring[next];
  next = (next + 1) % ring.size();
  return record;
}

}  // namespace

HotSpotClickRecord& NextClickRecord() { return NextOf<HotSpotClickRecord>(); }
HotSpotNotifyRecord& NextNotifyRecord() { return NextOf<HotSpotNotifyRecord>(); }

}  // namespace embed
