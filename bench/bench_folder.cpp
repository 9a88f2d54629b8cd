#include "bench_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>

namespace quillet::bench {

BenchFolder::BenchFolder(int files, Numbering numbering) : m_path(m_dir.path().toUtf8()) {
    if (!m_dir.isValid()) throw std::runtime_error("no temporary folder");
    std::mt19937 random(42);
    std::vector<int> numbers(static_cast<std::size_t>(files));
    std::iota(numbers.begin(), numbers.end(), 1);
    if (numbering == Numbering::Shuffled) std::shuffle(numbers.begin(), numbers.end(), random);
    static const char* const cameras[] = {"DSC", "IMG_", "PXL_", "trip_"};
    // Six digits as a camera writes them, more when the folder needs them, so that name order
    // stays number order in the sorted folder.
    const int width = std::max(6, static_cast<int>(std::to_string(files).size()));
    for (const int number : numbers) {
        char name[32];
        const char* prefix = numbering == Numbering::Shuffled ? cameras[random() % 4] : "IMG_";
        std::snprintf(name, sizeof name, "%s%0*d.jpg", prefix, width, number);
        m_names.emplace_back(name);
    }
    std::vector<QByteArray> order = m_names;
    std::shuffle(order.begin(), order.end(), random);
    const int dir = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const time_t yearAgo = ::time(nullptr) - 365 * 24 * 3600;
    for (const QByteArray& name : order) {
        const int fd =
            ::openat(dir, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) throw std::runtime_error("cannot create a benchmark file");
        if (numbering == Numbering::Shuffled) {
            const timespec when{yearAgo + static_cast<time_t>(random() % (365 * 24 * 3600)), 0};
            const timespec times[2] = {when, when};
            ::futimens(fd, times);
        }
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
