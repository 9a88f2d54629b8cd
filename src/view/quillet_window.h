#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <memory>

class QProgressBar;
class QStatusBar;
class QTreeView;

namespace quillet {

class Binding;
class FileListModel;
class ListBinding;
class WindowLayout;
struct Form1;
struct PopupPlace;

// The main window on screen. Every widget shows one control of the window model and hands
// what changes on screen back to it; what the program does with that is decided there, never
// here. Widgets are named after their controls, so that focus requests and tests find them.
class QuilletWindow : public QMainWindow {
    Q_OBJECT

  public:
    QuilletWindow(Form1& form, QWidget* parent = nullptr);
    ~QuilletWindow() override;

    // Layout units: twips at the screen's logical resolution.
    int toPixels(float twips) const;
    float toTwips(int pixels) const;

    // Tells the model how tall the window is with its frame; the help sheet parks there.
    void reportOuterHeight();

    // Shows what the list changed since it was last drawn. Normally this runs once after the
    // handler that changed the list has finished.
    void applyListChanges();

    QTreeView* listView() const;
    FileListModel* listModel() const;

    // Runs `work` once the window's first frame is on screen, or now if it is already: what
    // the user does not see when the window opens need not keep it from opening.
    void afterFirstFrame(std::function<void()> work);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void bindControls();
    void orderTabs();
    void showProgress();
    void showStatusHint();

    Form1& m_form;
    QWidget* m_client = nullptr;
    std::unique_ptr<WindowLayout> m_layout;
    std::unique_ptr<Binding> m_binding;
    std::unique_ptr<PopupPlace> m_popupPlace;
    ListBinding* m_list = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QProgressBar* m_progress = nullptr;
    QElapsedTimer m_progressClock;
    int m_shownProgress = -1;
    bool m_closing = false;
    bool m_watchingFirstFrame = false;
};

}  // namespace quillet
