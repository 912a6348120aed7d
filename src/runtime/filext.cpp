#include "runtime/filext.h"

#include <algorithm>
#include <string_view>

#include "runtime/resget.h"

namespace kvr {

namespace {
constexpr int32_t kValueLength = 80;
}

void FILEXT(FText driver, FText extension, bool isSwitch, int32_t& status) {
  FixedText app(6, "Quorin");
  FixedText prog(1, "*");
  FixedText section(13, "FileExtension");
  FixedText value(kValueLength);
  RESGET(app, prog, section, driver, isSwitch, value, status);
  std::string_view text = value.view();
  if (status > 0) {
    // A value longer than the text is cut: look only at what the text holds.
    size_t dot = text.substr(0, static_cast<size_t>(std::min(status, kValueLength))).find('.');
    if (dot != std::string_view::npos) text = text.substr(dot + 1);
  }
  extension.assign(text);
}

}  // namespace kvr
