#include "view/quillet_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>
#include <algorithm>
#include <cmath>

#include "app/main_window.h"
#include "rename/rename_outcome.h"
#include "rename/rename_preview.h"
#include "shell/folder_problem.h"
#include "ui/mode_switch.h"
#include "view/file_list_model.h"
#include "view/interface_font.h"
#include "view/status_panel_label.h"

namespace quillet {

namespace {

constexpr float kTwipsPerInch = 1440;
// Progress is drawn at most this often while a pass runs; drawing more often only slows it.
constexpr qint64 kProgressIntervalMs = 50;

// Marks model-to-widget updates, so that widget signals they cause are not taken for the user's.
class SyncScope {
  public:
    explicit SyncScope(int& depth) : m_depth(depth) { ++m_depth; }
    ~SyncScope() { --m_depth; }
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;

  private:
    int& m_depth;
};

// Mouse buttons and modifier keys as the model's mouse events count them.
int buttonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

// Controls without a caption are named after their role, as a sighted user reads them off
// the window.
QString roleName(const QString& control) {
    static const QHash<QString, QString> names = {
        {QStringLiteral("Text1"), QStringLiteral("前置文字列")},
        {QStringLiteral("Text2"), QStringLiteral("開始番号")},
        {QStringLiteral("Text3"), QStringLiteral("拡張子")},
        {QStringLiteral("Text4"), QStringLiteral("ワイルドカード")},
        {QStringLiteral("Text5"), QStringLiteral("使用説明")},
        {QStringLiteral("Combo1"), QStringLiteral("ファイルの種類")},
        {QStringLiteral("TabStrip1"), QStringLiteral("設定の切り替え")},
        {QStringLiteral("Toolbar1"), QStringLiteral("ショートカット")},
        {QStringLiteral("LV"), QStringLiteral("ファイル一覧")},
        {QStringLiteral("SBar"), QStringLiteral("フォルダとファイル数")},
        {QStringLiteral("PB1"), QStringLiteral("進行状況")},
        {QStringLiteral("panel"), QStringLiteral("使用説明")},
    };
    return names.value(control);
}

// The keyboard visits the window as it is read: the name row, the left column, the tab strip
// with whichever frame it shows, the list and the status bar; then the help sheet.
const char* const kTabOrder[] = {
    "Text1",       "Text2",     "Text3",      "Command3",  "Command4",   "Combo1",
    "Text4",       "Command1",  "Command2",   "TabStrip1", "Option1(3)", "Option1(2)",
    "Option1(1)",  "Check2",    "Option1(0)", "Check4",    "Check1",     "Check3",
    "Check6",      "Check7(0)", "Check7(1)",  "Check7(2)", "Check5",     "Toolbar1(1)",
    "Toolbar1(2)", "LV",        "SBar",       "Text5",     "Label2(1)",
};

bool isActivationKey(int key) {
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter ||
           key == Qt::Key_Select;
}

QString forDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace

QuilletWindow::QuilletWindow(MainWindow& window, QWidget* parent)
    : QMainWindow(parent), m_window(window) {
    setFont(interfaceFont());
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    Form1& form = m_window.form();
    bindForm();

    // Creation order is stacking order: the option frames lie on the tab strip's area, the
    // progress bar on the list, and the help sheet above everything.
    bindTextBox(form.Text1, m_client);
    bindTextBox(form.Text2, m_client);
    bindTextBox(form.Text3, m_client);
    bindCommand(form.Command3, m_client);
    bindCommand(form.Command4, m_client);

    QGroupBox* frame1 = bindFrame(form.Frame1, m_client);
    bindComboBox(form.Combo1, frame1);
    bindTextBox(form.Text4, frame1);
    bindCommand(form.Command1, m_client);
    bindCommand(form.Command2, m_client);

    bindTabStrip(form.TabStrip1, m_client);

    QGroupBox* frame2 = bindFrame(form.Frame2, m_client);
    // Top to bottom as they stand in the frame.
    bindOption(form.Option1[3], frame2);
    bindOption(form.Option1[2], frame2);
    bindOption(form.Option1[1], frame2);
    bindCheckBox(form.Check2, frame2);
    bindOption(form.Option1[0], frame2);

    QGroupBox* frame3 = bindFrame(form.Frame3, m_client);
    bindCheckBox(form.Check4, frame3);
    bindCheckBox(form.Check1, frame3);
    bindCheckBox(form.Check3, frame3);
    bindCheckBox(form.Check6, frame3);
    for (auto& box : form.Check7) bindCheckBox(box, frame3);

    QGroupBox* frame4 = bindFrame(form.Frame4, m_client);
    bindCheckBox(form.Check5, frame4);

    QGroupBox* frame5 = bindFrame(form.Frame5, m_client);
    bindToolbar(form.Toolbar1, frame5);

    bindList(form.LV, m_client);
    bindProgressBar(form.PB1, m_client);
    bindStatusBar(form.SBar, m_client);

    QWidget* sheet = bindPanel(form.panel, m_client);
    bindHelpText(form.Text5, sheet);
    bindLabel(form.Label3, sheet);
    bindLabel(form.Label4, sheet);
    for (auto& label : form.Label2) bindLabel(label, sheet);

    bindPopupMenu(form.mform.menu_top);

    const QSize design(toPixels(Form1::kClientWidth), toPixels(Form1::kClientHeight));
    m_client->setMinimumSize(design);
    resize(design);
    placeAll();
    orderTabs();
}

QuilletWindow::~QuilletWindow() {
    // The model outlives this window; its controls must not call back into it.
    m_alive.reset();
    PopupMenu& menu = m_window.form().mform.menu_top;
    menu.Show = nullptr;
}

int QuilletWindow::toPixels(float twips) const {
    return static_cast<int>(std::lround(twips * static_cast<float>(logicalDpiY()) / kTwipsPerInch));
}

float QuilletWindow::toTwips(int pixels) const {
    return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(logicalDpiY());
}

void QuilletWindow::reportOuterHeight() {
    int outer = frameGeometry().height();
    if (outer <= height()) {
        // Not yet decorated by the window manager: allow for a usual title bar and border.
        outer = height() + style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                2 * style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    }
    m_window.form().outerHeight = std::round(toTwips(outer));
    placeAll();
}

std::function<void()> QuilletWindow::follow(Control& control, std::function<void()> sync) {
    // Every write a sync makes is the model's, not the user's: the widget signals it causes
    // must not come back as the user's change.
    std::weak_ptr<int> alive = m_alive;
    auto guarded = [this, alive, sync = std::move(sync)] {
        if (alive.expired()) return;
        SyncScope scope(m_syncing);
        sync();
    };
    control.subscribe(guarded);
    guarded();
    return guarded;
}

QString QuilletWindow::accessibleNameOf(const Control& control) {
    const QString role = roleName(control.name());
    return role.isEmpty() ? control.caption().trimmed() : role;
}

void QuilletWindow::showCommon(const Control& control, QWidget* widget) {
    // This runs on every change of the control, a hundred times a pass for the progress bar,
    // and each of these writes sends events of its own: only what differs is written.
    if (widget->toolTip() != control.toolTip()) widget->setToolTip(control.toolTip());
    const QString name = accessibleNameOf(control);
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
    if (widget->accessibleDescription() != control.toolTip())
        widget->setAccessibleDescription(control.toolTip());
    widget->setEnabled(control.enabled());
    widget->setVisible(control.visible());
    for (const auto& placement : m_placements) {
        if (placement.control == &control) place(placement);
    }
}

void QuilletWindow::addPlacement(const Control& control, QWidget* widget, Anchor anchor,
                                 std::function<void(const QRect&)> arrange) {
    widget->setObjectName(control.name());
    m_placements.push_back({&control, widget, anchor, std::move(arrange)});
}

QRect QuilletWindow::pixelRect(const Twips& geometry) const {
    // Edges are rounded, not sizes, so that neighbours meet without gaps.
    const int left = toPixels(geometry.left);
    const int top = toPixels(geometry.top);
    return QRect(left, top, toPixels(geometry.left + geometry.width) - left,
                 toPixels(geometry.top + geometry.height) - top);
}

QSize QuilletWindow::extraRoom() const {
    return {std::max(0, m_client->width() - toPixels(Form1::kClientWidth)),
            std::max(0, m_client->height() - toPixels(Form1::kClientHeight))};
}

int QuilletWindow::sheetTop(float top) const {
    // The sheet slides between the top of the window and the bottom of the status bar; on a
    // window taller than designed the same slide is stretched over the real height.
    const Twips& bar = m_window.form().SBar.geometry();
    const float bottom = bar.top + bar.height;
    const int bottomPixels = pixelRect(bar).bottom() + 1 + extraRoom().height();
    if (bottom <= 0) return toPixels(top);
    if (top <= bottom) return static_cast<int>(std::lround(top / bottom * bottomPixels));
    return bottomPixels + toPixels(top) - toPixels(bottom);
}

void QuilletWindow::place(const Placement& placement) {
    QRect rect = pixelRect(placement.control->geometry());
    const QSize extra = extraRoom();
    switch (placement.anchor) {
        case Anchor::Fixed:
            break;
        case Anchor::Grow:
            rect.setSize(rect.size() + extra);
            break;
        case Anchor::Bottom:
            rect.translate(0, extra.height());
            rect.setWidth(rect.width() + extra.width());
            break;
        case Anchor::Sheet:
            rect.moveTop(sheetTop(placement.control->geometry().top));
            rect.setSize(rect.size() + extra);
            break;
    }
    placement.widget->setGeometry(rect);
    if (placement.arrange) placement.arrange(rect);
}

void QuilletWindow::placeAll() {
    for (const auto& placement : m_placements) place(placement);
}

void QuilletWindow::bindForm() {
    Control& form = m_window.form().form;
    follow(form, [this, &form] { setWindowTitle(form.caption()); });
}

QGroupBox* QuilletWindow::bindFrame(Control& frame, QWidget* parent) {
    auto* box = new QGroupBox(parent);
    addPlacement(frame, box, Anchor::Fixed);
    follow(frame, [this, &frame, box] {
        box->setTitle(frame.caption());
        showCommon(frame, box);
    });
    return box;
}

void QuilletWindow::bindTextBox(TextBox& textBox, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    addPlacement(textBox, edit, Anchor::Fixed);
    auto sync = follow(textBox, [this, &textBox, edit] {
        // Rewriting an unchanged text would move the caret while the user types.
        if (edit->text() != textBox.text()) edit->setText(textBox.text());
        edit->setReadOnly(textBox.readOnly());
        showCommon(textBox, edit);
    });
    // Typing, pasting, an input method and assistive technology all end in textChanged.
    connect(edit, &QLineEdit::textChanged, this, [this, &textBox, sync](const QString& text) {
        if (m_syncing) return;
        textBox.setText(text);
        sync();
    });
}

void QuilletWindow::bindHelpText(TextBox& textBox, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setFont(helpTextFont());
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(true);
    addPlacement(textBox, edit, Anchor::Grow);
    auto sync = [this, &textBox, edit] {
        const QString shown = forDisplay(textBox.text());
        if (edit->toPlainText() != shown) {
            SyncScope scope(m_syncing);
            edit->setPlainText(shown);
        }
        edit->setReadOnly(textBox.readOnly());
        showCommon(textBox, edit);
    };
    follow(textBox, sync);
    connect(edit, &QPlainTextEdit::textChanged, this, [this, &textBox, edit] {
        if (m_syncing || textBox.readOnly()) return;
        QString text = edit->toPlainText();
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        textBox.setText(text);
    });
}

void QuilletWindow::bindCheckBox(CheckBox& checkBox, QWidget* parent) {
    auto* box = new QCheckBox(parent);
    addPlacement(checkBox, box, Anchor::Fixed);
    auto sync = follow(checkBox, [this, &checkBox, box] {
        box->setText(checkBox.caption());
        box->setChecked(checkBox.isOn());
        showCommon(checkBox, box);
    });
    connect(box, &QCheckBox::toggled, this, [this, &checkBox, sync](bool checked) {
        if (m_syncing) return;
        checkBox.setValue(checked ? 1 : 0);
        sync();
    });
}

void QuilletWindow::bindOption(OptionButton& option, QWidget* parent) {
    auto* radio = new QRadioButton(parent);
    radio->setAutoExclusive(option.exclusive());
    addPlacement(option, radio, Anchor::Fixed);
    auto sync = follow(option, [this, &option, radio] {
        radio->setText(option.caption());
        // An exclusive button refuses to be cleared; the model may clear it all the same.
        radio->setAutoExclusive(false);
        radio->setChecked(option.value());
        radio->setAutoExclusive(option.exclusive());
        showCommon(option, radio);
    });
    // An option is cleared only by selecting another, which reports itself.
    connect(radio, &QRadioButton::toggled, this, [this, &option, sync](bool checked) {
        if (m_syncing || !checked) return;
        option.select();
        sync();
    });
}

void QuilletWindow::bindComboBox(ComboBox& combo, QWidget* parent) {
    auto* box = new QComboBox(parent);
    addPlacement(combo, box, Anchor::Fixed);
    auto sync = follow(combo, [this, &combo, box] {
        QStringList shown;
        for (int i = 0; i < box->count(); ++i) shown.push_back(box->itemText(i));
        if (shown != combo.items()) {
            box->clear();
            box->addItems(combo.items());
        }
        box->setCurrentIndex(combo.listIndex());
        showCommon(combo, box);
    });
    connect(box, &QComboBox::currentIndexChanged, this, [this, &combo, sync](int index) {
        if (m_syncing) return;
        combo.setListIndex(index);
        sync();
    });
}

void QuilletWindow::bindCommand(Button& button, QWidget* parent) {
    auto* push = new QPushButton(parent);
    push->setAutoDefault(false);
    addPlacement(button, push, Anchor::Fixed);
    follow(button, [this, &button, push] {
        push->setText(button.caption());
        showCommon(button, push);
    });
    if (&button == &m_window.form().Command1) {
        connect(push, &QPushButton::clicked, this, [this, &button] { executeAndReport(button); });
    } else {
        connect(push, &QPushButton::clicked, this, [&button] { button.click(); });
    }
}

void QuilletWindow::executeAndReport(Button& button) {
    Form1& form = m_window.form();
    // Only an extended-mode pass leaves the window open to tell how it went.
    RenameOutcome planned;
    if (!IsStandardMode(form)) planned = RenameOutcome::plan(form, m_window.platform().files);
    m_passRan = false;
    std::weak_ptr<int> alive = m_alive;
    button.click();
    if (alive.expired() || !m_passRan || IsStandardMode(form)) return;
    const int left = planned.leftUnrenamed(m_window.platform().files, form.File1.path());
    m_passHint =
        left == 0
            ? QString()
            : QStringLiteral("前回の実行では %1 個のファイルの名前が変わりませんでした").arg(left);
    showStatusHint();
}

void QuilletWindow::bindLabel(Button& label, QWidget* parent) {
    auto* text = new QLabel(parent);
    text->setWordWrap(false);
    addPlacement(label, text, Anchor::Fixed);
    follow(label, [this, &label, text] {
        text->setText(label.caption());
        showCommon(label, text);
    });
    if (label.name().startsWith(QLatin1String("Label2"))) {
        text->setCursor(Qt::PointingHandCursor);
        // A label that acts is reached by the keyboard like a button.
        text->setFocusPolicy(Qt::TabFocus);
    }
    m_clickableLabels.insert(text, &label);
    text->installEventFilter(this);
}

void QuilletWindow::bindTabStrip(TabStrip& tabs, QWidget* parent) {
    auto* area = new QWidget(parent);
    auto* pane = new QFrame(area);
    pane->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    m_tabBar = new QTabBar(area);
    m_tabBar->setExpanding(false);
    m_tabBar->setDrawBase(false);
    addPlacement(tabs, area, Anchor::Fixed, [this, pane](const QRect& rect) {
        const int barHeight = m_tabBar->sizeHint().height();
        m_tabBar->setGeometry(0, 0, rect.width(), barHeight);
        pane->setGeometry(0, barHeight - 1, rect.width(), rect.height() - barHeight + 1);
    });
    area->setObjectName(tabs.name() + QStringLiteral("_area"));
    m_tabBar->setObjectName(tabs.name());

    follow(tabs, [this, &tabs, area] {
        SyncScope scope(m_syncing);
        for (int i = 1; i <= tabs.tabCount(); ++i) {
            if (i > m_tabBar->count()) m_tabBar->addTab(tabs.tab(i).caption);
            m_tabBar->setTabText(i - 1, tabs.tab(i).caption);
        }
        while (m_tabBar->count() > tabs.tabCount()) m_tabBar->removeTab(m_tabBar->count() - 1);
        m_tabBar->setCurrentIndex(tabs.selectedIndex() - 1);
        showCommon(tabs, area);
    });
    // The bar has already switched when it reports a change; the model must be asked first
    // (it may refuse), so the bar goes back and shows whatever the model then selects.
    connect(m_tabBar, &QTabBar::currentChanged, this, [this, &tabs](int index) {
        if (m_syncing) return;
        {
            SyncScope scope(m_syncing);
            m_tabBar->setCurrentIndex(tabs.selectedIndex() - 1);
        }
        tabs.userSelect(index + 1);
        SyncScope scope(m_syncing);
        m_tabBar->setCurrentIndex(tabs.selectedIndex() - 1);
    });
}

void QuilletWindow::bindToolbar(Toolbar& toolbar, QWidget* parent) {
    auto* bar = new QWidget(parent);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(toPixels(60));
    addPlacement(toolbar, bar, Anchor::Fixed);
    std::vector<QToolButton*> buttons;
    const QStyle::StandardPixmap icons[] = {QStyle::SP_DesktopIcon, QStyle::SP_DirLinkIcon};
    for (int i = 1; i <= toolbar.buttonCount(); ++i) {
        auto* button = new QToolButton(bar);
        button->setObjectName(toolbar.name() + QLatin1Char('(') + QString::number(i) +
                              QLatin1Char(')'));
        button->setCheckable(toolbar.button(i).twoState);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        if (i <= 2) button->setIcon(style()->standardIcon(icons[i - 1]));
        layout->addWidget(button);
        buttons.push_back(button);
    }
    auto sync = follow(toolbar, [this, &toolbar, bar, buttons] {
        for (int i = 1; i <= toolbar.buttonCount() && i <= static_cast<int>(buttons.size()); ++i) {
            QToolButton* button = buttons[static_cast<size_t>(i - 1)];
            button->setText(toolbar.button(i).caption);
            button->setToolTip(toolbar.button(i).toolTip);
            button->setAccessibleName(toolbar.button(i).caption);
            button->setAccessibleDescription(toolbar.button(i).toolTip);
            button->setChecked(toolbar.button(i).value == 1);
        }
        showCommon(toolbar, bar);
        // The bar's own tool tip would hide the buttons' tool tips.
        bar->setToolTip(toolbar.toolTip());
    });
    for (size_t i = 0; i < buttons.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        // A two-state button has toggled when it reports; a push button only clicks.
        auto press = [this, &toolbar, sync, index] {
            if (m_syncing) return;
            toolbar.userClick(index);
            sync();
        };
        if (toolbar.button(index).twoState)
            connect(buttons[i], &QToolButton::toggled, this, press);
        else
            connect(buttons[i], &QToolButton::clicked, this, press);
    }
}

void QuilletWindow::bindList(ListView& list, QWidget* parent) {
    m_list = new QTreeView(parent);
    m_listModel = new FileListModel(list, this);
    m_list->setModel(m_listModel);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionsMovable(false);
    m_list->viewport()->installEventFilter(this);
    m_list->installEventFilter(this);
    m_listModel->setToolTipSource([this](int row) { return rowToolTip(row); });
    addPlacement(list, m_list, Anchor::Grow);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { userSelectionChanged(); });
    follow(list, [this, &list] {
        syncListHeader();
        showCommon(list, m_list);
        queueListUpdate();
    });
}

void QuilletWindow::syncListHeader() {
    const ListView& list = m_window.form().LV;
    m_listModel->refreshHeaders();
    for (int column = 1; column <= FileListModel::kVisibleColumns; ++column) {
        // Only a width the program sets is applied; the user's own resizing is kept.
        float& applied = m_appliedColumnWidths[static_cast<size_t>(column - 1)];
        if (list.columnWidth(column) == applied) continue;
        applied = list.columnWidth(column);
        m_list->header()->resizeSection(column - 1, toPixels(applied));
    }
}

void QuilletWindow::queueListUpdate() {
    if (m_listUpdateQueued) return;
    m_listUpdateQueued = true;
    std::weak_ptr<int> alive = m_alive;
    QTimer::singleShot(0, this, [this, alive] {
        if (alive.expired()) return;
        m_listUpdateQueued = false;
        applyListChanges();
    });
}

QString QuilletWindow::rowToolTip(int row) {
    if (!m_preview)
        m_preview = std::make_unique<RenamePreview>(m_window.form(), m_window.platform().files);
    return m_preview->problem(row);
}

void QuilletWindow::applyListChanges() {
    const ListChanges changes = m_listModel->apply();
    if (changes.any()) m_preview.reset();
    const int rows = m_listModel->rowCount();
    if (changes.rowsReplaced) {
        followListSelection(1, rows);
    } else if (changes.lastRow > 0 && changes.selectionChanged) {
        followListSelection(std::max(1, changes.firstRow), std::min(changes.lastRow, rows));
    }
    if (changes.scrollToRow > 0 && changes.scrollToRow <= rows) {
        m_list->scrollTo(m_listModel->index(changes.scrollToRow - 1, 0));
    }
}

void QuilletWindow::followListSelection(int firstRow, int lastRow) {
    if (firstRow > lastRow) return;
    const ListView& list = m_window.form().LV;
    lastRow = std::min(lastRow, list.rowCount());
    if (firstRow > lastRow) return;

    // What the view shows now, for the rows in question.
    std::vector<char> shown(static_cast<size_t>(lastRow - firstRow + 1), 0);
    const QItemSelection current = m_list->selectionModel()->selection();
    for (const QItemSelectionRange& range : current) {
        const int top = std::max(range.top() + 1, firstRow);
        const int bottom = std::min(range.bottom() + 1, lastRow);
        for (int row = top; row <= bottom; ++row) shown[static_cast<size_t>(row - firstRow)] = 1;
    }

    // Only rows that differ are touched: re-selecting what is already selected would end a
    // selection the user is still dragging out.
    QItemSelection toSelect;
    QItemSelection toDeselect;
    const int lastColumn = FileListModel::kVisibleColumns - 1;
    auto addRun = [this, lastColumn](QItemSelection& selection, int from, int to) {
        selection.select(m_listModel->index(from - 1, 0), m_listModel->index(to - 1, lastColumn));
    };
    int runStart = 0;
    bool runSelect = false;
    for (int row = firstRow; row <= lastRow + 1; ++row) {
        bool differs = false;
        bool wanted = false;
        if (row <= lastRow) {
            wanted = list.row(row).selected;
            differs = wanted != (shown[static_cast<size_t>(row - firstRow)] != 0);
        }
        if (runStart && (!differs || wanted != runSelect)) {
            addRun(runSelect ? toSelect : toDeselect, runStart, row - 1);
            runStart = 0;
        }
        if (differs && !runStart) {
            runStart = row;
            runSelect = wanted;
        }
    }
    if (toSelect.isEmpty() && toDeselect.isEmpty()) return;
    SyncScope scope(m_syncing);
    if (!toDeselect.isEmpty())
        m_list->selectionModel()->select(toDeselect, QItemSelectionModel::Deselect);
    if (!toSelect.isEmpty())
        m_list->selectionModel()->select(toSelect, QItemSelectionModel::Select);
}

void QuilletWindow::userSelectionChanged() {
    if (m_syncing) return;
    ListView& list = m_window.form().LV;
    // The user's selection is the list's: write every row whose highlight differs.
    const QItemSelection current = m_list->selectionModel()->selection();
    std::vector<char> shown(static_cast<size_t>(m_listModel->rowCount()), 0);
    for (const QItemSelectionRange& range : current) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && row < static_cast<int>(shown.size()))
                shown[static_cast<size_t>(row)] = 1;
        }
    }
    const int rows = std::min(list.rowCount(), static_cast<int>(shown.size()));
    for (int row = 1; row <= rows; ++row) {
        const bool selected = shown[static_cast<size_t>(row - 1)] != 0;
        if (list.row(row).selected != selected) list.setSelected(row, selected);
    }
}

void QuilletWindow::bindStatusBar(StatusBar& bar, QWidget* parent) {
    m_statusBar = new QStatusBar(parent);
    m_statusBar->setSizeGripEnabled(true);
    m_statusBar->installEventFilter(this);
    // Choosing a folder is a click on the bar; the keyboard gets there too.
    m_statusBar->setFocusPolicy(Qt::TabFocus);
    addPlacement(bar, m_statusBar, Anchor::Bottom);
    follow(bar, [this, &bar] {
        while (static_cast<int>(m_statusPanels.size()) < bar.panelCount()) {
            auto* label = new StatusPanelLabel(m_statusBar);
            const int index = static_cast<int>(m_statusPanels.size()) + 1;
            label->setObjectName(bar.name() + QLatin1Char('.') + bar.panel(index).key);
            // The whole bar reports the mouse, whichever panel is under it.
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            label->setIndent(toPixels(60));
            if (index == 1) {
                m_statusBar->addWidget(label, 1);
            } else {
                label->setMinimumWidth(toPixels(1500));
                m_statusBar->addWidget(label, 0);
            }
            m_statusPanels.push_back(label);
        }
        for (int i = 1; i <= bar.panelCount(); ++i) {
            StatusPanelLabel* label = m_statusPanels[static_cast<size_t>(i - 1)];
            label->setFullText(bar.panel(i).text);
            label->setFrameStyle(
                QFrame::Panel |
                (bar.panel(i).bevel == Bevel::Raised ? QFrame::Raised : QFrame::Sunken));
            // A bevel change must show while the button is still held down.
            label->repaint();
        }
        showCommon(bar, m_statusBar);
        showStatusHint();
    });
}

void QuilletWindow::showStatusHint() {
    if (!m_statusBar) return;
    QStringList hints;
    const QString folder = FolderProblem(m_window.form(), m_window.platform().files);
    if (!folder.isEmpty()) hints.push_back(folder);
    if (!m_passHint.isEmpty()) hints.push_back(m_passHint);
    const QString shown =
        hints.isEmpty() ? m_window.form().SBar.toolTip() : hints.join(QLatin1Char('\n'));
    m_statusBar->setToolTip(shown);
    m_statusBar->setAccessibleDescription(shown);
}

void QuilletWindow::bindProgressBar(ProgressBar& bar, QWidget* parent) {
    m_progress = new QProgressBar(parent);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    addPlacement(bar, m_progress, Anchor::Bottom);
    follow(bar, [this, &bar] {
        if (bar.visible()) m_passRan = true;
        showCommon(bar, m_progress);
        // A shown bar paints itself at once on every visible step, a hundred times a pass:
        // while it is shown, its value moves only with the frames drawn below.
        if (m_progress->isHidden()) m_progress->setValue(bar.value());
        showProgress();
    });
}

void QuilletWindow::showProgress() {
    // A pass runs to its end without returning to the event loop, so what the user should
    // see of it is drawn here, now, and no input is taken meanwhile.
    const ProgressBar& bar = m_window.form().PB1;
    if (!bar.visible() || bar.value() == m_shownProgress) return;
    if (m_progressClock.isValid() && m_progressClock.elapsed() < kProgressIntervalMs) return;
    m_shownProgress = bar.value();
    m_progressClock.restart();
    m_progress->setValue(bar.value());
    if (!isVisible()) return;
    applyListChanges();
    m_progress->repaint();
    m_list->viewport()->repaint();
}

QWidget* QuilletWindow::bindPanel(Control& panel, QWidget* parent) {
    m_panel = new QWidget(parent);
    m_panel->setAutoFillBackground(true);
    addPlacement(panel, m_panel, Anchor::Sheet);
    follow(panel, [this, &panel] {
        showCommon(panel, m_panel);
        m_panel->raise();
        // The sheet is slid frame by frame by the handler itself; each frame must show.
        if (m_panel->isVisible()) m_panel->repaint();
        followSheet();
    });
    return m_panel;
}

void QuilletWindow::followSheet() {
    // A parked sheet lies below the window: the keyboard must not wander into it, and a
    // raised one takes the keyboard along.
    const bool parked = m_panel->y() >= m_client->height();
    auto* text = m_panel->findChild<QPlainTextEdit*>(QStringLiteral("Text5"));
    auto* back = m_panel->findChild<QLabel*>(QStringLiteral("Label2(1)"));
    auto* version = m_panel->findChild<QLabel*>(QStringLiteral("Label2(0)"));
    if (!text || !back || !version) return;
    const bool hadFocus = m_panel->isAncestorOf(QApplication::focusWidget());
    text->setFocusPolicy(parked ? Qt::NoFocus : Qt::StrongFocus);
    back->setFocusPolicy(parked ? Qt::NoFocus : Qt::TabFocus);
    version->setFocusPolicy(parked ? Qt::NoFocus : Qt::TabFocus);
    if (parked && hadFocus) {
        if (auto* help = findChild<QPushButton*>(QStringLiteral("Command4"))) help->setFocus();
    } else if (!parked && m_panel->y() == 0 && !hadFocus && isActiveWindow()) {
        back->setFocus();
    }
}

void QuilletWindow::orderTabs() {
    QWidget* previous = nullptr;
    for (const char* name : kTabOrder) {
        QWidget* next = findChild<QWidget*>(QString::fromLatin1(name));
        if (!next) continue;
        if (previous) setTabOrder(previous, next);
        previous = next;
    }
}

bool QuilletWindow::listKey(QKeyEvent* key) {
    const QModelIndex current = m_list->currentIndex();
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
        if (!current.isValid()) return false;
        // The same path as a click on the check box, so the names are recomputed.
        const QModelIndex box = m_listModel->index(current.row(), 0);
        const bool checked = box.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        m_listModel->setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        return true;
    }
    const bool menuKey = key->key() == Qt::Key_Menu ||
                         (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
    if (!menuKey) return false;
    // The program opens its menu when the right button is let go over the list; from the
    // keyboard, that happens at the current row.
    QRect row = current.isValid() ? m_list->visualRect(current) : QRect();
    if (!row.isValid() || !m_list->viewport()->rect().intersects(row)) row = QRect(0, 0, 1, 1);
    const QPoint at(row.left() + std::min(row.width(), toPixels(600)), row.center().y());
    m_popupAt = m_list->viewport()->mapToGlobal(at);
    m_popupFromKeyboard = true;
    quillet::raise(m_window.form().LV.MouseUp, 2, shiftCode(key->modifiers() & ~Qt::ShiftModifier),
                   toTwips(at.x()), toTwips(at.y()));
    m_popupFromKeyboard = false;
    return true;
}

bool QuilletWindow::statusBarKey(QKeyEvent* key) {
    if (!isActivationKey(key->key()) || key->isAutoRepeat()) return false;
    // A press of the key is a click at the bar's start: down, up, click, as with the mouse.
    StatusBar& bar = m_window.form().SBar;
    quillet::raise(bar.MouseDown, 1, 0, 0.0f, 0.0f);
    quillet::raise(bar.MouseUp, 1, 0, 0.0f, 0.0f);
    quillet::raise(bar.Click);
    return true;
}

void QuilletWindow::bindPopupMenu(PopupMenu& menu) {
    std::weak_ptr<int> alive = m_alive;
    menu.Show = [this, alive](PopupMenu& shown) {
        if (!alive.expired()) showPopup(shown);
    };
}

void QuilletWindow::showPopup(PopupMenu& menu) {
    QMenu popup(this);
    popup.setObjectName(menu.name());
    for (int position = 0; position < menu.entryCount(); ++position) {
        const MenuEntry& entry = menu.entry(position);
        QAction* action =
            entry.isSeparator() ? popup.addSeparator() : popup.addAction(entry.caption);
        action->setObjectName(entry.name);
        action->setData(position);
    }
    QAction* chosen = popup.exec(m_popupFromKeyboard ? m_popupAt : QCursor::pos());
    if (chosen) menu.choose(chosen->data().toInt());
}

void QuilletWindow::raiseMouse(const std::function<void(int, int, float, float)>& handler,
                               QWidget* widget, QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF at = mouse->position();
    quillet::raise(handler, buttonCode(mouse->button()), shiftCode(mouse->modifiers()),
                   toTwips(static_cast<int>(at.x())), toTwips(static_cast<int>(at.y())));
    Q_UNUSED(widget);
}

bool QuilletWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_client && type == QEvent::Resize) {
        placeAll();
        return false;
    }
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_list && watched == m_list)
            return listKey(key) || QMainWindow::eventFilter(watched, event);
        if (watched == m_statusBar) return statusBarKey(key);
        const auto label = m_clickableLabels.constFind(watched);
        if (label != m_clickableLabels.constEnd() && isActivationKey(key->key()) &&
            label.value()->name().startsWith(QLatin1String("Label2"))) {
            label.value()->click();
            return true;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (watched == m_statusBar) {
        StatusBar& bar = m_window.form().SBar;
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            raiseMouse(bar.MouseDown, m_statusBar, event);
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            raiseMouse(bar.MouseUp, m_statusBar, event);
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (m_statusBar->rect().contains(at)) quillet::raise(bar.Click);
            return true;
        }
        return false;
    }
    if (m_list && watched == m_list->viewport() && type == QEvent::MouseButtonRelease) {
        // The program opens its menu on the release; the list still sees the event after.
        raiseMouse(m_window.form().LV.MouseUp, m_list->viewport(), event);
        return false;
    }
    if (type == QEvent::MouseButtonRelease) {
        const auto found = m_clickableLabels.constFind(watched);
        if (found != m_clickableLabels.constEnd()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            auto* label = static_cast<QWidget*>(watched);
            if (mouse->button() == Qt::LeftButton &&
                label->rect().contains(mouse->position().toPoint())) {
                found.value()->click();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void QuilletWindow::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        m_closing = true;
        m_window.Form_QueryUnload();
        m_window.Form_Unload();
    }
    event->accept();
    // Nothing of the program may stay behind its window.
    QCoreApplication::quit();
}

}  // namespace quillet
