// The forms a text can be found in, and how texts are read: the plug-in converts with the
// runtime's detection and readers (platform/text_form.h, platform/text_readers.h), so that it
// reads every text as the host and the other plug-ins do.
#pragma once

#include "platform/text_form.h"

namespace unibridge {

using namespace platform;

using Source = TextForm;

}  // namespace unibridge
