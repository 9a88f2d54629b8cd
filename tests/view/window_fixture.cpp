#include "window_fixture.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QMouseEvent>
#include <cctype>

namespace quillet::test {

WindowFixture::WindowFixture() {
    for (const char* name : {"IMG_0003.jpg", "IMG_0001.jpg", "IMG_0002.jpg", "notes.txt"}) {
        folder.write(name, "picture");
    }
    process.arguments = folder.path();
    window = std::make_unique<FormWiring>(platform);
    view = std::make_unique<QuilletWindow>(window->form());
}

WindowFixture::~WindowFixture() {
    view.reset();
    window.reset();
}

void WindowFixture::load() {
    view->reportOuterHeight();
    window->Form_Load();
    view->show();
    settle();
}

namespace {

QStringList* g_faults = nullptr;

void CollectFaults(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (g_faults && type != QtDebugMsg && message.contains(QLatin1String("FAIL")))
        g_faults->push_back(message);
}

}  // namespace

QStringList ItemModelFaults(QAbstractItemModel* model, const std::function<void()>& drive) {
    QStringList faults;
    g_faults = &faults;
    const QtMessageHandler previous = qInstallMessageHandler(CollectFaults);
    {
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        drive();
    }
    qInstallMessageHandler(previous);
    g_faults = nullptr;
    return faults;
}

std::string TestNameOf(const char* control) {
    std::string name = control;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

void WindowFixture::settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button) {
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, local, local, global, button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void ClickAt(QWidget* target, QPoint at, Qt::MouseButton button) {
    SendMouse(target, QEvent::MouseButtonPress, at, button);
    SendMouse(target, QEvent::MouseButtonRelease, at, button);
}

}  // namespace quillet::test
