// Wildcard lists against raw file names: no crash, no hang, and the rules the list box relies
// on hold for any pattern and any name.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "fuzz_check.h"
#include "platform/linux/file_patterns.h"

using namespace quillet;

namespace {

bool HasWildcard(const QByteArray& text) {
    for (const char c : text) {
        if (c == '*' || c == '?' || c == '[' || c == '\\' || c == ';') return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // Pattern text, then a NUL, then the raw name (which stops at its own first NUL, as a
    // directory entry does).
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf('\0');
    const QString patternText = QString::fromUtf8(split < 0 ? input : input.left(split));
    const QByteArray name =
        split < 0 ? QByteArray("photo.jpg") : QByteArray(input.mid(split + 1).constData());

    const FilePatterns patterns(patternText);
    const bool matched = patterns.matches(name);

    // Adding more patterns never takes a match away (a list without any pattern takes every
    // name, so it is left out here).
    bool anyPattern = false;
    for (const QString& part : patternText.split(QLatin1Char(';')))
        anyPattern |= !part.trimmed().isEmpty();
    if (anyPattern) {
        FUZZ_CHECK(!matched || FilePatterns(patternText + QStringLiteral(";x")).matches(name));
        FUZZ_CHECK(!matched || FilePatterns(QStringLiteral("x;") + patternText).matches(name));
    } else {
        FUZZ_CHECK(matched);
    }
    // "*.*" and an empty list take every name.
    FUZZ_CHECK(FilePatterns(QStringLiteral("*.*")).matches(name));
    FUZZ_CHECK(FilePatterns(QString()).matches(name));
    FUZZ_CHECK(FilePatterns(patternText + QStringLiteral(";*.*")).matches(name));
    // A name without wildcard characters, as its own pattern, finds itself in either case.
    const QString nameText = QString::fromUtf8(name);
    if (!name.isEmpty() && !HasWildcard(name) && nameText.toUtf8() == name &&
        nameText.trimmed() == nameText) {
        FUZZ_CHECK(FilePatterns(nameText).matches(name));
        QByteArray upper = name;
        for (char& c : upper) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        FUZZ_CHECK(FilePatterns(QString::fromUtf8(upper)).matches(name));
    }
    return 0;
}
