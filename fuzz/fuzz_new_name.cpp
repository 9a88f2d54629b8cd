// A new name composed from any file name and any typed prefix and extension, under every
// combination of the naming options: whatever passes the rename step's check is one plain entry
// of the folder, and the parts stand where the options put them.

#include <QString>
#include <cstdint>

#include "filelist/name_keys.h"
#include "fuzz_check.h"
#include "naming/new_name.h"
#include "naming/numbers.h"
#include "rename/plain_file_name.h"
#include "ui/form1.h"
#include "util/file_name_text.h"

using namespace quillet;

namespace {

// The row as the list rebuild writes it.
ListRow RowFor(const QString& name) {
    ListRow row;
    row.text = name;
    row.rawName = name.toUtf8();
    NameParts parts = SplitName(name);
    const NumberKey key = ReadNumberKey(parts.base);
    row.oldFile = key.originalPrefix.toString();
    row.expantion = parts.extension.toString();
    row.sortKey = ZeroPad(key.value, 12) + name;
    return row;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const std::uint8_t flags = data[0];
    const int width = 1 + data[1] % 12;
    const std::int64_t counter = static_cast<std::int8_t>(data[2]) * 1000003LL;
    // The rest is three texts separated by NUL bytes: file name, prefix, extension.
    const QByteArray rest(reinterpret_cast<const char*>(data + 3),
                          static_cast<qsizetype>(size - 3));
    const QList<QByteArray> texts = rest.split('\0');
    const QString name = QString::fromUtf8(texts.value(0));
    NamingOptions options;
    options.useOriginalValue = flags & 1;
    options.useOriginalPrefix = flags & 2;
    options.useOriginalExtension = flags & 4;
    options.randomPrefix = flags & 8;
    options.prefixText = QString::fromUtf8(texts.value(1));
    // A NUL typed into a box reaches the name as a character of its own.
    if (flags & 16) options.prefixText += QChar(0);
    options.extensionText = QString::fromUtf8(texts.value(2));
    options.width = width;
    options.randomCount = static_cast<int>(options.prefixText.size());
    if (options.prefixText.endsWith(QLatin1Char('.'))) {
        options.dotSuffix = QStringLiteral(".");
        --options.randomCount;
    }
    const QString letters(std::max(0, std::min(options.randomCount, 300)), QLatin1Char('q'));

    const ListRow row = RowFor(name);
    const QString composed = ComposeNewName(row, options, counter, letters);
    const QByteArray bytes = composed.toUtf8();

    // A writer that wrote the name for the counter before, as a pass does, writes the same
    // name and gives its bytes.
    NewNameWriter writer;
    writer.compose(row, options, ZeroPadded(static_cast<double>(counter - 1), width).text(),
                   letters);
    writer.compose(row, options, ZeroPadded(static_cast<double>(counter), width).text(), letters);
    FUZZ_CHECK(writer.text() == composed);
    FUZZ_CHECK(writer.bytes() == FileNameBytes(composed));
    if (IsPlainFileName(bytes)) {
        FUZZ_CHECK(!bytes.contains('/'));
        FUZZ_CHECK(!bytes.contains('\0'));
        FUZZ_CHECK(bytes != "." && bytes != "..");
        FUZZ_CHECK(!bytes.isEmpty() && bytes.size() <= 255);
    }

    QString prefix;
    if (options.randomPrefix) {
        prefix = letters + options.dotSuffix;
    } else if (options.useOriginalPrefix) {
        prefix = row.oldFile;
    } else {
        prefix = options.prefixText;
    }
    FUZZ_CHECK(composed.startsWith(prefix));
    const QString extension = options.useOriginalExtension ? row.expantion : options.extensionText;
    if (!extension.isEmpty()) FUZZ_CHECK(composed.endsWith(QLatin1Char('.') + extension));
    const qsizetype numberLength =
        composed.size() - prefix.size() - (extension.isEmpty() ? 0 : extension.size() + 1);
    FUZZ_CHECK(numberLength >= 0);
    const QString number = composed.mid(prefix.size(), numberLength);
    if (!options.useOriginalValue) {
        FUZZ_CHECK(number == ZeroPad(static_cast<double>(counter), width));
        FUZZ_CHECK(number.size() >= width);
    } else if (!HasTrailingNumber(row)) {
        FUZZ_CHECK(number.isEmpty());
    } else {
        // A name that ends in a dot takes the number its base name begins with, which may be
        // negative; the digits are still never fewer than the width.
        FUZZ_CHECK(number.size() >= width);
        if (number.startsWith(QLatin1Char('-'))) FUZZ_CHECK(name.endsWith(QLatin1Char('.')));
    }
    return 0;
}
