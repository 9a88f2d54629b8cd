#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/list_row_fwd.h"

namespace quillet {

// The naming settings of one pass, read once from the window.
struct NamingOptions {
    bool useOriginalValue = false;      // number part from the file's own trailing number
    bool useOriginalPrefix = false;     // prefix part from the file's own prefix
    bool useOriginalExtension = false;  // extension part from the file's own extension
    bool randomPrefix = false;          // prefix part of random letters
    QString prefixText;
    QString extensionText;
    int width = 1;        // digits of the number part, 1 to 12
    int randomCount = 0;  // letters of a random prefix
    QString dotSuffix;    // "." when the prefix text ends in one, kept after random letters
};

// Whether the row's file name ends in a number, judged by the lengths of its keys.
bool HasTrailingNumber(const ListRow& row);

// The new name of one checked row: prefix part, number part and extension part.
QString ComposeNewName(const ListRow& row, const NamingOptions& options, std::int64_t counter,
                       const QString& randomLetters);
// The same, with the counter's digits as they are written, and written over `name`, whose room
// is kept from one row to the next.
void ComposeNewName(const ListRow& row, const NamingOptions& options, std::string_view counter,
                    const QString& randomLetters, QString& name);

// The bytes the row's file is renamed to: the parts taken from the file's own name keep its
// bytes, even where they are not UTF-8.
QByteArray NewNameBytes(const ListRow& row);
// The same, written over `bytes`; the view stays valid until `bytes` changes.
QByteArrayView NewNameBytes(const ListRow& row, std::string& bytes);

}  // namespace quillet
