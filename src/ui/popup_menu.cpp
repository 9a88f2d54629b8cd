#include "ui/popup_menu.h"

#include <utility>

namespace quillet {

PopupMenu::PopupMenu(QString name) : Control(std::move(name)) {
    setVisible(false);
}

MenuEntry& PopupMenu::addEntry(QString name, QString caption) {
    m_entries.push_back({std::move(name), std::move(caption), {}});
    return m_entries.back();
}

void PopupMenu::choose(int position) {
    const auto& entry = m_entries.at(static_cast<size_t>(position));
    if (!entry.isSeparator()) Raise(entry.Click);
}

void PopupMenu::popup() {
    Raise<PopupMenu&>(Show, *this);
}

}  // namespace quillet
