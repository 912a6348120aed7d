#include "dbinterface/diendrec.h"

#include "dbinterface/direcs.h"
#include "runtime/codtxt.h"

namespace kvr {

void EndRecords::add(int32_t count, int32_t value) {
  put(kTagEnd);
  for (int32_t k = 0; k < count; ++k) put(value);
}

void EndRecords::put(int32_t value) {
  if (size_ < kCapacity) words_[static_cast<std::size_t>(size_++)] = value;
}

void endRecords(int32_t key, int32_t irtype, int32_t modelMode, EndRecords& records) {
  records = EndRecords();
  // The key's own record: the tag and the words after it.
  switch (key) {
    case 2: records.add(5); break;        // 0, x, y, z, 0
    case 3: records.add(6); break;
    case 18:
    case 19:                              // a member list of one member 0
      records.add(0);
      records.put(1);
      records.put(0);
      break;
    case 20: records.add(8); break;       // four integers, four reals
    case 28: records.add(8); break;
    case 29: records.add(8); break;       // seven integers, one real
    case 30: records.add(5); break;
    case 31: records.add(7); break;
    case 32: records.add(3); break;
    case 33:
    case 34: records.add(5); break;
    case 41:
    case 42: records.add(4); break;
    case 43:
    case 50: records.add(2); break;
    case 100:
    case 300:
      if (irtype == 1) {
        records.add(2);
      } else if (irtype == 2) {
        records.add(5);
      } else if (irtype > 2) {
        records.add(9);
      }
      break;
    default: break;
  }
  // A model being built ends its list of assembly components.
  if (modelMode == kModelModeBuild) records.add(21);
  switch (key) {
    case 53: records.add(64); break;
    case 54:
    case 55:                              // a number and a name of eight blank codes
      records.add(1);
      for (int32_t k = 0; k < 8; ++k) records.put(kBlankCode);
      break;
    default: break;
  }
}

}  // namespace kvr
