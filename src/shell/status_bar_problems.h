#pragma once

#include <QString>

#include "platform/file_system.h"
#include "ui/form1.h"

namespace quillet {

// The status bar's word on the latest pass, as the pass itself reported it (the folder is never
// looked at again, where a name swapped or taken over cannot tell which file stayed); empty
// when every rename took effect.
QString PassSummaryText(const PassReport& report);

// What went wrong with the folder asked for and with the latest pass, one per line; empty when
// neither has anything to say. Both change only with a listing, so it is learnt after each.
QString StatusBarProblems(const Form1& form, FileSystem& files);

}  // namespace quillet
