#include "naming/new_name.h"

#include "naming/numbers.h"
#include "ui/form1.h"

namespace quillet {

bool HasTrailingNumber(const ListRow& row) {
    const QString& oldFile = row.subItems[sub::OldFile - 1];
    const QString& extension = row.subItems[sub::Expantion - 1];
    const qsizetype withoutNumber =
        oldFile.size() + (extension.isEmpty() ? 0 : extension.size() + 1);
    return row.text.size() != withoutNumber;
}

QString ComposeNewName(const ListRow& row, const NamingOptions& options, std::int64_t counter,
                       const QString& randomLetters) {
    QString name;
    name.reserve(options.prefixText.size() + options.extensionText.size() + options.width + 24);

    if (options.randomPrefix) {
        name += randomLetters;
        name += options.dotSuffix;
    } else if (options.useOriginalPrefix) {
        name += row.subItems[sub::OldFile - 1];
    } else {
        name += options.prefixText;
    }

    if (!options.useOriginalValue) {
        AppendZeroPad(name, static_cast<double>(counter), options.width);
    } else if (HasTrailingNumber(row)) {
        // Only the first 12 characters of the sort key hold the number.
        AppendZeroPad(name, LeadingNumber(row.subItems[sub::SortKey - 1].left(12)), options.width);
    }

    const QString& extension =
        options.useOriginalExtension ? row.subItems[sub::Expantion - 1] : options.extensionText;
    if (!extension.isEmpty()) {
        name += QLatin1Char('.');
        name += extension;
    }
    return name;
}

}  // namespace quillet
