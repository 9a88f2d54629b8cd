#include "platform/module1.h"

namespace quillet {

QByteArray GetSpecialFolderPath(SpecialFolders& folders, int folderId) {
    QByteArray path = folders.path(folderId);
    const qsizetype nul = path.indexOf('\0');
    if (nul >= 0) path.truncate(nul);
    while (path.size() > 1 && path.endsWith('/')) path.chop(1);
    return path;
}

QString TrimAtNull(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

void ToLongPath(FileSystem& files, QByteArray& path) {
    if (path.isEmpty()) return;
    QByteArray absolute = path;
    if (!absolute.startsWith('/')) {
        const QByteArray current = files.currentDirectory();
        if (!current.startsWith('/')) {
            path = "?";
            return;
        }
        absolute = (current.endsWith('/') ? current : current + '/') + absolute;
    }
    if (absolute == "/") {
        path = absolute;
        return;
    }

    QByteArray result;
    bool failed = false;
    qsizetype start = 1;  // just after the "/" that ends the previous component
    for (;;) {
        const qsizetype slash = absolute.indexOf('/', start);
        const QByteArray prefix = slash < 0 ? absolute : absolute.left(slash);
        // An empty component makes the prefix end in "/", which names no entry.
        const std::optional<QByteArray> stored =
            slash == start ? std::nullopt : files.storedName(prefix);
        if (!stored) failed = true;
        result += '/' + stored.value_or(QByteArray());
        if (slash < 0) break;
        start = slash + 1;
        if (start == absolute.size()) {  // a trailing "/"
            failed = true;
            break;
        }
    }
    path = failed ? QByteArray("?") : result;
}

QString AttributeMask(FileSystem& files, const QByteArray& path) {
    const std::optional<std::uint32_t> bits = files.attributes(path);
    if (!bits) return QString();
    QString mask = QStringLiteral("R-H-A-S");
    if (!(*bits & attr::ReadOnly)) mask[0] = u'*';
    if (!(*bits & attr::Hidden)) mask[2] = u'*';
    if (!(*bits & attr::Archive)) mask[4] = u'*';
    if (!(*bits & attr::System)) mask[6] = u'*';
    return mask;
}

}  // namespace quillet
