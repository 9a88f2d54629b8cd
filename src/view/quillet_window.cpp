#include "view/quillet_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <cmath>

#include "ui/form1.h"
#include "view/binding.h"
#include "view/control_binders.h"
#include "view/file_list_model.h"
#include "view/input_translation.h"
#include "view/interface_font.h"
#include "view/list_binding.h"
#include "view/window_layout.h"

namespace quillet {

namespace {

// Progress is drawn at most this often while a pass runs; drawing more often only slows it.
constexpr qint64 kProgressIntervalMs = 50;

// Lays the window out again whenever its drawing area changes size.
class ResizeFollower : public QObject {
  public:
    ResizeFollower(QWidget* client, WindowLayout& layout) : QObject(client), m_layout(layout) {
        client->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) m_layout.placeAll();
        return false;
    }

  private:
    WindowLayout& m_layout;
};

// Runs `drawn` once the window it watches is on screen. The expose that shows a window draws
// it before it returns, and what it posts runs after that.
class FirstFrameTap : public QObject {
  public:
    FirstFrameTap(QWindow* window, std::function<void()> drawn)
        : QObject(window), m_drawn(std::move(drawn)) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                m_drawn();
                deleteLater();
            });
        }
        return false;
    }

  private:
    std::function<void()> m_drawn;
};

}  // namespace

QuilletWindow::QuilletWindow(Form1& form, QWidget* parent) : QMainWindow(parent), m_form(form) {
    setFont(InterfaceFont());
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    m_layout = std::make_unique<WindowLayout>(
        *m_client, form.SBar,
        QSize(static_cast<int>(Form1::kClientWidth), static_cast<int>(Form1::kClientHeight)));
    m_binding = std::make_unique<Binding>(*this, *m_layout);
    m_popupPlace = std::make_unique<PopupPlace>();
    new ResizeFollower(m_client, *m_layout);

    bindControls();

    const QSize design = m_layout->designSize();
    m_client->setMinimumSize(design);
    resize(design);
    m_layout->placeAll();
    orderTabs();
}

QuilletWindow::~QuilletWindow() {
    // The model outlives this window; its controls must not call back into it, nor the
    // widgets, while they are taken down, into the model.
    m_binding->detach();
    m_form.mform.menu_top.Show = nullptr;
    delete m_client;
    m_list = nullptr;
    m_statusBar = nullptr;
    m_progress = nullptr;
}

void QuilletWindow::bindControls() {
    Form1& form = m_form;
    Binding& b = *m_binding;
    BindTitle(b, form.form, this);
    auto click = [](Button& button) { return [&button] { button.click(); }; };

    // Creation order is stacking order: the option frames lie on the tab strip's area, the
    // progress bar on the list, and the help sheet above everything.
    BindTextBox(b, form.Text1, m_client);
    BindTextBox(b, form.Text2, m_client);
    BindTextBox(b, form.Text3, m_client);
    BindCommand(b, form.Command3, m_client, click(form.Command3));
    BindCommand(b, form.Command4, m_client, click(form.Command4));

    QGroupBox* frame1 = BindFrame(b, form.Frame1, m_client);
    BindComboBox(b, form.Combo1, frame1);
    BindTextBox(b, form.Text4, frame1);
    BindCommand(b, form.Command1, m_client, click(form.Command1));
    BindCommand(b, form.Command2, m_client, click(form.Command2));

    BindTabStrip(b, form.TabStrip1, m_client);

    QGroupBox* frame2 = BindFrame(b, form.Frame2, m_client);
    // Top to bottom as they stand in the frame.
    BindOption(b, form.Option1[3], frame2);
    BindOption(b, form.Option1[2], frame2);
    BindOption(b, form.Option1[1], frame2);
    BindCheckBox(b, form.Check2, frame2);
    BindOption(b, form.Option1[0], frame2);

    QGroupBox* frame3 = BindFrame(b, form.Frame3, m_client);
    BindCheckBox(b, form.Check4, frame3);
    BindCheckBox(b, form.Check1, frame3);
    BindCheckBox(b, form.Check3, frame3);
    BindCheckBox(b, form.Check6, frame3);
    for (auto& box : form.Check7) BindCheckBox(b, box, frame3);

    QGroupBox* frame4 = BindFrame(b, form.Frame4, m_client);
    BindCheckBox(b, form.Check5, frame4);

    QGroupBox* frame5 = BindFrame(b, form.Frame5, m_client);
    BindToolbar(b, form.Toolbar1, frame5);

    m_list = new ListBinding(b, form.LV, m_client);
    TranslateListInput(*m_layout, form.LV, m_list->view(), m_list->model(), *m_popupPlace);
    m_progress = BindProgressBar(b, form.PB1, m_client, [this] { showProgress(); });
    m_statusBar = BindStatusBar(b, form.SBar, m_client, [this] { showStatusHint(); });
    TranslateStatusBarInput(*m_layout, form.SBar, m_statusBar);

    QWidget* sheet = BindPanel(b, form.panel, m_client, [] {});
    BindMultiLineText(b, form.Text5, sheet);
    BindLabel(b, form.Label3, sheet);
    BindLabel(b, form.Label4, sheet);
    for (auto& label : form.Label2) BindLabel(b, label, sheet);

    BindPopupMenu(b, form.mform.menu_top, this, *m_popupPlace);
}

int QuilletWindow::toPixels(float twips) const {
    return m_layout->toPixels(twips);
}

float QuilletWindow::toTwips(int pixels) const {
    return m_layout->toTwips(pixels);
}

QTreeView* QuilletWindow::listView() const {
    return m_list->view();
}

FileListModel* QuilletWindow::listModel() const {
    return m_list->model();
}

void QuilletWindow::reportOuterHeight() {
    int outer = frameGeometry().height();
    if (outer <= height()) {
        // Not yet decorated by the window manager: allow for a usual title bar and border.
        outer = height() + style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                2 * style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    }
    m_form.outerHeight = std::round(toTwips(outer));
    m_layout->placeAll();
}

void QuilletWindow::orderTabs() {
    QWidget* previous = nullptr;
    for (const QString& name : m_form.tabOrder) {
        QWidget* next = findChild<QWidget*>(name);
        if (!next) continue;
        if (previous) setTabOrder(previous, next);
        previous = next;
    }
}

void QuilletWindow::applyListChanges() {
    m_list->applyChanges();
}

void QuilletWindow::showStatusHint() {
    if (!m_statusBar) return;
    const QString& shown = m_form.SBar.shownToolTip();
    if (m_statusBar->toolTip() == shown) return;
    m_statusBar->setToolTip(shown);
    m_statusBar->setAccessibleDescription(shown);
}

void QuilletWindow::showProgress() {
    // A pass runs to its end without returning to the event loop, so what the user should
    // see of it is drawn here, now, and no input is taken meanwhile.
    // A pass that ends within the first interval (a keystroke's, at 100,000 rows) is never
    // drawn half-way: that would cost a whole paint of the list for a bar no one could see.
    const ProgressBar& bar = m_form.PB1;
    if (!bar.visible()) {
        m_progressClock.invalidate();
        if (m_progress) m_progress->hide();  // not yet there while it is being bound
        return;
    }
    if (!m_progressClock.isValid()) {
        m_progressClock.start();
        return;
    }
    if (bar.value() == m_shownProgress || m_progressClock.elapsed() < kProgressIntervalMs) return;
    m_shownProgress = bar.value();
    m_progressClock.restart();
    m_progress->setValue(bar.value());
    m_progress->show();
    if (!isVisible()) return;
    applyListChanges();
    m_progress->repaint();
    m_list->view()->viewport()->repaint();
}

void QuilletWindow::afterFirstFrame(std::function<void()> work) {
    m_binding->whenDrawn(std::move(work));
}

void QuilletWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_watchingFirstFrame || !windowHandle()) return;
    m_watchingFirstFrame = true;
    Binding* binding = m_binding.get();
    new FirstFrameTap(windowHandle(), [binding] { binding->firstFrameDrawn(); });
}

void QuilletWindow::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        m_closing = true;
        quillet::Raise(m_form.QueryUnload);
        quillet::Raise(m_form.Unload);
    }
    event->accept();
    // Nothing of the program may stay behind its window.
    QCoreApplication::quit();
}

}  // namespace quillet
