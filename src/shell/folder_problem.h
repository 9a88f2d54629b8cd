#pragma once

#include <QString>

#include "platform/file_system.h"
#include "ui/form1.h"

namespace quillet {

// Why the list does not show the folder that the status bar names, in the user's words, or an
// empty text when it does. A folder that cannot be listed is never switched to, so the list
// goes on showing the folder before it, while the status bar shows what was asked for.
QString FolderProblem(const Form1& form, FileSystem& files);

}  // namespace quillet
