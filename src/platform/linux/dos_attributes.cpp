#include "platform/linux/dos_attributes.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"
#include "platform/linux/hidden_list.h"
#include "platform/linux/write_bits_memo.h"

namespace quillet {

namespace {

constexpr std::uint32_t DosFlags = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;
constexpr std::uint32_t ValidAttrib = 0x1;  // "the attribute word is set" in versions 3 and 4

// Where the attribute word sits in a stored value.
struct DosAttribLayout {
    bool text = false;
    qsizetype attribOffset = -1;
    qsizetype validFlagsOffset = -1;  // versions 3 and 4 say which fields hold a value
    qsizetype hexLength = 0;          // the text copy at the front of the binary form
};

std::uint32_t ReadLe(const QByteArray& value, qsizetype offset, int bytes) {
    std::uint32_t result = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        result = (result << 8) | static_cast<unsigned char>(value[offset + i]);
    }
    return result;
}

void WriteLe32(QByteArray& value, qsizetype offset, std::uint32_t word) {
    for (int i = 0; i < 4; ++i) value[offset + i] = static_cast<char>((word >> (8 * i)) & 0xff);
}

qsizetype AlignUp(qsizetype offset, qsizetype to) {
    return (offset + to - 1) / to * to;
}

std::optional<std::uint32_t> ParseHexText(const QByteArray& text) {
    QByteArray digits = text;
    if (digits.startsWith("0x") || digits.startsWith("0X")) digits = digits.mid(2);
    if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
    bool ok = false;
    const uint word = digits.toUInt(&ok, 16);
    if (!ok || digits.startsWith('+') || digits.startsWith('-')) return std::nullopt;
    return word;
}

// The binary form is the NDR encoding of a NUL-terminated hex text, a 16-bit version, the
// union level (equal to the version) and the version's fields, each aligned to its size.
std::optional<DosAttribLayout> Locate(const QByteArray& value) {
    const qsizetype nul = value.indexOf('\0');
    bool restIsPadding = true;
    for (qsizetype i = nul + 1; nul >= 0 && i < value.size(); ++i) {
        if (value[i] != '\0') restIsPadding = false;
    }
    if (nul < 0 || restIsPadding) {
        if (!ParseHexText(nul < 0 ? value : value.left(nul))) return std::nullopt;
        DosAttribLayout layout;
        layout.text = true;
        return layout;
    }
    qsizetype offset = AlignUp(nul + 1, 2);
    if (offset + 4 > value.size()) return std::nullopt;
    const std::uint32_t version = ReadLe(value, offset, 2);
    if (ReadLe(value, offset + 2, 2) != version) return std::nullopt;
    offset = AlignUp(offset + 4, 4);

    DosAttribLayout layout;
    layout.hexLength = nul;
    qsizetype fixedSize = 0;
    switch (version) {
        case 1:  // attrib, ea_size, size, alloc_size, create_time, change_time
            layout.attribOffset = offset;
            fixedSize = 40;
            break;
        case 2:  // flags, attrib, ea_size, three sizes and times, write_time, name
            layout.attribOffset = offset + 4;
            fixedSize = 52;
            break;
        case 3:  // valid_flags, attrib, ea_size, size, alloc_size, create_time, change_time
            layout.validFlagsOffset = offset;
            layout.attribOffset = offset + 4;
            fixedSize = 44;
            break;
        case 4:  // valid_flags, attrib, itime, create_time
            layout.validFlagsOffset = offset;
            layout.attribOffset = offset + 4;
            fixedSize = 24;
            break;
        default:
            return std::nullopt;
    }
    if (offset + fixedSize > value.size()) return std::nullopt;
    return layout;
}

QByteArray HexText(std::uint32_t attributes) {
    return "0x" + QByteArray::number(attributes, 16);
}

// The entry itself, held by a descriptor that refers to it and nothing else, so that no change
// reaches what a link leads to, nor a file put under the name meanwhile. A link is refused
// unless asked to be followed: it has no attributes of its own; and so is anything but a file
// or a folder. Gives the descriptor, or minus the errno value.
int OpenEntry(int dirFd, const QByteArray& name, LinkHandling links, struct stat& st) {
    const int flags = O_PATH | O_CLOEXEC | (links == LinkHandling::Follow ? 0 : O_NOFOLLOW);
    const int fd = ::openat(dirFd, name.constData(), flags);
    if (fd < 0) return -errno;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return -error;
    }
    if (links == LinkHandling::Refuse && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        ::close(fd);
        return S_ISLNK(st.st_mode) ? -ELOOP : -EOPNOTSUPP;
    }
    return fd;
}

// The xattr, chmod and statfs calls have no descriptor variants that take an O_PATH
// descriptor; this path leads them to the held entry itself.
QByteArray EntryPath(int entry) {
    return "/proc/self/fd/" + QByteArray::number(entry);
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

int WriteEntryAttributes(int entry, const struct stat& st, std::uint32_t bits);

bool LooksHidden(const QByteArray& name) {
    const qsizetype slash = name.lastIndexOf('/');
    return name.mid(slash + 1).startsWith('.');
}

bool OnFat(const QByteArray& path) {
    struct statfs fs;
    return ::statfs(path.constData(), &fs) == 0 && fs.f_type == MSDOS_SUPER_MAGIC;
}

// Reads the stored value; 0 when it was read, ENODATA when there is none, else the error.
int ReadDosAttribValue(const QByteArray& path, QByteArray& value) {
    value.resize(128);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t got = ::getxattr(path.constData(), DosAttribName, value.data(),
                                       static_cast<size_t>(value.size()));
        if (got >= 0) {
            value.resize(got);
            return 0;
        }
        if (errno != ERANGE) return errno;
        const ssize_t needed = ::getxattr(path.constData(), DosAttribName, nullptr, 0);
        if (needed < 0) return errno;
        value.resize(needed);
    }
    return EAGAIN;
}

int FatAttributes(const QByteArray& path, std::uint32_t& bits) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    const int result = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &bits) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

int SetFatAttributes(const QByteArray& path, std::uint32_t bits) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    std::uint32_t current = 0;
    int result = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &current) == 0 ? 0 : errno;
    if (result == 0) {
        const std::uint32_t wanted = (current & ~DosFlags) | (bits & DosFlags);
        if (wanted != current && ::ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &wanted) != 0) {
            result = errno;
        }
    }
    ::close(fd);
    return result;
}

}  // namespace

std::optional<std::uint32_t> ParseDosAttrib(const QByteArray& value) {
    const std::optional<DosAttribLayout> layout = Locate(value);
    if (!layout) return std::nullopt;
    if (layout->text) {
        const qsizetype nul = value.indexOf('\0');
        return ParseHexText(nul < 0 ? value : value.left(nul));
    }
    if (layout->validFlagsOffset >= 0 &&
        (ReadLe(value, layout->validFlagsOffset, 4) & ValidAttrib) == 0) {
        return 0;
    }
    return ReadLe(value, layout->attribOffset, 4);
}

std::optional<QByteArray> ReplaceDosAttrib(const QByteArray& value, std::uint32_t attributes) {
    const std::optional<DosAttribLayout> layout = Locate(value);
    if (!layout) return std::nullopt;
    if (layout->text) {
        QByteArray result = HexText(attributes);
        if (value.contains('\0')) result.append('\0');
        return result;
    }
    QByteArray result = value;
    WriteLe32(result, layout->attribOffset, attributes);
    if (layout->validFlagsOffset >= 0) {
        WriteLe32(result, layout->validFlagsOffset,
                  ReadLe(result, layout->validFlagsOffset, 4) | ValidAttrib);
    }
    // Keep the leading text copy truthful where that moves no byte after it.
    const QByteArray hex = HexText(attributes);
    if (layout->hexLength == hex.size() && value.startsWith("0x")) {
        result.replace(0, hex.size(), hex);
    }
    return result;
}

QByteArray TextDosAttrib(std::uint32_t attributes) {
    return HexText(attributes) + '\0';
}

std::optional<std::uint32_t> ReadFileAttributes(int dirFd, const QByteArray& name,
                                                LinkHandling links) {
    if (name.isEmpty()) return std::nullopt;
    struct stat st;
    const int entry = OpenEntry(dirFd, name, links, st);
    if (entry < 0) return std::nullopt;
    std::uint32_t bits = 0;
    if ((st.st_mode & S_IWUSR) == 0) bits |= attr::ReadOnly;
    if (S_ISDIR(st.st_mode)) bits |= attr::Directory;

    const QByteArray path = EntryPath(entry);
    std::uint32_t stored = 0;
    if (OnFat(path)) {
        if (FatAttributes(path, stored) == 0) bits |= stored & DosFlags;
    } else {
        QByteArray value;
        if (ReadDosAttribValue(path, value) == 0) {
            // A value this program cannot read counts as no flags; it is never overwritten.
            bits |=
                ParseDosAttrib(value).value_or(0) & (attr::Hidden | attr::System | attr::Archive);
        }
    }
    ::close(entry);
    if (LooksHidden(name) || ListedAsHidden(dirFd, name)) bits |= attr::Hidden;
    return bits;
}

int WriteFileAttributes(int dirFd, const QByteArray& name, std::uint32_t bits) {
    if (name.isEmpty()) return ENOENT;
    struct stat st;
    const int entry = OpenEntry(dirFd, name, LinkHandling::Refuse, st);
    if (entry < 0) return -entry;
    // File managers take Hidden from the folder's list; a failure there leaves the flag below.
    SetListedAsHidden(dirFd, name, (bits & attr::Hidden) != 0);
    const int result = WriteEntryAttributes(entry, st, bits);
    ::close(entry);
    return result;
}

namespace {

int WriteEntryAttributes(int entry, const struct stat& st, std::uint32_t bits) {
    const QByteArray path = EntryPath(entry);
    if (OnFat(path)) return SetFatAttributes(path, bits);

    const mode_t mode = st.st_mode & 07777;
    mode_t wantedMode = mode;
    // Only a regular file keeps a note: a folder's write bits are not the read-only flag.
    const std::optional<mode_t> note =
        S_ISREG(st.st_mode) ? NotedWriteBits(path) : std::optional<mode_t>();
    if (bits & attr::ReadOnly) {
        wantedMode = mode & ~mode_t(0222);
        // Noted while the file may still be written, which changing its attributes asks.
        if (wantedMode != mode && S_ISREG(st.st_mode)) NoteWriteBits(path, mode & 0222);
    } else if ((mode & S_IWUSR) == 0) {
        wantedMode = mode | WriteBitsToGiveBack(mode, note, CurrentUmask());
    }

    int result = 0;
    QByteArray newValue;
    QByteArray value;
    const int readError = ReadDosAttribValue(path, value);
    if (readError == 0) {
        const std::optional<std::uint32_t> stored = ParseDosAttrib(value);
        if (!stored) {
            result = EOPNOTSUPP;
        } else {
            const std::uint32_t wanted = (*stored & ~DosFlags) | (bits & DosFlags);
            if (wanted != *stored)
                newValue = ReplaceDosAttrib(value, wanted).value_or(QByteArray());
        }
    } else if (readError == ENODATA || readError == ENOTSUP) {
        // No value yet: one is created only when there is a flag to keep in it (and where the
        // file system keeps none, writing it reports that).
        if (bits & (attr::Hidden | attr::System | attr::Archive)) {
            newValue = TextDosAttrib(bits & DosFlags);
        }
    } else {
        result = readError;
    }

    mode_t currentMode = mode;
    if (!newValue.isEmpty()) {
        // User extended attributes follow the write permission, even the owner's.
        if ((mode & S_IWUSR) == 0 && ::chmod(path.constData(), mode | S_IWUSR) == 0) {
            currentMode = mode | S_IWUSR;
        }
        if (::setxattr(path.constData(), DosAttribName, newValue.constData(),
                       static_cast<size_t>(newValue.size()), 0) != 0) {
            result = errno;
        }
    }
    if (currentMode != wantedMode && ::chmod(path.constData(), wantedMode) != 0 && result == 0) {
        result = errno;
    }
    // A file that is not read-only has no use for a note, and an old one must not decide
    // what a later clearing gives back.
    if (note && (bits & attr::ReadOnly) == 0) DropWriteBitsNote(path);
    return result;
}

}  // namespace

}  // namespace quillet
