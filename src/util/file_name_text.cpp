#include "util/file_name_text.h"

#include <QStringDecoder>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quillet {

namespace {

constexpr char16_t kFirstStandIn = 0xDC80;
constexpr char16_t kLastStandIn = 0xDCFF;

// A low surrogate in the stand-in range that does not end a surrogate pair.
bool IsStandIn(QStringView text, qsizetype i) {
    const char16_t unit = text[i].unicode();
    if (unit < kFirstStandIn || unit > kLastStandIn) return false;
    return i == 0 || !text[i - 1].isHighSurrogate();
}

bool HasStandIn(QStringView text) {
    // Runs over every listed name; the range test alone rules out nearly every character.
    const char16_t* units = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (static_cast<char16_t>(units[i] - kFirstStandIn) <= kLastStandIn - kFirstStandIn &&
            IsStandIn(text, i))
            return true;
    }
    return false;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 character at `at` (no overlong form, no surrogate, nothing
// past U+10FFFF), or 0 when the byte there does not begin one.
int CharacterLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[at + k]); };
    const unsigned char lead = byte(0);
    const qsizetype left = bytes.size() - at;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return left >= 2 && IsContinuation(byte(1)) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !IsContinuation(byte(2))) return 0;
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return byte(1) >= low && byte(1) <= high ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !IsContinuation(byte(2)) || !IsContinuation(byte(3))) return 0;
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return byte(1) >= low && byte(1) <= high ? 4 : 0;
    }
    return 0;
}

// UTF-8 to text, keeping a byte order mark at the start, which QString::fromUtf8 drops.
QString DecodeUtf8(const char* bytes, qsizetype size) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                     QStringDecoder::Flag::Stateless);
    return decoder(QByteArrayView(bytes, size));
}

}  // namespace

QString FileNameText(const QByteArray& bytes) {
    QString text = DecodeUtf8(bytes.constData(), bytes.size());
    // Valid UTF-8, the usual case, decodes without a replacement character.
    if (!text.contains(QChar::ReplacementCharacter)) return text;
    text.clear();
    text.reserve(bytes.size());
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype end = at;
        while (end < bytes.size()) {
            const int length = CharacterLength(bytes, end);
            if (length == 0) break;
            end += length;
        }
        text += DecodeUtf8(bytes.constData() + at, end - at);
        if (end < bytes.size()) {
            text += QChar(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[end])));
            ++end;
        }
        at = end;
    }
    return text;
}

QByteArray FileNameBytes(QStringView text) {
    if (!HasStandIn(text)) return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size() * 3);
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!IsStandIn(text, i)) continue;
        bytes += text.mid(from, i - from).toUtf8();
        bytes += static_cast<char>(text[i].unicode() - 0xDC00);
        from = i + 1;
    }
    bytes += text.mid(from).toUtf8();
    return bytes;
}

void WriteFileNameBytes(QStringView text, std::string& bytes) {
    // Most names are ASCII: one byte a character, and no stand-in can be among them. They are
    // narrowed four characters at a time.
    static_assert(std::endian::native == std::endian::little);
    const auto size = static_cast<std::size_t>(text.size());
    bytes.resize(size);
    const char16_t* units = text.utf16();
    char* out = bytes.data();
    std::size_t i = 0;
    bool ascii = true;
    for (; ascii && i + 4 <= size; i += 4) {
        std::uint64_t four;
        std::memcpy(&four, units + i, sizeof four);
        ascii = (four & 0xFF80FF80FF80FF80ULL) == 0;
        const auto narrowed =
            static_cast<std::uint32_t>((four & 0xFF) | ((four >> 8) & 0xFF00) |
                                       ((four >> 16) & 0xFF0000) | ((four >> 24) & 0xFF000000));
        std::memcpy(out + i, &narrowed, sizeof narrowed);
    }
    for (; ascii && i < size; ++i) {
        ascii = units[i] < 0x80;
        out[i] = static_cast<char>(units[i]);
    }
    if (ascii) return;
    const QByteArray converted = FileNameBytes(text);
    bytes.assign(converted.constData(), static_cast<std::size_t>(converted.size()));
}

QString ReadableFileName(const QString& text) {
    if (!HasStandIn(text)) return text;
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (IsStandIn(text, i)) shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

QByteArrayView CaseFoldedNameBytes(QByteArrayView name, std::string& bytes) {
    bytes.assign(name.data(), static_cast<std::size_t>(name.size()));
    bool ascii = true;
    for (char& c : bytes) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    if (!ascii) {
        // Bytes that are no UTF-8 stay as they are, each one apart from every other name.
        const QString folded = FileNameText(name.toByteArray()).toCaseFolded();
        WriteFileNameBytes(folded, bytes);
    }
    return {bytes.data(), static_cast<qsizetype>(bytes.size())};
}

}  // namespace quillet
