#include "command/cmdini.h"

#include "command/cmdlin.h"
#include "command/mnuctl.h"
#include "command/syncmd.h"
#include "messages/synsta.h"
#include "runtime/ftext.h"
#include "runtime/setget.h"

namespace kvr {
namespace {

constexpr int32_t kExpertMenusSetting = 33;  // "ExpertMenus" of section "HCI"
constexpr int32_t kSettingTextLength = 255;

}  // namespace

void CMDINI(int32_t& status) {
  MNUCTL.menuLevel = kMenuLevel;
  MNUCTL.answerCount = 0;
  status = 0;

  CMDLIN.pending = 0;
  CMDLIN.continuations = 0;
  MNUCTL.charsPerWord = 1;

  int32_t expert = 0;
  float real = 0.0f;
  FixedText text(kSettingTextLength);
  SETGET(kExpertMenusSetting, expert, real, text);
  if (expert == 1) MNUCTL.menuLevel = kExpertMenuLevel;

  gLastValues = {};
  SYNSTA.echo = 1;
  SYNSTA.active = 0;

  int32_t synonymStatus = 0;
  FixedText none(0);
  SYNCMD(kSynonymRead, none, synonymStatus);
}

}  // namespace kvr
