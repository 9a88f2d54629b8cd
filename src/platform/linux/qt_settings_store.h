#pragma once

#include "platform/settings_store.h"

namespace quillet {

// The per-user store as QSettings keeps it: one file per application,
// "$XDG_CONFIG_HOME/<application>.conf", with sections as groups.
class QtSettingsStore : public SettingsStore {
  public:
    bool write(const QString& application, const QString& section, const QString& key,
               const QString& value) override;
};

}  // namespace quillet
