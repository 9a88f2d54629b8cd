#include "support/fakes.h"

namespace quillet::test {

MessageAnswer FakeFeedback::messageBox(const QString& text, const QString& title, MessageIcon icon,
                                       MessageButtons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (whileBoxIsOpen) whileBoxIsOpen();
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer;
}

QString FakeFolderPicker::pickFolder(const QString& title, const QString& initialFolder) {
    calls.emplace_back(title, initialFolder);
    return answer;
}

}  // namespace quillet::test
