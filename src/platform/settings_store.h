#pragma once

#include <QString>

namespace quillet {

// The per-user settings store, addressed by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // Stores the value and makes it durable before returning; false when that failed.
    virtual bool write(const QString& application, const QString& section, const QString& key,
                       const QString& value) = 0;
};

}  // namespace quillet
