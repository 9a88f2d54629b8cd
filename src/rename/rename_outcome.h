#pragma once

#include <QString>

#include "platform/file_system.h"
#include "ui/form1.h"

namespace quillet {

// The status bar's word on the latest pass, as the pass itself reported it (the folder is never
// looked at again, where a name swapped or taken over cannot tell which file stayed); empty
// when every rename took effect.
QString PassSummaryText(const PassReport& report);

// The status bar's tool tip: what went wrong with the folder asked for and with the latest
// pass, one per line; when neither has anything to say, the bar's own tool tip.
QString StatusBarToolTip(const Form1& form, FileSystem& files);

}  // namespace quillet
