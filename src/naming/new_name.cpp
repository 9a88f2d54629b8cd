#include "naming/new_name.h"

#include <algorithm>

#include "naming/numbers.h"
#include "ui/form1.h"
#include "util/file_name_text.h"

namespace quillet {

bool HasTrailingNumber(const ListRow& row) {
    const QString& oldFile = row.originalPrefix();
    const QString& extension = row.extension();
    const qsizetype withoutNumber =
        oldFile.size() + (extension.isEmpty() ? 0 : extension.size() + 1);
    return row.text.size() != withoutNumber;
}

QString ComposeNewName(const ListRow& row, const NamingOptions& options, std::int64_t counter,
                       const QString& randomLetters) {
    QString name;
    const ZeroPadded digits(static_cast<double>(counter), options.width);
    ComposeNewName(row, options, digits.text(), randomLetters, name);
    return name;
}

void ComposeNewName(const ListRow& row, const NamingOptions& options, std::string_view counter,
                    const QString& randomLetters, QString& name) {
    // The parts first, so that the name is sized once: this runs for every row on every
    // keystroke.
    QStringView prefix = options.prefixText;
    QStringView prefixEnd;
    if (options.randomPrefix) {
        prefix = randomLetters;
        prefixEnd = options.dotSuffix;
    } else if (options.useOriginalPrefix) {
        prefix = row.originalPrefix();
    }

    const ZeroPadded ownNumber = [&] {
        if (!options.useOriginalValue || !HasTrailingNumber(row)) return ZeroPadded();
        // Only the first 12 characters of the sort key hold the number.
        return ZeroPadded(LeadingNumber(QStringView(row.numberKey()).left(12)), options.width);
    }();
    const std::string_view digits = options.useOriginalValue ? ownNumber.text() : counter;

    const QStringView extension = options.useOriginalExtension ? QStringView(row.extension())
                                                               : QStringView(options.extensionText);

    name.resize(prefix.size() + prefixEnd.size() + static_cast<qsizetype>(digits.size()) +
                (extension.isEmpty() ? 0 : 1 + extension.size()));
    QChar* out = std::copy(prefix.begin(), prefix.end(), name.data());
    out = std::copy(prefixEnd.begin(), prefixEnd.end(), out);
    for (const char digit : digits) *out++ = QLatin1Char(digit);
    if (!extension.isEmpty()) {
        *out++ = QLatin1Char('.');
        std::copy(extension.begin(), extension.end(), out);
    }
}

QByteArray NewNameBytes(const ListRow& row) {
    return FileNameBytes(row.newName());
}

QByteArrayView NewNameBytes(const ListRow& row, std::string& bytes) {
    WriteFileNameBytes(row.newName(), bytes);
    return {bytes.data(), static_cast<qsizetype>(bytes.size())};
}

}  // namespace quillet
