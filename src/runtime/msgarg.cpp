#include "runtime/msgarg.h"

#include <bit>

#include "runtime/codtxt.h"

namespace kvr {
namespace {

EntityLabelReader gLabelReader = nullptr;
DatabaseDumper gDumper = nullptr;

// Step 1 of every posting: the flags follow the signed number, suppressed or not.
void raiseFlags(int32_t m) {
  if (m > 1000) MSGARG.warningFlag() = 1;
  if (m > 2000) MSGARG.errorFlag() = 1;
}

// The composer of the catalogues, when there is one.
void compose() {
  if (CATHOOKS.compose != nullptr) CATHOOKS.compose();
}

void post(int32_t m, int32_t word, int32_t type) {
  raiseFlags(m);
  if (MSGARG.suppress() == 1) return;
  if (m >= 0) MSGARG.number() = m;
  int32_t k = MSGARG.count() + 1;
  // An eleventh value would lie beyond the ten slots: it is dropped.
  if (k >= 1 && k <= MsgArg::kMaxValues) {
    MSGARG.value(k) = word;
    MSGARG.type(k) = type;
    MSGARG.count() = k;
  }
  if (m > 0) compose();
}

}  // namespace

void MSGQIN(int32_t m, int32_t value) { post(m, value, MsgArg::kInteger); }

void MSGQRL(int32_t m, int32_t value) {
  post(m, std::bit_cast<int32_t>(static_cast<float>(value)), MsgArg::kReal);
}

void MSGQ0(int32_t m) {
  raiseFlags(m);
  if (MSGARG.suppress() == 1) return;
  if (m > 0) {
    MSGARG.number() = m;
    compose();
  }
}

void MSGQV4(int32_t a, int32_t b, int32_t c, int32_t d) {
  if (a >= 8 && a <= 16) dumpDatabase();
  MSGQRL(-3000, a);
  MSGQRL(-3000, b);
  MSGQRL(-3000, c);
  MSGQRL(3000, d);
}

void MSGENT(int32_t m, int32_t e, int32_t k) {
  if (k == 8 || k == 9) {
    MSGQRL(m, e);
    return;
  }
  int32_t word1 = kBlankCode;
  int32_t word2 = kBlankCode;
  if (gLabelReader != nullptr) gLabelReader(e, k, word1, word2);
  MSGQIN(m < 0 ? m : -m, word1);
  MSGQIN(m, word2);
}

void setEntityLabelReader(EntityLabelReader reader) { gLabelReader = reader; }

void setDatabaseDumper(DatabaseDumper dumper) { gDumper = dumper; }

void dumpDatabase() {
  if (gDumper != nullptr) gDumper();
}

}  // namespace kvr
