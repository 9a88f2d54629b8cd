#pragma once

#include <QString>
#include <cstdint>
#include <unordered_map>

#include "util/string_blocks.h"

namespace quillet {

// A file name cut at its last dot: the base name before it and the extension after it. The dot
// is looked for from the end down to the second character; a dot in the first position counts
// only when no later one exists. Both parts are views into the name, which must outlive them.
struct NameParts {
    QStringView base;
    QStringView extension;
    bool hasDot = false;
};
NameParts SplitName(QStringView name);
NameParts SplitName(QString&& name) = delete;

// What the end of a base name says about the file: its original prefix (the base name without
// its trailing digits), the number those digits spell (or, without trailing digits, the number
// the base name begins with), and whether the prefix may be proposed for new names.
// The prefix is a view into the base name.
struct NumberKey {
    QStringView originalPrefix;
    double value = 0;
    bool hasTrailingNumber = false;
    bool proposesPrefix = false;  // prefix of two characters or more
};
NumberKey ReadNumberKey(QStringView base);
NumberKey ReadNumberKey(QString&& base) = delete;

// The keys below are written at their final size, into `blocks` when given (a key for every
// listed file) and otherwise into a text of their own.

// The extension sort key: the extension padded with blanks and cut to 10 characters, then the
// name.
QString ExtensionSortKey(QStringView extension, QStringView name, TextBlocks* blocks = nullptr);

// The number sort key: the number zero-padded to 12 digits, then the name.
QString NumberSortKey(double number, QStringView name, TextBlocks* blocks = nullptr);

// A modification time as "yyyy-MM-dd HH:mm:ss" in local time, so that text order is time order.
QString ModificationTimeText(std::int64_t secondsSinceEpoch);

// Many modification times, each written as ModificationTimeText writes it, with the local
// offset looked up once a day rather than once a time: a listing of 100,000 photos spans a few
// hundred days.
class ModificationTimeTexts {
  public:
    QString of(std::int64_t secondsSinceEpoch, TextBlocks* blocks = nullptr);

  private:
    struct Day {
        long offset = 0;
        bool uniform = false;  // one offset all day, and the calendar arithmetic agrees
    };
    std::unordered_map<std::int64_t, Day> m_days;
};

}  // namespace quillet
