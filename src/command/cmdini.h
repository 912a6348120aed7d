// CMDINI: resets the command processor when a model is opened, before its menu table is
// built.
#pragma once

#include <cstdint>

namespace kvr {

// Menu level 2 (3 when the setting "ExpertMenus" of section "HCI" is true), no answer
// records in use, nothing pending and no continuation line in CMDLIN, one character per
// table word, the last values 0, the synonym echo on and the synonyms inactive; then the
// synonym file is read (SYNCMD 1), its status not passed on. STATUS is always 0. The
// input words of IOMODE are left as they are.
void CMDINI(int32_t& status);

}  // namespace kvr
