#pragma once

#include <QByteArray>

namespace quillet {

// The INI text `content` with `key` of `section` set to `value`, and every other byte kept as
// it was: comments, line endings, other keys however they are spelt, other sections. A key
// that is there has its value replaced in place (the last of several, as a reader takes the
// last); one that is not is added at the end of its section, and a section that is not is
// added at the end, in the line ending the text already uses. Section, key and value are
// written as they are given, so they must need no escaping.
QByteArray WithIniValue(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value);

}  // namespace quillet
