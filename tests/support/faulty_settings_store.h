#pragma once

#include "platform/settings_store.h"

namespace quillet::test {

// A real settings store that can be told to fail, as a full disk or a broken configuration
// folder would make it; the failing write does not reach the real store.
class FaultySettingsStore : public SettingsStore {
  public:
    explicit FaultySettingsStore(SettingsStore& real) : m_real(real) {}

    bool write(const QString& application, const QString& section, const QString& key,
               const QString& value) override;

    bool fail = false;
    int writes = 0;
    int injected = 0;

  private:
    SettingsStore& m_real;
};

}  // namespace quillet::test
