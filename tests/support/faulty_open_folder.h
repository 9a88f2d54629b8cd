#pragma once

#include <functional>
#include <memory>

#include "platform/file_system.h"

namespace quillet::test {

// What a test decides for one call: 0 lets the real folder do the work, anything else is the
// errno value the call fails with, the real folder left untouched.
using RenameFault = std::function<int(const QByteArray& from, const QByteArray& to)>;
using AttributeFault = std::function<int(const QByteArray& name)>;

// Counts of what went through the wrapper and what was turned into a failure.
struct FaultCounts {
    int renames = 0;
    int attributeWrites = 0;
    int injected = 0;
};

// A real open folder with failures put in front of it, the way a disk, a file system or
// another process would make them happen.
class FaultyOpenFolder : public OpenFolder {
  public:
    // The faults are looked up at each call, so that a test may set them after the folder was
    // opened (it is held from the listing on); they must outlive this folder.
    FaultyOpenFolder(std::unique_ptr<OpenFolder> real, const RenameFault& renameFault,
                     const AttributeFault& attributeFault, FaultCounts& counts,
                     int* listings = nullptr);

    std::optional<std::vector<DirEntry>> listFiles(const QString& patterns) override;
    const UnlistedNames* unlistedNames() const override { return m_real->unlistedNames(); }
    bool ignoresCase() const override { return m_real->ignoresCase(); }

    int renameNoReplace(const QByteArray& from, const QByteArray& to) override;
    std::optional<std::uint32_t> attributes(const QByteArray& name) override;
    int setAttributes(const QByteArray& name, std::uint32_t bits) override;

  private:
    std::unique_ptr<OpenFolder> m_real;
    const RenameFault& m_renameFault;
    const AttributeFault& m_attributeFault;
    FaultCounts& m_counts;
    int* m_listings;
};

}  // namespace quillet::test
