#include "view/frame_style.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QStyleFactory>
#include <QWidget>
#include <memory>

namespace quillet::test {
namespace {

struct FrameCase {
    const char* name;
    const char* title;
    bool checkable;
};

class FrameStyleDrawing : public ::testing::TestWithParam<FrameCase> {
  protected:
    static QImage Drawn(QStyle* style) {
        QGroupBox box(QString::fromUtf8(GetParam().title));
        box.setCheckable(GetParam().checkable);
        box.setStyle(style);
        box.resize(180, 90);
        return box.grab().toImage();
    }
};

// The frames look exactly as Fusion draws them itself.
TEST_P(FrameStyleDrawing, FramesLookAsFusionDrawsThem) {
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    FrameStyle framed(QStringLiteral("Fusion"));
    const QImage ours = Drawn(&framed);
    QWidget background;
    background.resize(180, 90);
    // Two styles that drew no frame at all would look the same too.
    EXPECT_NE(ours, background.grab().toImage());
    EXPECT_EQ(ours, Drawn(fusion.get()));
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameStyleDrawing,
                         ::testing::Values(FrameCase{"Titled", "整列指定", false},
                                           FrameCase{"Untitled", "", false},
                                           FrameCase{"Checkable", "拡張", true}),
                         [](const ::testing::TestParamInfo<FrameCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quillet::test
