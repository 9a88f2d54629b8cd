#include "media/media_table.h"

#include <algorithm>
#include <array>

namespace quillet::test {

void MediaTable::add(const QByteArray& medium, const QString& check, const QString& counts,
                     qint64 milliseconds) {
    m_rows.push_back({QString::fromUtf8(medium), check, counts,
                      QString::number(milliseconds / 1000.0, 'f', 1) + QStringLiteral(" s")});
}

QString MediaTable::text() const {
    std::vector<Row> rows = m_rows;
    // By medium, in the order each was first met, so that a medium's cases stand together.
    std::vector<QString> order;
    for (const Row& row : rows) {
        if (std::find(order.begin(), order.end(), row.medium) == order.end())
            order.push_back(row.medium);
    }
    std::stable_sort(rows.begin(), rows.end(), [&order](const Row& a, const Row& b) {
        return std::find(order.begin(), order.end(), a.medium) <
               std::find(order.begin(), order.end(), b.medium);
    });
    rows.insert(rows.begin(), Row{QStringLiteral("medium"), QStringLiteral("case"),
                                  QStringLiteral("counts"), QStringLiteral("time")});
    std::array<qsizetype, 3> width{};
    for (const Row& row : rows) {
        width[0] = std::max(width[0], row.medium.size());
        width[1] = std::max(width[1], row.check.size());
        width[2] = std::max(width[2], row.counts.size());
    }
    QString text;
    for (const Row& row : rows) {
        text += row.medium.leftJustified(width[0]) + QStringLiteral(" | ") +
                row.check.leftJustified(width[1]) + QStringLiteral(" | ") +
                row.counts.leftJustified(width[2]) + QStringLiteral(" | ") + row.time +
                QLatin1Char('\n');
    }
    return text;
}

}  // namespace quillet::test
