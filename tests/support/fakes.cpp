#include "support/fakes.h"

#include "ui/control.h"

namespace quillet::test {

MessageAnswer FakeFeedback::messageBox(const QString& text, const QString& title, MessageIcon icon,
                                       MessageButtons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (whileBoxIsOpen) whileBoxIsOpen();
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer;
}

void FakeFeedback::setFocus(Control& control) {
    focused.push_back(control.name());
}

QString FakeFolderPicker::pickFolder(const QString& title, const QString& initialFolder) {
    calls.emplace_back(title, initialFolder);
    return answer;
}

}  // namespace quillet::test
