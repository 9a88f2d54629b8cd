#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <string>

namespace quillet {

// A file name is bytes; most are UTF-8, some are not (a Latin-1 name from an old camera card,
// a cut multi-byte character). The name as text keeps every byte: each byte that is not part
// of a valid UTF-8 character stands as the lone low surrogate U+DC80 to U+DCFF, which no
// UTF-8 text can hold, so names made of parts of it give the original bytes back.

// The name as text that gives back exactly these bytes.
QString FileNameText(const QByteArray& bytes);

// The bytes of a name as text: UTF-8, with each stand-in given back as its byte.
QByteArray FileNameBytes(QStringView text);
// The same bytes, written over `bytes`, whose room is kept from one call to the next: a pass
// over the list asks this of every row on every keystroke.
void WriteFileNameBytes(QStringView text, std::string& bytes);

// The name with every letter in one case, as a file system that ignores case compares names,
// written over `bytes`; two names that such a file system takes for one give the same bytes.
// The view lasts until `bytes` changes.
QByteArrayView CaseFoldedNameBytes(QByteArrayView name, std::string& bytes);

// The name as it is shown: each stand-in becomes U+FFFD, one for one, so the shown text has
// the length of the name as text.
QString ReadableFileName(const QString& text);

}  // namespace quillet
