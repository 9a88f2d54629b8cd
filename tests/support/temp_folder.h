#pragma once

#include <QByteArray>
#include <QTemporaryDir>

namespace quillet::test {

// A real folder under the system's temporary place, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder();
    // A folder inside `under` instead, for instance on another file system.
    explicit TempFolder(const QString& under);
    // Removes what QTemporaryDir cannot: names that are not valid UTF-8, read-only folders.
    ~TempFolder();

    QByteArray path() const;
    QByteArray pathOf(const QByteArray& name) const;
    // Creates a file with the given raw name and content; returns its full path.
    QByteArray write(const QByteArray& name, const QByteArray& content = {}) const;
    QByteArray read(const QByteArray& name) const;
    bool exists(const QByteArray& name) const;
    // The names in the folder (dot files included), sorted bytewise.
    QList<QByteArray> names() const;
    QByteArray makeFolder(const QByteArray& name) const;

  private:
    QTemporaryDir m_dir;
};

// The names in a folder (dot files included), sorted bytewise; empty when it cannot be read.
QList<QByteArray> NamesIn(const QByteArray& folder);

}  // namespace quillet::test
