#include "support/faulty_settings_store.h"

namespace quillet::test {

bool FaultySettingsStore::write(const QString& application, const QString& section,
                                const QString& key, const QString& value) {
    ++writes;
    if (fail) {
        ++injected;
        return false;
    }
    return m_real.write(application, section, key, value);
}

}  // namespace quillet::test
