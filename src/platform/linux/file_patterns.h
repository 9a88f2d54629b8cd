#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace quillet {

// A ";"-separated list of wildcard patterns, matched against raw file names without regard
// to letter case.
class FilePatterns {
  public:
    explicit FilePatterns(const QString& patterns);

    bool matches(const QByteArray& name) const;

  private:
    std::vector<QByteArray> m_patterns;
    // Patterns of the common form "*.jpg": a star, then plain ASCII, compared as a suffix.
    std::vector<QByteArray> m_suffixes;
    bool m_matchAll = false;
};

}  // namespace quillet
