// The database open over a fuzzed index and data file pair: a damaged or foreign pair is
// refused with a status, never a crash or a hang. The input is the index file's length as
// a 4-byte little-endian word, the index file, then the data file.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "modeldb/dbopen.h"
#include "platform/cmdline.h"
#include "platform/exedir.h"
#include "platform/procid.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/iounit.h"
#include "runtime/pltpar.h"
#include "runtime/resget.h"
#include "runtime/startup.h"

using namespace kvr;

namespace {

void connectToNull(int32_t unit) {
  io::OpenSpec want;
  want.file = "/dev/null";
  want.status = io::Status::Old;
  if (io::unitOpen(unit, want) != io::kIosOk) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  fuzz::isolateSettings();
  setCommandLineOverride({"prog"});
  resetCommandLineProbe();
  os::setExecutableDirectoryOverride("p/bin/");
  os::setProcessIdOverride(31337);
  setDefaultUnitSlots();
  connectToNull(7);
  IOUNIT.slot(kSlotLogFile) = 7;
  CHRSET();
  INICON();
  GFXDEF();
  LOGOPN(1, 1);
  SETDEF();
  connectToNull(30);
  PLTPAR.outUnit = 30;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const size_t indexLength = std::min<size_t>(
      size - 4, uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                    uint32_t(data[3]) << 24);
  const std::string_view rest = fuzz::asText(data + 4, size - 4);
  fuzz::writeFile("M1.M71", rest.substr(0, indexLength));
  fuzz::writeFile("M1.V71", rest.substr(indexLength));

  static std::vector<int32_t> buffer(32640);
  const std::vector<int32_t> name = {codeOf('M'), codeOf('1')};
  int32_t status = -1;
  try {
    TLBOPN(buffer, name, 2, status);
  } catch (const fuzz::Stopped&) {
    // The stop closed every unit: the log and message units come back for the next input.
    connectToNull(7);
    connectToNull(30);
  }
  DBCLOS();
  return 0;
}
