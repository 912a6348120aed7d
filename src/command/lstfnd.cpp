#include "command/lstfnd.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "command/ansrec.h"
#include "command/mnuctl.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/genopen.h"
#include "runtime/nxttkn.h"

namespace kvr {
namespace {

constexpr int32_t kRecordLength = 255;
constexpr int32_t kFormatted = 1;  // TLFOPN form: formatted sequential
constexpr int32_t kReadOld = 4;    // TLFOPN mode: READ, the file must exist

bool isComment(int32_t kind, int32_t code) {
  return kind == kTokenStar || code == codeOf('!') || code == codeOf('*');
}

}  // namespace

bool readHeaderNames(FText fileName, bool upperCase, const HeaderNameVisit& visit) {
  int32_t openStatus = 0;
  const int32_t unit =
      OPNFRE(fileName, kFormatted, kReadOld, 0, openStatus, fileName.trimmedLength());
  if (unit < 0) return false;

  std::array<char, kRecordLength> record{};
  std::array<int32_t, kRecordLength> line{};
  bool named = false;
  bool stopped = false;
  // A read error ends the file as its end does.
  while (!named && !stopped && io::readRecord(unit, record.data(), kRecordLength) == io::kIosOk) {
    line.fill(kBlankCode);
    int32_t n = 0;
    TXTCOD(FText(record.data(), kRecordLength), 1, line, n);
    if (upperCase) UPCCOD(line, 1, n);
    for (int32_t p = 1; p <= n && !stopped;) {
      int32_t kind = kTokenNone, first = 0, last = 0, ivalue = 0;
      float rvalue = 0.0f;
      NXTTKN(line, p, n, kLexToken, kind, first, last, ivalue, rvalue);
      if (kind == kTokenNone || last < p) break;
      if (isComment(kind, line[static_cast<std::size_t>(first - 1)])) break;
      p = last + 1;
      if (kind != kTokenText) continue;
      named = true;
      const int32_t length = std::min(last - first + 1, kHeaderNameCodes);
      stopped = visit(std::span<const int32_t>(line).subspan(static_cast<std::size_t>(first - 1),
                                                             static_cast<std::size_t>(length)));
    }
  }
  io::unitClose(unit);
  return true;
}

bool answerFileName(int32_t answer, FText fileName) {
  fileName.fill(' ');
  if (answer < 1 || answer > MNUCTL.answerCount) return false;
  std::array<int32_t, kListFileNameChars> codes{};
  int32_t count = 0;
  int32_t length = 0;
  TXTREF(ITEM(answer), kListFileNameChars, codes, count, length);
  CODTXT(codes, count, fileName);
  return true;
}

void LSTFND(int32_t answer, std::span<const int32_t> name, int32_t nameLength, int32_t& seen,
            int32_t& status) {
  status = 1;
  seen = 0;
  FixedText fileName(kListFileNameChars);
  if (!answerFileName(answer, fileName)) return;

  std::array<int32_t, kHeaderNameCodes> wanted;
  wanted.fill(kBlankCode);
  const int32_t n = std::clamp(std::min(nameLength, static_cast<int32_t>(name.size())), 0,
                               kHeaderNameCodes);
  std::copy_n(name.begin(), n, wanted.begin());
  UPCCOD(wanted, 1, n);

  readHeaderNames(fileName, true, [&](std::span<const int32_t> token) {
    ++seen;
    std::array<int32_t, kHeaderNameCodes> stored;
    stored.fill(kBlankCode);
    std::copy(token.begin(), token.end(), stored.begin());
    if (stored != wanted) return false;
    status = 0;
    return true;
  });
}

}  // namespace kvr
