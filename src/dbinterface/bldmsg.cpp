#include "dbinterface/bldmsg.h"

#include <string_view>

#include "dbinterface/dimsg.h"
#include "modeldb/dbmsg.h"
#include "runtime/ftext.h"

namespace kvr {
namespace {

constexpr int32_t kM024NodeNotFound = 24;
constexpr int32_t kM038ListTooLong = 38;

void writeLine(const std::string& text) {
  FixedText routnm(6, "DIBLD");
  FixedText noText(kDiTextLength);
  FixedText line(static_cast<int32_t>(text.size()), text);
  DIINF(routnm, noText, kDiFreeLine, line, 0);
}

}  // namespace

int32_t smallestPageHolding(int64_t words, int32_t header) {
  for (const int32_t size : kDataPageSizes) {
    if (words <= int64_t{size} - header) return size;
  }
  return 0;
}

std::string missingNodeLine(int32_t element, int32_t node) {
  return "ELEMENT " + std::to_string(element) + " NAMES NODE " + std::to_string(node) +
         ", WHICH IS NOT AMONG THE NODES SENT";
}

std::string longNodeListLine(int32_t node, int32_t elements, int64_t words, int32_t header) {
  const std::string head = "NODE " + std::to_string(node) + " IS USED BY " +
                           std::to_string(elements) + " ELEMENTS: ";
  const int32_t size = smallestPageHolding(words, header);
  if (size == 0) return head + "NO PAGE SIZE HOLDS ITS LIST";
  return head + "ITS LIST NEEDS PAGE SIZE " + std::to_string(size) + " OR MORE";
}

void reportMissingNode(int32_t element, int32_t node) {
  dbMessage(kM024NodeNotFound, {element, node});
  writeLine(missingNodeLine(element, node));
}

void reportLongNodeList(int32_t node, int32_t elements, int64_t words, int32_t header) {
  dbMessage(kM038ListTooLong, {node, elements});
  writeLine(longNodeListLine(node, elements, words, header));
}

}  // namespace kvr
