#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The same name written by a naming pass, which gives every row its name on every keystroke:
// the text for the list and the bytes the file would be renamed to are made together, in one
// walk over the parts, into room that is kept from one row to the next. Most rows of a pass
// differ from the row before only in their number, so when every other part is the text at the
// same place as before, only the digits are written. That holds because a pass changes none
// of the texts it takes parts from (the options, the rows' own parts); random letters are made
// anew for every row and are always written.
class NewNameWriter {
  public:
    // Room for most names from the start; an empty name is then an empty text, not a null one.
    NewNameWriter() : m_text(64), m_narrowed(64) {}

    // `counter`: the counter's digits as they are written.
    void compose(const ListRow& row, const NamingOptions& options, std::string_view counter,
                 QStringView randomLetters);
    // Both last until the next name is composed.
    QStringView text() const { return {m_text.data(), m_size}; }
    // What NewNameBytes gives for a row under this name.
    QByteArrayView bytes() const;

  private:
    // Where the parts of the last name came from.
    struct Shape {
        const char16_t* prefix;
        qsizetype prefixSize;
        const char16_t* prefixEnd;
        qsizetype prefixEndSize;
        const char16_t* extension;
        qsizetype extensionSize;
        std::size_t digits;
        bool operator==(const Shape&) const = default;
    };

    Shape m_shape{};
    bool m_shapeReusable = false;
    // Room for the longest name so far; `m_size` characters are in use.
    std::vector<char16_t> m_text;
    std::vector<char> m_narrowed;  // the characters as bytes, right for an ASCII name
    qsizetype m_size = 0;
    bool m_ascii = true;
    mutable std::string m_converted;  // the bytes of any other name
};

// The bytes the row's file is renamed to: the parts taken from the file's own name keep its
// bytes, even where they are not UTF-8.
QByteArray NewNameBytes(const ListRow& row);
// The same, written over `bytes`; the view stays valid until `bytes` changes.
QByteArrayView NewNameBytes(const ListRow& row, std::string& bytes);

}  // namespace quillet
