#pragma once

#include <QString>
#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/platform.h"

namespace quillet::test {

// Thrown by FakeProcess::endNow, so a test sees that the program ended and nothing after it ran.
struct ProgramEnded : std::runtime_error {
    ProgramEnded() : std::runtime_error("program ended") {}
};

struct ShownMessage {
    QString text;
    QString title;
    MessageIcon icon;
    MessageButtons buttons;
};

// Records every box, beep and focus change, and answers boxes as the test says.
class FakeFeedback : public UserFeedback {
  public:
    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    void beep() override { ++beeps; }
    void setFocus(const QString& controlName) override { focused.push_back(controlName); }

    MessageAnswer answer = MessageAnswer::Yes;
    std::function<void()> whileBoxIsOpen;
    std::vector<ShownMessage> messages;
    int beeps = 0;
    std::vector<QString> focused;
};

class FakeFolderPicker : public FolderPicker {
  public:
    QString pickFolder(const QString& title, const QString& initialFolder) override;

    QString answer;
    std::vector<std::pair<QString, QString>> calls;  // title, initial folder
};

class FakeClock : public Clock {
  public:
    TimeOfDay localTimeOfDay() override {
        ++reads;
        return now;
    }
    TimeOfDay now{14, 5, 9};
    int reads = 0;  // one per list rebuild
};

class FakeProcess : public Process {
  public:
    QByteArray commandLine() override { return arguments; }
    QByteArray programFolder() override { return folder; }
    [[noreturn]] void endNow() override {
        ++endCount;
        throw ProgramEnded();
    }

    QByteArray arguments;
    QByteArray folder = "/opt/quillet/bin";
    int endCount = 0;
};

}  // namespace quillet::test
