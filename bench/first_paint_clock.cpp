#include "first_paint_clock.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <QRect>
#include <QRegion>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern char** environ;

namespace quillet::bench {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Starts `argv` with `environment`, its output thrown away; it dies with this process.
pid_t Spawn(const std::vector<QByteArray>& argv, const std::vector<QByteArray>& environment,
            int keepFd = -1) {
    std::vector<char*> args;
    for (const QByteArray& arg : argv) args.push_back(const_cast<char*>(arg.constData()));
    args.push_back(nullptr);
    std::vector<char*> env;
    for (const QByteArray& var : environment) env.push_back(const_cast<char*>(var.constData()));
    env.push_back(nullptr);
    const pid_t child = ::fork();
    if (child != 0) return child;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    if (keepFd >= 0) ::dup2(keepFd, 3);
    ::execvpe(args[0], args.data(), env.data());
    ::_exit(127);
}

void Stop(pid_t child) {
    if (child <= 0) return;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

}  // namespace

FirstPaintClock::FirstPaintClock() {
    // Xvfb writes the number of the display it found free to the descriptor it is given. It
    // ends by itself once this, its only client, is gone, whatever way this process ends.
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
    m_server = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                      "-terminate"},
                     {"PATH=" + qgetenv("PATH")}, pipeFds[1]);
    ::close(pipeFds[1]);
    std::string number;
    char c = 0;
    pollfd ready{pipeFds[0], POLLIN, 0};
    while (::poll(&ready, 1, 10000) == 1 && ::read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(pipeFds[0]);
    m_display = QByteArray(":") + QByteArray::fromStdString(number);
    if (number.empty() || !connect()) {
        std::fprintf(stderr, "start-up: no Xvfb to start programs on\n");
        if (m_connection) xcb_disconnect(m_connection);
        m_connection = nullptr;
        Stop(m_server);
        m_server = -1;
    }
}

bool FirstPaintClock::connect() {
    m_connection = xcb_connect(m_display.constData(), nullptr);
    if (xcb_connection_has_error(m_connection)) return false;
    xcb_damage_query_version_reply_t* version = xcb_damage_query_version_reply(
        m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr);
    if (!version) return false;
    std::free(version);
    m_damageEvent = xcb_get_extension_data(m_connection, &xcb_damage_id)->first_event;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    // Windows are mapped on the root window, and drawing into them is damage to it.
    const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
    m_damage = xcb_generate_id(m_connection);
    xcb_damage_create(m_connection, m_damage, m_root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(m_connection);
    return true;
}

FirstPaintClock::~FirstPaintClock() {
    if (m_connection) xcb_disconnect(m_connection);
    Stop(m_server);
}

bool FirstPaintClock::readEvents(double seconds,
                                 const std::function<bool(const void* event)>& handle) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            const bool done = handle(event);
            std::free(event);
            if (done) return true;
        }
        if (xcb_connection_has_error(m_connection)) return false;
        const double left = seconds - SecondsSince(start);
        if (left <= 0) return false;
        pollfd ready{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        ::poll(&ready, 1, static_cast<int>(left * 1000) + 1);
    }
}

double FirstPaintClock::timeToFirstPaint(const QByteArray& program,
                                         const std::vector<QByteArray>& arguments) {
    if (!m_connection) return -1;
    std::vector<QByteArray> environment;
    for (char** var = environ; *var; ++var) {
        const QByteArray entry(*var);
        for (const char* replaced : {"DISPLAY=", "QT_QPA_PLATFORM=", "HOME=", "XDG_CONFIG_HOME=",
                                     "XDG_DATA_HOME=", "XDG_RUNTIME_DIR="}) {
            if (entry.startsWith(replaced)) goto skip;
        }
        environment.push_back(entry);
    skip:;
    }
    const QByteArray home = m_home.path().toUtf8();
    environment.push_back("DISPLAY=" + m_display);
    environment.push_back("QT_QPA_PLATFORM=xcb");
    environment.push_back("HOME=" + home);
    environment.push_back("XDG_CONFIG_HOME=" + home + "/config");
    environment.push_back("XDG_DATA_HOME=" + home + "/data");
    environment.push_back("XDG_RUNTIME_DIR=" + home);
    std::vector<QByteArray> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());

    // What was drawn before this program started is not its drawing.
    readEvents(0, [](const void*) { return false; });
    xcb_damage_subtract(m_connection, m_damage, XCB_NONE, XCB_NONE);
    xcb_flush(m_connection);

    const Clock::time_point start = Clock::now();
    const pid_t child = Spawn(argv, environment);
    QRegion drawn;
    xcb_window_t window = XCB_NONE;
    QRect frame;  // the window, in the root window's coordinates
    const auto handle = [&](const void* raw) {
        const auto* event = static_cast<const xcb_generic_event_t*>(raw);
        const int type = event->response_type & 0x7f;
        if (type == m_damageEvent + XCB_DAMAGE_NOTIFY) {
            const auto* damage = static_cast<const xcb_damage_notify_event_t*>(raw);
            drawn += QRect(damage->area.x, damage->area.y, damage->area.width, damage->area.height);
        } else if (type == XCB_MAP_NOTIFY && window == XCB_NONE) {
            const auto* map = static_cast<const xcb_map_notify_event_t*>(raw);
            if (map->override_redirect) return false;
            window = map->window;
            xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(
                m_connection, xcb_get_geometry(m_connection, window), nullptr);
            if (!geometry) return false;
            frame = QRect(geometry->x, geometry->y, geometry->width, geometry->height);
            std::free(geometry);
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            const auto* configure = static_cast<const xcb_configure_notify_event_t*>(raw);
            if (configure->window == window)
                frame = QRect(configure->x, configure->y, configure->width, configure->height);
        }
        return window != XCB_NONE && (QRegion(frame) - drawn).isEmpty();
    };
    const bool painted = readEvents(60, handle);
    const double seconds = SecondsSince(start);
    Stop(child);
    // The server closes the program's windows once it sees the program gone.
    if (window != XCB_NONE) {
        readEvents(10, [window](const void* raw) {
            const auto* event = static_cast<const xcb_generic_event_t*>(raw);
            return (event->response_type & 0x7f) == XCB_DESTROY_NOTIFY &&
                   static_cast<const xcb_destroy_notify_event_t*>(raw)->window == window;
        });
    }
    return painted ? seconds : -1;
}

}  // namespace quillet::bench
