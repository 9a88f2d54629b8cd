#pragma once

#include <QByteArray>

#include "platform/settings_store.h"

namespace quillet {

// The per-user store in the INI form a Qt program reads with QSettings: one file per
// application, "<configuration folder>/<application>.conf", with sections as groups. Only the
// written key's value changes; every other byte of the file is kept. Whatever stands under the
// file's name, a write returns within a bounded time: only a regular file is read, the lock
// is waited for a short while only, and the file is replaced in one step.
class QtSettingsStore : public SettingsStore {
  public:
    bool write(const QString& application, const QString& section, const QString& key,
               const QString& value) override;
};

// The per-user configuration folder: an absolute XDG_CONFIG_HOME, else ".config" in the home
// folder (HOME, or the password database's entry without it). Empty when there is none.
QByteArray UserConfigFolder();

}  // namespace quillet
