#include "naming/new_name.h"

#include <algorithm>

#include "naming/numbers.h"
#include "ui/form1.h"
#include "util/file_name_text.h"

namespace quillet {

bool HasTrailingNumber(const ListRow& row) {
    const QString& oldFile = row.oldFile;
    const QString& extension = row.expantion;
    const qsizetype withoutNumber =
        oldFile.size() + (extension.isEmpty() ? 0 : extension.size() + 1);
    return row.text.size() != withoutNumber;
}

QString ComposeNewName(const ListRow& row, const NamingOptions& options, std::int64_t counter,
                       const QString& randomLetters) {
    NewNameWriter writer;
    const ZeroPadded digits(static_cast<double>(counter), options.width);
    writer.compose(row, options, digits.text(), randomLetters);
    return writer.text().toString();
}

namespace {

// The digits as text and as bytes, which for digits are the same characters.
void PutDigits(std::string_view digits, char16_t* text, char* narrowed) {
    std::copy(digits.begin(), digits.end(), text);
    std::copy(digits.begin(), digits.end(), narrowed);
}

}  // namespace

void NewNameWriter::compose(const ListRow& row, const NamingOptions& options,
                            std::string_view counter, QStringView randomLetters) {
    QStringView prefix = options.prefixText;
    QStringView prefixEnd;
    if (options.randomPrefix) {
        prefix = randomLetters;
        prefixEnd = options.dotSuffix;
    } else if (options.useOriginalPrefix) {
        prefix = row.oldFile;
    }

    std::string_view digits = counter;
    ZeroPadded ownNumber;
    if (options.useOriginalValue) {
        // Only the first 12 characters of the sort key hold the number.
        if (HasTrailingNumber(row))
            ownNumber = ZeroPadded(LeadingNumber(QStringView(row.sortKey).left(12)), options.width);
        digits = ownNumber.text();
    }

    const QStringView extension = options.useOriginalExtension ? QStringView(row.expantion)
                                                               : QStringView(options.extensionText);

    const Shape shape{prefix.utf16(),    prefix.size(),    prefixEnd.utf16(), prefixEnd.size(),
                      extension.utf16(), extension.size(), digits.size()};
    if (m_shapeReusable && shape == m_shape) {
        const qsizetype at = prefix.size() + prefixEnd.size();
        PutDigits(digits, m_text.data() + at, m_narrowed.data() + at);
        return;
    }
    m_shape = shape;
    m_shapeReusable = !options.randomPrefix;

    // Sized once, and grown only for a longer name than any before.
    const qsizetype size = prefix.size() + prefixEnd.size() +
                           static_cast<qsizetype>(digits.size()) +
                           (extension.isEmpty() ? 0 : 1 + extension.size());
    if (static_cast<std::size_t>(size) > m_text.size()) {
        m_text.resize(static_cast<std::size_t>(size));
        m_narrowed.resize(static_cast<std::size_t>(size));
    }
    // An ASCII name's bytes are its characters, narrowed; for any other, the bytes are made
    // from the whole text, as a stand-in's byte or a surrogate pair may span parts.
    char16_t* text = m_text.data();
    char* narrowed = m_narrowed.data();
    char16_t all = 0;
    const auto put = [&](QStringView part) {
        const char16_t* units = part.utf16();
        for (qsizetype i = 0; i < part.size(); ++i) {
            const char16_t unit = units[i];
            *text++ = unit;
            *narrowed++ = static_cast<char>(unit);
            all |= unit;
        }
    };
    put(prefix);
    put(prefixEnd);
    PutDigits(digits, text, narrowed);
    text += digits.size();
    narrowed += digits.size();
    if (!extension.isEmpty()) {
        *text++ = u'.';
        *narrowed++ = '.';
        put(extension);
    }
    m_size = size;
    m_ascii = all < 0x80;
}

QByteArrayView NewNameWriter::bytes() const {
    if (m_ascii) return {m_narrowed.data(), m_size};
    WriteFileNameBytes(text(), m_converted);
    return {m_converted.data(), static_cast<qsizetype>(m_converted.size())};
}

QByteArray NewNameBytes(const ListRow& row) {
    return FileNameBytes(row.newName);
}

QByteArrayView NewNameBytes(const ListRow& row, std::string& bytes) {
    WriteFileNameBytes(row.newName, bytes);
    return {bytes.data(), static_cast<qsizetype>(bytes.size())};
}

}  // namespace quillet
