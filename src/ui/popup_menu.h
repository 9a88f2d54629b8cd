#pragma once

#include <vector>

#include "ui/control.h"

namespace quillet {

struct MenuEntry {
    QString name;     // e.g. menu_check(1)
    QString caption;  // "-" for a separator
    std::function<void()> Click;

    bool isSeparator() const { return caption == QStringLiteral("-"); }
};

// A pop-up menu that is never shown as a window of its own. popup() asks whoever displays it
// (the view, or a test) to show it at the pointer; that caller then picks at most one entry.
class PopupMenu : public Control {
  public:
    explicit PopupMenu(QString name);

    MenuEntry& addEntry(QString name, QString caption);
    int entryCount() const { return static_cast<int>(m_entries.size()); }
    const MenuEntry& entry(int position) const {
        return m_entries.at(static_cast<size_t>(position));
    }
    MenuEntry& entry(int position) { return m_entries.at(static_cast<size_t>(position)); }
    void choose(int position);

    void popup();
    std::function<void(PopupMenu&)> Show;

  private:
    std::vector<MenuEntry> m_entries;
};

}  // namespace quillet
