#include "support/faulty_open_folder.h"

#include <utility>

namespace quillet::test {

FaultyOpenFolder::FaultyOpenFolder(std::unique_ptr<OpenFolder> real, const RenameFault& renameFault,
                                   const AttributeFault& attributeFault, FaultCounts& counts,
                                   int* listings)
    : m_real(std::move(real)),
      m_renameFault(renameFault),
      m_attributeFault(attributeFault),
      m_counts(counts),
      m_listings(listings) {}

std::optional<std::vector<DirEntry>> FaultyOpenFolder::listFiles(const QString& patterns) {
    if (m_listings) ++*m_listings;
    return m_real->listFiles(patterns);
}

int FaultyOpenFolder::renameNoReplace(const QByteArray& from, const QByteArray& to) {
    ++m_counts.renames;
    if (m_renameFault) {
        if (const int error = m_renameFault(from, to); error != 0) {
            ++m_counts.injected;
            return error;
        }
    }
    return m_real->renameNoReplace(from, to);
}

std::optional<std::uint32_t> FaultyOpenFolder::attributes(const QByteArray& name) {
    return m_real->attributes(name);
}

int FaultyOpenFolder::setAttributes(const QByteArray& name, std::uint32_t bits) {
    ++m_counts.attributeWrites;
    if (m_attributeFault) {
        if (const int error = m_attributeFault(name); error != 0) {
            ++m_counts.injected;
            return error;
        }
    }
    return m_real->setAttributes(name, bits);
}

}  // namespace quillet::test
