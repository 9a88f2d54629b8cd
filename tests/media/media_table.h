#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace quillet::test {

// What each case did on each medium, printed as one table when the check ends.
class MediaTable {
  public:
    void add(const QByteArray& medium, const QString& check, const QString& counts,
             qint64 milliseconds);
    // The table as text, one line a row, columns aligned.
    QString text() const;
    bool empty() const { return m_rows.empty(); }

  private:
    struct Row {
        QString medium;
        QString check;
        QString counts;
        QString time;
    };
    std::vector<Row> m_rows;
};

}  // namespace quillet::test
