#include "bench_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>

namespace quillet::bench {

BenchFolder::BenchFolder(int files) : m_path(m_dir.path().toUtf8()) {
    if (!m_dir.isValid()) throw std::runtime_error("no temporary folder");
    for (int i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "IMG_%06d.jpg", i + 1);
        m_names.emplace_back(name);
    }
    std::vector<QByteArray> order = m_names;
    std::shuffle(order.begin(), order.end(), std::mt19937(42));
    const int dir = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const QByteArray& name : order) {
        const int fd =
            ::openat(dir, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) throw std::runtime_error("cannot create a benchmark file");
        ::close(fd);
    }
    // Written out now, so that the writeback of 100,000 new files does not fall into a
    // measurement half a minute later.
    ::syncfs(dir);
    ::close(dir);
}

std::size_t ListFolderBaseline(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = ::fdopendir(fd);
    std::vector<std::pair<std::string, time_t>> entries;
    while (const dirent* found = ::readdir(dir)) {
        if (found->d_name[0] == '.') continue;
        struct stat st;
        if (::fstatat(fd, found->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            entries.emplace_back(found->d_name, st.st_mtime);
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end());
    return entries.size();
}

}  // namespace quillet::bench
