#include "rename/plain_file_name.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace quillet {
namespace {

// A name of `length` bytes of "a" with `byte` at `at`.
QByteArray NameWith(int length, int at, char byte) {
    QByteArray name(length, 'a');
    name[at] = byte;
    return name;
}

// Every length the word-at-a-time search treats apart (shorter than a word, whole words, a
// last word overlapping the one before), with the byte at every place in the name.
TEST(RefusalOf, FindsASlashOrNulWhereverItStands) {
    struct Byte {
        char byte;
        RenameProblem problem;
    };
    // Bytes one bit away from "/" or NUL, or that wrap around them, are plain.
    const Byte bytes[] = {{'/', RenameProblem::Slash},   {'\0', RenameProblem::ForbiddenCharacter},
                          {'\x2e', RenameProblem::None}, {'\x2f' | '\x80', RenameProblem::None},
                          {'\x01', RenameProblem::None}, {'\x30', RenameProblem::None},
                          {'\x7f', RenameProblem::None}, {'\xff', RenameProblem::None},
                          {'\x80', RenameProblem::None}};
    for (const Byte& byte : bytes) {
        for (int length = 1; length <= 26; ++length) {
            for (int at = 0; at < length; ++at) {
                const QByteArray name = NameWith(length, at, byte.byte);
                if (name == "." || name == "..") continue;
                EXPECT_EQ(RefusalOf(name), byte.problem)
                    << "byte " << int(byte.byte) << " at " << at << " of " << length;
            }
        }
    }
}

TEST(RefusalOf, TellsEachOtherReasonInTurn) {
    struct Case {
        QByteArray name;
        RenameProblem problem;
    };
    const Case cases[] = {
        {"", RenameProblem::EmptyName},
        {".", RenameProblem::ReservedName},
        {"..", RenameProblem::ReservedName},
        {"...", RenameProblem::None},
        {".a", RenameProblem::None},
        {"a/b\0c", RenameProblem::Slash},
        {QByteArray("a\0b/c", 5), RenameProblem::Slash},
        {QByteArray(kMaxNameBytes, 'x'), RenameProblem::None},
        {QByteArray(kMaxNameBytes + 1, 'x'), RenameProblem::TooLong},
        {QByteArray(kMaxNameBytes + 1, 'x') + '/', RenameProblem::Slash},
    };
    for (const Case& c : cases) EXPECT_EQ(RefusalOf(c.name), c.problem) << c.name.toStdString();
}

}  // namespace
}  // namespace quillet
