#include "platform/linux/linux_process.h"

#include <unistd.h>

#include <cstdio>

namespace quillet {

LinuxProcess::LinuxProcess(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (i > 1) m_commandLine.append(' ');
        m_commandLine.append(argv[i]);
    }
    if (argc > 0 && argv[0] != nullptr) m_programPath = argv[0];
}

QByteArray LinuxProcess::programFolder() {
    QByteArray path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), size_t(path.size()));
    // Without /proc the path the program was started by is the next best thing.
    path = (length > 0 && length < path.size()) ? path.left(length) : m_programPath;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArray(".");
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray LinuxProcess::commandLine() {
    return m_commandLine;
}

void LinuxProcess::endNow() {
    std::fflush(nullptr);
    ::_exit(0);
}

}  // namespace quillet
