#include "platform/linux/ini_edit.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

struct IniCase {
    const char* label;
    QByteArray before;
    QByteArray after;
};

class IniEditTest : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniEditTest, ChangesOnlyTheOneValue) {
    EXPECT_EQ(WithIniValue(GetParam().before, "Counter", "app", "0").toStdString(),
              GetParam().after.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniEditTest,
    ::testing::Values(
        IniCase{"NoFile", "", "[Counter]\napp=0\n"},
        IniCase{"ValueReplaced", "[Counter]\napp=5\n", "[Counter]\napp=0\n"},
        IniCase{"EverythingElseKept",
                "; viewer settings\r\n[General]\r\nlast folder=C:\\photos\\2001\r\n"
                "[Counter]\r\n# counts\r\napp=17\r\nshown=3\r\n\r\n[View]\r\nzoom=2\r\n",
                "; viewer settings\r\n[General]\r\nlast folder=C:\\photos\\2001\r\n"
                "[Counter]\r\n# counts\r\napp=0\r\nshown=3\r\n\r\n[View]\r\nzoom=2\r\n"},
        IniCase{"KeyAddedAtTheEndOfItsSection", "[Counter]\r\nshown=3\r\n\r\n[View]\r\nzoom=2\r\n",
                "[Counter]\r\nshown=3\r\napp=0\r\n\r\n[View]\r\nzoom=2\r\n"},
        IniCase{"SectionAddedInTheFilesLineEnding", "[View]\r\nzoom=2",
                "[View]\r\nzoom=2\r\n[Counter]\r\napp=0\r\n"},
        IniCase{"LastSectionWithoutLineEnding", "[Counter]\nshown=3",
                "[Counter]\nshown=3\napp=0\n"},
        IniCase{"SpacedKeyAndValue", "[Counter]\n  app = 9  \n", "[Counter]\n  app =0\n"},
        IniCase{"SameKeyInAnotherSectionKept", "[Other]\napp=4\n[Counter]\napp=5\n",
                "[Other]\napp=4\n[Counter]\napp=0\n"},
        IniCase{"SimilarKeysKept", "[Counter]\napps=1\nmy app=2\napp\\x=3\n",
                "[Counter]\napps=1\nmy app=2\napp\\x=3\napp=0\n"},
        IniCase{"ContinuedValueReplacedWhole", "[Counter]\napp=1\\\n2\nshown=3\n",
                "[Counter]\napp=0\nshown=3\n"},
        IniCase{"LastOfSeveralTaken", "[Counter]\napp=1\napp=2\n", "[Counter]\napp=1\napp=0\n"},
        IniCase{"CommentedKeyLeftAlone", "[Counter]\n;app=1\n", "[Counter]\n;app=1\napp=0\n"},
        IniCase{"ByteOrderMarkAndOddBytesKept", "\xef\xbb\xbf[A]\nk=\xff\xfe\n",
                "\xef\xbb\xbf[A]\nk=\xff\xfe\n[Counter]\napp=0\n"},
        IniCase{"SectionSpeltInBlanks", "  [Counter]  \napp=2\n", "  [Counter]  \napp=0\n"}),
    [](const ::testing::TestParamInfo<IniCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace quillet
