#pragma once

#include <QString>
#include <functional>

namespace quillet {
class QuilletWindow;
}

namespace quillet::e2e {

// A user's session with the running program, played on its live widgets from inside the
// program's own event loop. A session that expects the program to end and finds it still
// running leaves with kStillRunning; one that expects the window to stay open leaves with
// kWindowStayedOpen once it has seen what it came for.
using Scenario = std::function<void(QuilletWindow&)>;

constexpr int kScenarioFailed = 2;
constexpr int kStillRunning = 3;
constexpr int kWindowStayedOpen = 42;

// The session of this name, or an empty function.
Scenario ScenarioNamed(const QString& name);

}  // namespace quillet::e2e
