#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPoint>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QGroupBox;
class QProgressBar;
class QStatusBar;
class QTabBar;
class QTreeView;
class QKeyEvent;

namespace quillet {

class Button;
class CheckBox;
class ComboBox;
class Control;
class FileListModel;
class ListView;
class MainWindow;
class OptionButton;
class PopupMenu;
class ProgressBar;
class RenamePreview;
class StatusBar;
class StatusPanelLabel;
class TabStrip;
class TextBox;
class Toolbar;
struct Twips;

// The main window on screen. Every widget shows one control of the window model and hands the
// user's actions back to it; what the program does with them is decided there, never here.
// Widgets are named after their controls, so that focus requests and tests can find them.
class QuilletWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit QuilletWindow(MainWindow& window, QWidget* parent = nullptr);
    ~QuilletWindow() override;

    // Layout units: twips at the screen's logical resolution.
    int toPixels(float twips) const;
    float toTwips(int pixels) const;

    // Tells the model how tall the window is with its frame; the help sheet parks there.
    void reportOuterHeight();

    // Shows what the list changed since it was last drawn. Normally this runs once after the
    // handler that changed the list has finished.
    void applyListChanges();

    QTreeView* listView() const { return m_list; }
    FileListModel* listModel() const { return m_listModel; }

    // Names that assistive technology reads for a control: its caption, or for a control
    // without one the name of its role.
    static QString accessibleNameOf(const Control& control);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // How a widget follows the window when it is resized beyond its design size.
    enum class Anchor { Fixed, Grow, Bottom, Sheet };

    struct Placement {
        const Control* control;
        QWidget* widget;
        Anchor anchor;
        std::function<void(const QRect&)> arrange;  // lays out the widget's own parts
    };

    void bindForm();
    QGroupBox* bindFrame(Control& frame, QWidget* parent);
    void bindTextBox(TextBox& box, QWidget* parent);
    void bindHelpText(TextBox& box, QWidget* parent);
    void bindCheckBox(CheckBox& box, QWidget* parent);
    void bindOption(OptionButton& option, QWidget* parent);
    void bindComboBox(ComboBox& combo, QWidget* parent);
    void bindCommand(Button& button, QWidget* parent);
    void bindLabel(Button& label, QWidget* parent);
    void bindTabStrip(TabStrip& tabs, QWidget* parent);
    void bindToolbar(Toolbar& toolbar, QWidget* parent);
    void bindList(ListView& list, QWidget* parent);
    void bindStatusBar(StatusBar& bar, QWidget* parent);
    void bindProgressBar(ProgressBar& bar, QWidget* parent);
    QWidget* bindPanel(Control& panel, QWidget* parent);
    void bindPopupMenu(PopupMenu& menu);

    // Subscribes `sync` to the control (guarded against a view that is gone) and runs it once;
    // returns it guarded, for a binding to put the widget back to the model's state.
    std::function<void()> follow(Control& control, std::function<void()> sync);
    // The properties every control shares; returns the widget for chaining.
    void showCommon(const Control& control, QWidget* widget);
    void addPlacement(const Control& control, QWidget* widget, Anchor anchor,
                      std::function<void(const QRect&)> arrange = {});
    void place(const Placement& placement);
    void placeAll();
    QRect pixelRect(const Twips& geometry) const;
    QSize extraRoom() const;
    int sheetTop(float top) const;

    void followListSelection(int firstRow, int lastRow);
    void userSelectionChanged();
    void syncListHeader();
    void queueListUpdate();
    void showProgress();
    void showPopup(PopupMenu& menu);
    void raiseMouse(const std::function<void(int, int, float, float)>& handler, QWidget* widget,
                    QEvent* event);
    bool listKey(QKeyEvent* key);
    bool statusBarKey(QKeyEvent* key);
    void orderTabs();
    void followSheet();
    QString rowToolTip(int row);
    void executeAndReport(Button& button);
    void showStatusHint();

    MainWindow& m_window;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    QWidget* m_client = nullptr;
    std::vector<Placement> m_placements;
    QHash<QObject*, Button*> m_clickableLabels;
    int m_syncing = 0;

    QTabBar* m_tabBar = nullptr;
    QTreeView* m_list = nullptr;
    FileListModel* m_listModel = nullptr;
    std::array<float, 2> m_appliedColumnWidths{-1, -1};
    bool m_listUpdateQueued = false;
    QStatusBar* m_statusBar = nullptr;
    std::vector<StatusPanelLabel*> m_statusPanels;
    QProgressBar* m_progress = nullptr;
    QElapsedTimer m_progressClock;
    int m_shownProgress = -1;
    QWidget* m_panel = nullptr;
    bool m_closing = false;

    // Built on the first tool tip after the list last changed, never while names are typed.
    std::unique_ptr<RenamePreview> m_preview;
    // Set when a confirmed pass shows its progress; a declined one never does.
    bool m_passRan = false;
    QString m_passHint;
    // Where a pop-up menu opened from the keyboard appears, instead of at the mouse.
    QPoint m_popupAt;
    bool m_popupFromKeyboard = false;
};

}  // namespace quillet
