#pragma once

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/folder_picker.h"
#include "platform/process.h"
#include "platform/settings_store.h"
#include "platform/special_folders.h"
#include "platform/user_feedback.h"

namespace quillet {

// Everything outside the program that the window's behaviour reaches, in one bundle.
struct Platform {
    FileSystem& files;
    SettingsStore& settings;
    UserFeedback& feedback;
    FolderPicker& folderPicker;
    SpecialFolders& specialFolders;
    Clock& clock;
    Process& process;
};

}  // namespace quillet
