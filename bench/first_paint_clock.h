#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QTemporaryDir>
#include <functional>
#include <vector>

struct xcb_connection_t;

namespace quillet::bench {

// Times programs from their start until their first window is on screen and drawn, on an X
// server of its own (Xvfb, no window manager), so that nothing else draws there meanwhile.
// The window counts as drawn once every pixel of it has been drawn at least once, as the X
// server's Damage extension reports the drawing; the program is then ended.
class FirstPaintClock {
  public:
    FirstPaintClock();
    ~FirstPaintClock();
    FirstPaintClock(const FirstPaintClock&) = delete;
    FirstPaintClock& operator=(const FirstPaintClock&) = delete;

    // Seconds from starting `program` with `arguments` until its first window is drawn; a
    // negative value if the server is not there or no window was drawn within a minute.
    double timeToFirstPaint(const QByteArray& program, const std::vector<QByteArray>& arguments);

  private:
    bool connect();  // to m_display
    // Hands each event the server sends to `handle` until it returns true (then true) or
    // `seconds` have passed (then false).
    bool readEvents(double seconds, const std::function<bool(const void* event)>& handle);

    QTemporaryDir m_home;  // the started programs' home, settings and runtime folders
    pid_t m_server = -1;
    QByteArray m_display;
    xcb_connection_t* m_connection = nullptr;
    unsigned m_root = 0;
    unsigned m_damage = 0;
    int m_damageEvent = -1;
};

}  // namespace quillet::bench
