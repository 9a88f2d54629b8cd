#include "platform/linux/ini_edit.h"

#include <optional>

namespace quillet {

namespace {

struct Line {
    qsizetype start = 0;
    qsizetype textEnd = 0;  // before the line ending
    qsizetype end = 0;      // after the line ending
};

QByteArray TrimmedAscii(const QByteArray& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && (text[from] == ' ' || text[from] == '\t')) ++from;
    while (to > from && (text[to - 1] == ' ' || text[to - 1] == '\t')) --to;
    return text.mid(from, to - from);
}

// A line ends at LF, CR LF or a lone CR, as the reader counts them.
Line LineAt(const QByteArray& content, qsizetype start) {
    Line line{start, start, start};
    qsizetype at = start;
    while (at < content.size() && content[at] != '\n' && content[at] != '\r') ++at;
    line.textEnd = at;
    if (at < content.size() && content[at] == '\r') ++at;
    if (at < content.size() && content[at] == '\n' &&
        (at == line.textEnd || at == line.textEnd + 1))
        ++at;
    line.end = at;
    return line;
}

// A value that ends in a lone backslash goes on over the next line.
bool Continues(const QByteArray& text) {
    qsizetype slashes = 0;
    for (qsizetype i = text.size() - 1; i >= 0 && text[i] == '\\'; --i) ++slashes;
    return slashes % 2 == 1;
}

QByteArray LineEndingOf(const QByteArray& content) {
    const qsizetype at = content.indexOf('\n');
    if (at > 0 && content[at - 1] == '\r') return "\r\n";
    if (at < 0 && content.contains('\r')) return "\r";
    return "\n";
}

}  // namespace

QByteArray WithIniValue(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value) {
    const QByteArray header = '[' + section + ']';
    bool inSection = false;
    // Where the section's last key ends, to add a missing key after it.
    std::optional<qsizetype> sectionEnd;
    std::optional<Line> found;  // the key's line, continuation lines included
    for (qsizetype at = 0; at < content.size();) {
        Line line = LineAt(content, at);
        const QByteArray text = content.mid(line.start, line.textEnd - line.start);
        const QByteArray trimmed = TrimmedAscii(text);
        at = line.end;
        if (trimmed.startsWith('[')) {
            inSection = trimmed == header;
            if (inSection) sectionEnd = line.end;
            continue;
        }
        if (!inSection) continue;
        const bool comment = trimmed.startsWith(';') || trimmed.startsWith('#');
        if (!trimmed.isEmpty()) sectionEnd = line.end;
        if (comment) continue;
        const qsizetype equals = text.indexOf('=');
        bool more = equals >= 0 && Continues(text);
        while (more && at < content.size()) {
            const Line next = LineAt(content, at);
            line.textEnd = next.textEnd;
            line.end = next.end;
            at = next.end;
            sectionEnd = line.end;
            more = Continues(content.mid(next.start, next.textEnd - next.start));
        }
        if (equals >= 0 && TrimmedAscii(text.left(equals)) == key) found = line;
    }

    QByteArray result = content;
    const QByteArray eol = LineEndingOf(content);
    if (found) {
        const QByteArray text = content.mid(found->start, found->textEnd - found->start);
        const qsizetype equals = text.indexOf('=');
        // The key as it was spelt, blanks and all; only what follows "=" changes.
        return result.replace(found->start + equals + 1, found->textEnd - found->start - equals - 1,
                              value);
    }
    const QByteArray entry = key + '=' + value;
    if (sectionEnd) {
        qsizetype insertAt = *sectionEnd;
        QByteArray insertion = entry + eol;
        // The section's last line may lack an ending when it ends the file.
        if (insertAt == content.size() && !content.isEmpty() && !content.endsWith('\n') &&
            !content.endsWith('\r')) {
            insertion = eol + entry + eol;
        }
        return result.insert(insertAt, insertion);
    }
    if (!result.isEmpty() && !result.endsWith('\n') && !result.endsWith('\r')) result += eol;
    return result + header + eol + entry + eol;
}

}  // namespace quillet
