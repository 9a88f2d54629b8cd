#include "platform/module1.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <map>

#include "platform/linux/linux_file_system.h"
#include "platform/linux/xdg_special_folders.h"
#include "support/temp_folder.h"

namespace quillet {
namespace {

using test::TempFolder;

// Sets environment variables for one test and puts the old values back.
class Environment {
  public:
    void set(const char* name, const QByteArray& value) {
        remember(name);
        qputenv(name, value);
    }
    void unset(const char* name) {
        remember(name);
        qunsetenv(name);
    }
    ~Environment() {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                qputenv(name.c_str(), *value);
            } else {
                qunsetenv(name.c_str());
            }
        }
    }

  private:
    void remember(const char* name) {
        if (m_saved.count(name)) return;
        m_saved[name] =
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }
    std::map<std::string, std::optional<QByteArray>> m_saved;
};

struct TrimCase {
    QString text;
    QString expected;
    const char* label;
};

class TrimAtNullTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimAtNullTest, CutsAtTheFirstNul) {
    EXPECT_EQ(TrimAtNull(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TrimAtNullTest,
    ::testing::Values(
        TrimCase{QStringLiteral("C:/Desktop"), QStringLiteral("C:/Desktop"), "NoNul"},
        TrimCase{QString(), QString(), "Empty"},
        TrimCase{QString(QChar(u'\0')) + QStringLiteral("abc"), QString(), "LeadingNul"},
        TrimCase{QStringLiteral("ab") + QString(3, QChar(u'\0')) + QStringLiteral("cd"),
                 QStringLiteral("ab"), "FirstOfSeveral"},
        TrimCase{QStringLiteral("写真") + QString(QChar(u'\0')), QStringLiteral("写真"),
                 "TrailingNulAfterJapanese"}),
    [](const ::testing::TestParamInfo<TrimCase>& info) { return info.param.label; });

// A tree of real folders: <root>/Photos/2001 and <root>/\xe9t\xe9 (Latin-1, not UTF-8).
class ToLongPathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root.makeFolder("Photos");
        root.makeFolder("Photos/2001");
        root.write("Photos/2001/a.jpg");
        root.makeFolder("\xe9t\xe9");
    }

    QByteArray longPath(QByteArray path) {
        ToLongPath(files, path);
        return path;
    }

    TempFolder root;
    LinuxFileSystem files;
};

TEST_F(ToLongPathTest, KeepsAPathThatExistsAsItIsStored) {
    EXPECT_EQ(longPath(root.pathOf("Photos/2001")), root.pathOf("Photos/2001"));
    EXPECT_EQ(longPath(root.pathOf("Photos/2001/a.jpg")), root.pathOf("Photos/2001/a.jpg"));
    EXPECT_EQ(longPath(root.pathOf("\xe9t\xe9")), root.pathOf("\xe9t\xe9"));
}

TEST_F(ToLongPathTest, GivesAQuestionMarkForAPathThatCannotBeFound) {
    for (const QByteArray& path :
         {root.pathOf("Photos/2002"), root.pathOf("Missing/2001"), root.pathOf("photos/2001"),
          root.pathOf("Photos//2001"), root.pathOf("Photos/2001/"), root.pathOf("Photos") + "/",
          "//" + root.path().mid(1), root.pathOf("Photos/2001/a.jpg/x")}) {
        EXPECT_EQ(longPath(path), "?") << path.constData();
    }
}

TEST_F(ToLongPathTest, LeavesTheEmptyTextAndTheRootAlone) {
    EXPECT_EQ(longPath(QByteArray()), QByteArray());
    EXPECT_EQ(longPath("/"), QByteArray("/"));
}

TEST_F(ToLongPathTest, KeepsDotComponentsThatNameTheSameFolder) {
    EXPECT_EQ(longPath(root.pathOf("Photos/2001/..")), root.pathOf("Photos/2001/.."));
    EXPECT_EQ(longPath(root.pathOf("Photos/./2001")), root.pathOf("Photos/./2001"));
}

TEST_F(ToLongPathTest, MakesARelativePathAbsoluteFromTheCurrentDirectory) {
    const QByteArray before = files.currentDirectory();
    ASSERT_TRUE(files.setCurrentDirectory(root.pathOf("Photos")));
    const QByteArray inside = files.currentDirectory();
    const QByteArray relative = longPath("2001");
    const QByteArray missing = longPath("2002");
    ASSERT_TRUE(files.setCurrentDirectory(before));
    EXPECT_TRUE(inside.endsWith("/Photos"));
    EXPECT_EQ(relative, inside + "/2001");
    EXPECT_EQ(missing, "?");
}

struct MaskCase {
    QByteArray name;
    mode_t mode;
    QByteArray stored;  // the flags another program stored, if any
    QString expected;
    const char* label;
};

class AttributeMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(AttributeMaskTest, ShowsEachFlagAsItsLetterOrAStar) {
    TempFolder folder;
    const QByteArray path = folder.write(GetParam().name);
    if (!GetParam().stored.isEmpty() &&
        ::setxattr(path.constData(), "user.DOSATTRIB", GetParam().stored.constData(),
                   size_t(GetParam().stored.size()), 0) != 0) {
        GTEST_SKIP() << "the temporary file system keeps no user xattrs";
    }
    ::chmod(path.constData(), GetParam().mode);
    LinuxFileSystem files;
    EXPECT_EQ(AttributeMask(files, path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AttributeMaskTest,
    ::testing::Values(
        MaskCase{"a.jpg", 0644, {}, QStringLiteral("*-*-*-*"), "Plain"},
        MaskCase{"a.jpg", 0444, {}, QStringLiteral("R-*-*-*"), "ReadOnly"},
        MaskCase{"a.jpg", 0466, {}, QStringLiteral("R-*-*-*"), "OwnerCannotWrite"},
        MaskCase{".a.jpg", 0644, {}, QStringLiteral("*-H-*-*"), "DotFile"},
        MaskCase{"a.jpg", 0644, "0x20", QStringLiteral("*-*-A-*"), "ArchiveOnly"},
        MaskCase{"a.jpg", 0644, "0x2", QStringLiteral("*-H-*-*"), "HiddenOnly"},
        MaskCase{"a.jpg", 0644, "0x4", QStringLiteral("*-*-*-S"), "SystemOnly"},
        MaskCase{"a.jpg", 0444, "0x26", QStringLiteral("R-H-A-S"), "AllFour"},
        MaskCase{"a.jpg", 0644, "0x1", QStringLiteral("*-*-*-*"), "StoredReadOnlyIsNotTheMode"},
        MaskCase{"a.jpg", 0644, "0x990", QStringLiteral("*-*-*-*"), "OtherBitsChangeNothing"}),
    [](const ::testing::TestParamInfo<MaskCase>& info) { return info.param.label; });

TEST(AttributeMask, IsEmptyForAFileThatDoesNotExist) {
    TempFolder folder;
    LinuxFileSystem files;
    EXPECT_EQ(AttributeMask(files, folder.pathOf("missing.jpg")), QString());
    EXPECT_TRUE(AttributeMask(files, folder.pathOf("missing.jpg")).isEmpty());
}

TEST(AttributeMask, ResolvesABareNameAgainstTheCurrentDirectory) {
    TempFolder folder;
    folder.write(".b.jpg");
    LinuxFileSystem files;
    const QByteArray before = files.currentDirectory();
    ASSERT_TRUE(files.setCurrentDirectory(folder.path()));
    const QString mask = AttributeMask(files, ".b.jpg");
    ASSERT_TRUE(files.setCurrentDirectory(before));
    EXPECT_EQ(mask, QStringLiteral("*-H-*-*"));
}

// Folders the shell knows, with what a platform may hand back around them.
class CannedFolders : public SpecialFolders {
  public:
    QByteArray path(int folderId) override { return m_paths.value(folderId); }
    QMap<int, QByteArray> m_paths;
};

TEST(GetSpecialFolderPath, DropsTrailingSlashesAndNuls) {
    CannedFolders folders;
    folders.m_paths = {{0, "/home/u/Desktop/"}, {9, QByteArray("/home/u/apps\0\0", 14)}, {5, "/"}};
    EXPECT_EQ(GetSpecialFolderPath(folders, 0), QByteArray("/home/u/Desktop"));
    EXPECT_EQ(GetSpecialFolderPath(folders, 9), QByteArray("/home/u/apps"));
    EXPECT_EQ(GetSpecialFolderPath(folders, 5), QByteArray("/"));
    EXPECT_EQ(GetSpecialFolderPath(folders, 7), QByteArray());
}

class XdgFoldersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        env.set("HOME", home.path());
        env.set("XDG_CONFIG_HOME", home.pathOf(".config"));
        env.unset("XDG_DATA_HOME");
        env.unset("XDG_DESKTOP_DIR");
        home.makeFolder(".config");
    }

    TempFolder home;
    Environment env;
    XdgSpecialFolders folders;
};

TEST_F(XdgFoldersTest, DesktopAndLauncherFoldersFollowTheHomeFolder) {
    EXPECT_EQ(GetSpecialFolderPath(folders, 0), home.pathOf("Desktop"));
    EXPECT_EQ(GetSpecialFolderPath(folders, 9), home.pathOf(".local/share/Thunar/sendto"));
    EXPECT_EQ(GetSpecialFolderPath(folders, 1), QByteArray());
    EXPECT_EQ(GetSpecialFolderPath(folders, -1), QByteArray());
}

TEST_F(XdgFoldersTest, FollowTheUsersFolderSettings) {
    home.write(".config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n");
    env.set("XDG_DATA_HOME", home.pathOf("data/"));
    EXPECT_EQ(GetSpecialFolderPath(folders, 0), home.pathOf("デスクトップ"));
    EXPECT_EQ(GetSpecialFolderPath(folders, 9), home.pathOf("data/Thunar/sendto"));
}

}  // namespace
}  // namespace quillet
