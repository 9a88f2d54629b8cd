// The dialogs the program asks of the person at the screen, as the Qt platform shows them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "support/temp_folder.h"
#include "view/qt_folder_picker.h"
#include "view/qt_user_feedback.h"
#include "window_fixture.h"

namespace quillet {
namespace {

// Runs `look` on the modal dialog as soon as it is open.
void WhenModalOpens(std::function<void(QWidget*)> look) {
    QTimer::singleShot(0, [look] {
        if (QWidget* modal = QApplication::activeModalWidget()) look(modal);
    });
}

struct BoxCase {
    const char* name;
    MessageIcon icon;
    QMessageBox::Icon shownIcon;
    MessageButtons buttons;
    const char* pressed;  // caption of the button the user presses
    QStringList captions;
    MessageAnswer answer;
};

class MessageBoxShown : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxShown, WithJapaneseButtonsAndTheAnswerPressed) {
    QWidget owner;
    QtUserFeedback feedback;
    feedback.attach(&owner);
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList captions;
    QString defaultCaption;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons()) captions.push_back(button->text());
        if (box->defaultButton()) defaultCaption = box->defaultButton()->text();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == QString::fromUtf8(GetParam().pressed)) button->click();
        }
    });
    const MessageAnswer answer =
        feedback.messageBox(QString::fromUtf8("名前を変更しますか？"), QStringLiteral("Quillet"),
                            GetParam().icon, GetParam().buttons);
    EXPECT_EQ(answer, GetParam().answer);
    EXPECT_EQ(title, QStringLiteral("Quillet"));
    EXPECT_EQ(text, QString::fromUtf8("名前を変更しますか？"));
    EXPECT_EQ(icon, GetParam().shownIcon);
    captions.sort();
    QStringList expected = GetParam().captions;
    expected.sort();
    EXPECT_EQ(captions, expected);
    EXPECT_EQ(defaultCaption, GetParam().captions.first()) << "the first button is the default";
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxShown,
    ::testing::Values(BoxCase{"QuestionYes",
                              MessageIcon::Question,
                              QMessageBox::Question,
                              MessageButtons::YesNo,
                              "はい",
                              {QString::fromUtf8("はい"), QString::fromUtf8("いいえ")},
                              MessageAnswer::Yes},
                      BoxCase{"QuestionNo",
                              MessageIcon::Question,
                              QMessageBox::Question,
                              MessageButtons::YesNo,
                              "いいえ",
                              {QString::fromUtf8("はい"), QString::fromUtf8("いいえ")},
                              MessageAnswer::No},
                      BoxCase{"StopOk",
                              MessageIcon::Stop,
                              QMessageBox::Critical,
                              MessageButtons::Ok,
                              "OK",
                              {QStringLiteral("OK")},
                              MessageAnswer::Ok},
                      BoxCase{"ExclamationOk",
                              MessageIcon::Exclamation,
                              QMessageBox::Warning,
                              MessageButtons::Ok,
                              "OK",
                              {QStringLiteral("OK")},
                              MessageAnswer::Ok}),
    [](const auto& info) { return std::string(info.param.name); });

// The pass that follows a confirmation runs without the event loop: the window must be drawn
// over the box's picture before the answer returns, once.
TEST(QtUserFeedback, TheWindowIsDrawnOnceAfterTheBoxClosesBeforeTheAnswerReturns) {
    QWidget owner;
    owner.resize(200, 100);
    owner.show();
    QApplication::processEvents();
    QtUserFeedback feedback;
    feedback.attach(&owner);
    test::PaintCounter paints;
    WhenModalOpens([&paints, &owner](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return;
        owner.installEventFilter(&paints);
        box->buttons().front()->click();
    });
    feedback.messageBox(QStringLiteral("?"), QStringLiteral("t"), MessageIcon::Question,
                        MessageButtons::YesNo);
    owner.removeEventFilter(&paints);
    EXPECT_EQ(paints.paints, 1);
}

TEST(QtUserFeedback, FocusGoesToTheWidgetNamedAfterTheControl) {
    QWidget owner;
    auto* other = new QLineEdit(&owner);
    other->setObjectName(QStringLiteral("Text1"));
    auto* wanted = new QLineEdit(&owner);
    wanted->setObjectName(QStringLiteral("Text2"));
    owner.show();
    owner.activateWindow();
    other->setFocus();
    QApplication::processEvents();
    QtUserFeedback feedback;
    feedback.attach(&owner);
    feedback.setFocus(QStringLiteral("Text2"));
    QApplication::processEvents();
    EXPECT_EQ(owner.focusWidget(), wanted);
}

struct PickCase {
    const char* name;
    bool accept;
    bool root;
};

class FolderDialogShown : public ::testing::TestWithParam<PickCase> {};

TEST_P(FolderDialogShown, ReturnsTheChosenFolderOrNothing) {
    test::TempFolder place;
    const QString start = QString::fromUtf8(place.makeFolder("start"));
    const QString chosen =
        GetParam().root ? QStringLiteral("/") : QString::fromUtf8(place.makeFolder("chosen"));
    QWidget owner;
    QtFolderPicker picker;
    picker.attach(&owner);
    QString title;
    QString openedIn;
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return;
        title = dialog->windowTitle();
        openedIn = dialog->directory().absolutePath();
        if (!GetParam().accept) {
            dialog->reject();
            return;
        }
        dialog->setDirectory(chosen);
        dialog->selectFile(chosen);
        // As if the user pressed the dialog's default button.
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const QString result = picker.pickFolder(QString::fromUtf8("フォルダの選択"), start);
    EXPECT_EQ(title, QString::fromUtf8("フォルダの選択"));
    EXPECT_EQ(openedIn, start);
    EXPECT_EQ(result, GetParam().accept ? chosen : QString());
}

INSTANTIATE_TEST_SUITE_P(Answers, FolderDialogShown,
                         ::testing::Values(PickCase{"Chosen", true, false},
                                           PickCase{"Root", true, true},
                                           PickCase{"Cancelled", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillet
