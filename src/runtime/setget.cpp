#include "runtime/setget.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "runtime/codtxt.h"
#include "runtime/geosta.h"
#include "runtime/hostcb.h"
#include "runtime/modcnt.h"
#include "runtime/nxttkn.h"
#include "runtime/resget.h"
#include "runtime/setnum.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr std::string_view kApplication = "Quorin";
constexpr int32_t kWorkLength = 255;      // the work text and the long value text
constexpr int32_t kResourceField = 25;    // section and key of the resource reader
constexpr int32_t kResourceAnswer = 255;  // the resource reader's answer buffer
constexpr int32_t kLowFormatLimit = 9999; // numbers above it need the wide format
constexpr std::string_view kFilterKey = "FILTER-";

HostResourceReader gReader = nullptr;
WrittenHighestSource gHighest = nullptr;

bool beginsWith(std::string_view value, std::string_view prefix) {
  return value.substr(0, prefix.size()) == prefix;
}

// The integer of the first prefix of ROW that VALUE begins with, or the row's default.
int32_t byPrefix(const SettingRow& row, std::string_view value) {
  for (const SettingPrefix& p : row.prefixes) {
    if (p.text.empty()) break;
    if (beginsWith(value, p.text)) return p.value;
  }
  return row.defaultValue;
}

// The first token of VALUE, read by the lexer in MODE: the value becomes a code line
// from position 1 and the token is looked for up to its last code.
int32_t firstToken(FText value, int32_t mode, int32_t& ivalue, float& rvalue) {
  std::array<int32_t, kMaxTextCodes> line{};
  int32_t last = 0;
  TXTCOD(value, 1, line, last);
  int32_t kind = 0, first = 0, end = 0;
  NXTTKN(line, 1, last, mode, kind, first, end, ivalue, rvalue);
  return kind;
}

// 0 when both numbers are at most 9999, else 1.
int32_t lowFormat(int64_t node, int64_t element) {
  return node <= kLowFormatLimit && element <= kLowFormatLimit ? 0 : 1;
}

}  // namespace

void setHostResourceReader(HostResourceReader reader) { gReader = reader; }

void setWrittenHighestSource(WrittenHighestSource source) { gHighest = source; }

WrittenHighest writtenHighest() { return gHighest != nullptr ? gHighest() : WrittenHighest{}; }

void RESRD(FText section, FText key, FText value) {
  FixedText sectionField(kResourceField, section.view());
  FixedText keyField(kResourceField, key.view());
  TXTNUL(sectionField, 1);
  TXTNUL(keyField, 1);
  // Cleared before every call: a reader that answers "not found" without writing would
  // otherwise hand back the answer of the previous call.
  std::string answer(kResourceAnswer, '\0');
  int32_t lead1 = 1, lead2 = 2, length = kResourceAnswer, status = 0;
  (gReader != nullptr ? gReader : RESHST)(lead1, lead2, sectionField, keyField,
                                          FText(answer), length, status);
  value.assign(std::string_view(answer).substr(0, answer.find('\0')));
}

void SETGET(int32_t number, int32_t& integer, float& real, FText text) {
  integer = 0;
  real = 0.0f;
  FixedText work(kWorkLength);
  if (number >= 1 && number <= kSettingCount) {
    const SettingRow& row = settingRow(number);
    FixedText value(row.valueLength);
    int32_t status = 0;
    if (row.source == SettingSource::Lookup) {
      FixedText application(static_cast<int32_t>(kApplication.size()), kApplication);
      FixedText program(static_cast<int32_t>(row.program.size()), row.program);
      FixedText section(static_cast<int32_t>(row.section.size()), row.section);
      FixedText key(static_cast<int32_t>(row.key.size()), row.key);
      RESGET(application, program, section, key, row.isSwitch, value, status);
    } else {
      std::string keyText(row.key);
      if (row.conversion == SettingConversion::Filter) {
        keyText = (std::string(kFilterKey) + text.trimmed()).substr(0, kResourceField);
      }
      FixedText section(static_cast<int32_t>(row.section.size()), row.section);
      FixedText key(static_cast<int32_t>(keyText.size()), keyText);
      RESRD(section, key, value);
    }
    // The part of the value the conversions look at: a lookup's only when found, and over
    // no more than its status, which can exceed the value text (never read past the
    // text); the resource reader's answer always, whatever its status.
    const int32_t found = row.source == SettingSource::Lookup
                              ? std::clamp(status, 0, value.text().length())
                              : value.text().length();
    const std::string_view v = value.view().substr(0, static_cast<size_t>(found));

    switch (row.conversion) {
      case SettingConversion::Prefixes:
        integer = byPrefix(row, v);
        break;
      case SettingConversion::LowWritten:
        if (beginsWith(v, "LOW")) {
          const WrittenHighest h = writtenHighest();
          integer = lowFormat(h.node, h.element);
        } else {
          integer = row.defaultValue;
        }
        break;
      case SettingConversion::LowModel:
        if (beginsWith(v, "LOW")) {
          const int64_t node = int64_t{MODCNT.word(kCntHighestNode)} + MODCNT.word(kCntNodeOffset);
          const int64_t element =
              int64_t{MODCNT.word(kCntHighestElement)} + MODCNT.word(kCntElementOffset);
          integer = lowFormat(node, element);
        } else {
          integer = row.defaultValue;
        }
        break;
      case SettingConversion::TokenInteger: {
        int32_t ivalue = 0;
        float rvalue = 0.0f;
        integer = firstToken(value, kLexInteger, ivalue, rvalue) == kTokenInteger
                      ? ivalue : row.defaultValue;
        break;
      }
      case SettingConversion::TokenReal: {
        int32_t ivalue = 0;
        float rvalue = 0.0f;
        if (firstToken(value, kLexNumber, ivalue, rvalue) == kTokenReal) real = rvalue;
        break;
      }
      case SettingConversion::TokenAnyKind: {
        float rvalue = 0.0f;
        firstToken(value, kLexInteger, integer, rvalue);
        break;
      }
      case SettingConversion::ReadReal:
        real = found > 0 ? TXTREL(value, found)
                         : 3.0f * GEOSTA.real(kGeoModelTolerance);
        break;
      case SettingConversion::ReadInteger:
        integer = found > 0 ? TXTINT(value, found) : row.defaultValue;
        break;
      case SettingConversion::Text:
        work.text().assign(value.view());
        break;
      case SettingConversion::StatusAndText:
        integer = status;
        work.text().assign(value.view());
        break;
      case SettingConversion::Filter: {
        const std::string_view answer = value.view();
        const size_t nul = answer.find('\0');
        integer = nul != std::string_view::npos ? static_cast<int32_t>(nul)
                                                : value.text().trimmedLength();
        work.text().assign(answer);
        break;
      }
    }
  }
  const int32_t set = std::min(text.length(), kWorkLength);
  std::copy_n(work.view().begin(), set, text.data());
}

}  // namespace kvr
