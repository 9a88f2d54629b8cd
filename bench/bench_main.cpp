// Measures the program's hot paths on folders of empty files and prints each against the least
// the machine can do for the same job, measured in turns with it in the same run (medians):
//   ratio rebuild/baseline 100000: 1.32
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench_folder.h"
#include "bench_window.h"
#include "first_paint_clock.h"
#include "timing.h"
#include "ui/form1.h"

namespace quillet::bench {
namespace {

int RenameNoReplace(int dir, const char* from, const char* to) {
    return static_cast<int>(::syscall(SYS_renameat2, dir, from, dir, to, RENAME_NOREPLACE));
}

// One folder per size and numbering serves every job: making 100,000 files takes longer than
// measuring them.
std::map<std::pair<std::int64_t, Numbering>, std::unique_ptr<BenchFolder>>& Folders() {
    static std::map<std::pair<std::int64_t, Numbering>, std::unique_ptr<BenchFolder>> all;
    return all;
}

const BenchFolder& FolderOf(const benchmark::State& state,
                            Numbering numbering = Numbering::InNameOrder) {
    auto& folder = Folders()[{state.range(0), numbering}];
    if (!folder)
        folder = std::make_unique<BenchFolder>(static_cast<int>(state.range(0)), numbering);
    return *folder;
}

void RebuildOn(benchmark::State& state, const BenchFolder& folder) {
    BenchWindow window;
    window.startOn(folder.path());
    TakeTurns(
        state, [] {}, [&] { window.rebuild(); },
        [&] { benchmark::DoNotOptimize(ListFolderBaseline(folder.path())); });
}

void Rebuild(benchmark::State& state) {
    RebuildOn(state, FolderOf(state));
}

// The list's number sort has all its work to do here, and every row its own time text.
void RebuildShuffled(benchmark::State& state) {
    RebuildOn(state, FolderOf(state, Numbering::Shuffled));
}

// The list's number key of a benchmark file's name: its number padded to 12 digits, then the
// name.
std::string NumberKeyOf(const QByteArray& name) {
    const qsizetype dot = name.lastIndexOf('.');
    qsizetype first = dot;
    while (first > 0 && name[first - 1] >= '0' && name[first - 1] <= '9') --first;
    const std::string digits = name.mid(first, dot - first).toStdString();
    return std::string(12 - digits.size(), '0') + digits + name.toStdString();
}

// A click on the sort options, name order and number order by turns, on a folder whose numbers
// do not follow its names: the rows are put in the other order and numbered anew. The baseline
// sorts the same texts as plain bytes, from the same order: the names from number order, or the
// number keys from name order.
void ReSortShuffled(benchmark::State& state) {
    const BenchFolder& folder = FolderOf(state, Numbering::Shuffled);
    BenchWindow window;
    window.startOn(folder.path());  // in number order, the program's first choice
    std::vector<std::pair<std::string, std::string>> rows;  // name, number key
    for (const QByteArray& name : folder.names())
        rows.emplace_back(name.toStdString(), NumberKeyOf(name));
    std::vector<std::string> namesInNumberOrder;
    std::vector<std::string> keysInNameOrder;
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.second < b.second; });
    for (const auto& row : rows) namesInNumberOrder.push_back(row.first);
    std::sort(rows.begin(), rows.end());
    for (const auto& row : rows) keysInNameOrder.push_back(row.second);

    bool numberOrder = true;
    bool baselineToNumberOrder = false;
    std::vector<std::string> sorting;
    TakeTurns(
        state, [&] { sorting = baselineToNumberOrder ? keysInNameOrder : namesInNumberOrder; },
        [&] { window.clickSortOption((numberOrder = !numberOrder) ? 1 : 0); },
        [&] {
            std::sort(sorting.begin(), sorting.end());
            benchmark::DoNotOptimize(sorting.data());
            baselineToNumberOrder = !baselineToNumberOrder;
        });
}

// Every keystroke types a prefix other than the one before, so that every row gets a new name.
class AlternatingPrefix {
  public:
    QLatin1String operator()() { return QLatin1String((m_flip = !m_flip) ? "trip_" : "tour_"); }

  private:
    bool m_flip = false;
};

// The same folder in a shown window and in one that is not shown, for the jobs whose baseline
// is the same event without the view.
struct ShownAndHidden {
    explicit ShownAndHidden(const QByteArray& folder) {
        shown.startOn(folder);
        hidden.startOn(folder);
        shown.show();
    }
    BenchWindow shown;
    BenchWindow hidden;
};

// The baseline makes the same new names, as the texts the list holds (UTF-16), into a reserved
// vector.
class NewNamesBaseline {
  public:
    explicit NewNamesBaseline(std::size_t rows)
        : m_rows(rows), m_digits(std::to_string(rows).size()) {
        m_names.reserve(rows);
    }

    void operator()() {
        m_names.clear();
        const QLatin1String prefix = m_prefix();
        for (std::size_t i = 0; i < m_rows; ++i) {
            QString name(prefix.size() + static_cast<qsizetype>(m_digits) + 4, Qt::Uninitialized);
            QChar* out = name.data();
            for (const char c : prefix) *out++ = QLatin1Char(c);
            QChar* digit = out + m_digits;
            for (std::size_t number = i + 1; digit != out; number /= 10)
                *--digit = QLatin1Char(static_cast<char>('0' + number % 10));
            out += m_digits;
            for (const char c : {'.', 'j', 'p', 'g'}) *out++ = QLatin1Char(c);
            m_names.push_back(std::move(name));
        }
        benchmark::DoNotOptimize(m_names.data());
    }

  private:
    std::size_t m_rows;
    std::size_t m_digits;  // the program pads numbers to the digits of the row count
    std::vector<QString> m_names;
    AlternatingPrefix m_prefix;
};

void Keystroke(benchmark::State& state) {
    const BenchFolder& folder = FolderOf(state);
    BenchWindow window;
    window.startOn(folder.path());
    AlternatingPrefix prefix;
    NewNamesBaseline baseline(static_cast<std::size_t>(state.range(0)));
    TakeTurns(
        state, [] {}, [&] { window.typePrefix(prefix()); }, [&] { baseline(); });
}

// The same keystroke in the shown window, until the list is drawn again with the new names,
// against the same keystroke in a window that is not shown: what is left is the view's part.
void KeystrokeShown(benchmark::State& state) {
    ShownAndHidden windows(FolderOf(state).path());
    AlternatingPrefix shownPrefix;
    AlternatingPrefix hiddenPrefix;
    TakeTurns(
        state, [] {}, [&] { windows.shown.typePrefixShown(shownPrefix()); },
        [&] { windows.hidden.typePrefix(hiddenPrefix()); });
}

// The baseline renames the same files to the same names as the pass, those the program gives
// them for the prefix "x_", with the kernel's no-replace rename and nothing else. Before either,
// the names are put back, the list rebuilt and the prefix typed. Putting them back also proves
// that the turn before renamed every file: a pass that renamed none would take no time at all.
void RenamePass(benchmark::State& state) {
    const BenchFolder& folder = FolderOf(state);
    BenchWindow window;
    window.startOn(folder.path());
    window.typePrefix(QStringLiteral("x_"));
    const std::vector<std::pair<QByteArray, QByteArray>> renames = window.plannedRenames();
    // The number of files not found under the names they are moved from.
    const auto renameAll = [&](bool back) {
        const int dir = ::open(folder.path().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int missing = 0;
        for (const auto& [from, to] : renames) {
            const QByteArray& source = back ? to : from;
            if (RenameNoReplace(dir, source.constData(), (back ? from : to).constData()) != 0)
                ++missing;
        }
        ::close(dir);
        return missing;
    };
    bool renamedBefore = false;
    TakeTurns(
        state,
        [&] {
            if (renameAll(true) != 0 && renamedBefore)
                state.SkipWithError("a turn left files under their old names");
            renamedBefore = true;
            window.rebuild();
            window.typePrefix(QStringLiteral("x_"));
        },
        [&] { window.execute(); }, [&] { benchmark::DoNotOptimize(renameAll(false)); });
    renameAll(true);
}

// A click on a check box in the middle of the list, as the user makes it with the mouse, until
// the list is drawn again: the clicked row is selected and the program recomputes every new
// name. Two rows are clicked by turns, so that every click also moves the selection. The
// baseline is the same click in a window that is not shown.
void CheckBoxClick(benchmark::State& state) {
    ShownAndHidden windows(FolderOf(state).path());
    const int middle = static_cast<int>(state.range(0) / 2);
    windows.shown.scrollTo(middle);
    int shownClicks = 0;
    int hiddenClicks = 0;
    TakeTurns(
        state, [] {}, [&] { windows.shown.clickCheckBox(middle + shownClicks++ % 2); },
        [&] { windows.hidden.clickCheckBox(middle + hiddenClicks++ % 2); });
}

// What the program's window shows at its start, and the face it shows it in, read in a process
// of its own, so that the jobs after the start-up find this one as they did without it.
std::pair<QByteArray, QByteArray> FaceAndTextsOnScreen(const QByteArray& folder) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--texts-on-screen=") + QFile::decodeName(folder)});
    if (!child.waitForFinished(60000) || child.exitCode() != 0) return {};
    const QByteArray printed = child.readAllStandardOutput();
    const qsizetype newline = printed.indexOf('\n');
    if (newline < 0) return {};
    return {printed.left(newline), printed.mid(newline + 1)};
}

int PrintTextsOnScreen(const QByteArray& folder) {
    BenchWindow window;
    window.startOn(folder);
    window.show();
    const QByteArray printed =
        window.font().toString().toUtf8() + '\n' + window.textsOnScreen().toUtf8();
    return std::fwrite(printed.constData(), 1, static_cast<size_t>(printed.size()), stdout) ==
                   static_cast<size_t>(printed.size())
               ? 0
               : 1;
}

// The program from its start until its window is on screen and drawn, on a folder of 1,000
// photos, on the same X server and by turns against two Qt programs that show a main window
// with one label: one with a word in Qt's own face, one with every text the program's window
// shows at its start, in the program's face.
void StartUp(benchmark::State& state) {
    const BenchFolder& folder = FolderOf(state);
    const auto [font, texts] = FaceAndTextsOnScreen(folder.path());
    if (texts.isEmpty()) {
        state.SkipWithError("the window's texts could not be read");
        return;
    }
    FirstPaintClock clock;
    const auto timed = [&state](double seconds) {
        if (seconds < 0) state.SkipWithError("no window was drawn");
        return seconds;
    };
    TakeTurnsTimed(state,
                   [&] { return timed(clock.timeToFirstPaint(QUILLET_PROGRAM, {folder.path()})); },
                   {[&] { return timed(clock.timeToFirstPaint(QUILLET_MINIMAL_WINDOW, {})); },
                    [&] {
                        return timed(clock.timeToFirstPaint(QUILLET_MINIMAL_WINDOW, {font, texts}));
                    }});
}

// One page down the list, until it is drawn.
void ScrollPage(benchmark::State& state) {
    BenchWindow window;
    window.startOn(FolderOf(state).path());
    window.show();
    TimeEach(state, [&] { window.scrollOnePage(); });
}

// Collects the median times of every job and its baseline, so that ratios can be printed at
// the end, keyed by job name and size.
class CollectingReporter : public benchmark::ConsoleReporter {
  public:
    struct Times {
        double job = 0;
        double baseline = 0;   // 0 for a job measured on its own
        double baseline2 = 0;  // a second baseline, where the job has one
        double jobCpu = 0;
        double baselineCpu = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const auto counter = [&run](const char* name) {
                const auto found = run.counters.find(name);
                return found == run.counters.end() ? 0.0 : found->second.value;
            };
            if (run.counters.find("job") == run.counters.end()) continue;
            // "rebuild/100000/manual_time" -> "rebuild/100000"
            const std::string name = run.benchmark_name();
            times[name.substr(0, name.find('/', name.find('/') + 1))] = {
                counter("job"), counter("baseline"), counter("baseline2"), counter("job_cpu"),
                counter("baseline_cpu")};
        }
    }
    std::map<std::string, Times> times;
};

// The peak of this process's private memory, in KiB: the peak of all it holds in memory,
// less the pages of the program's and the libraries' files it has read by now. Those pages
// are shared with every other process and come in as code runs for the first time, whatever
// the number of rows. getrusage's peak would not do either: a child started through popen
// carries its parent's peak over the exec.
long PeakPrivateKiB() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) return -1;
    long peak = -1;
    long files = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        std::sscanf(line, "VmHWM: %ld kB", &peak);
        std::sscanf(line, "RssFile: %ld kB", &files);
    }
    std::fclose(status);
    return peak < 0 || files < 0 ? -1 : peak - files;
}

// Run in a process of its own, so that the peak belongs to this one list alone. Starting in
// the listed folder itself, as a viewer showing it may do, is the costliest case and the one
// measured.
int MeasureMemory(int rows) {
    const BenchFolder folder(rows);
    if (::chdir(folder.path().constData()) != 0) return 1;
    BenchWindow window;
    const long before = PeakPrivateKiB();
    window.startOn(folder.path());
    window.typePrefix(QStringLiteral("trip_"));
    const long after = PeakPrivateKiB();
    std::printf("%.1f\n", (after - before) * 1024.0 / rows);
    return 0;
}

double MemoryPerRow(int rows) {
    // The shell that runs the command has a /proc/self of its own: name this program's file.
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return -1;
    self[length] = '\0';
    const std::string command = std::string("'") + self + "' --memory=" + std::to_string(rows);
    FILE* child = ::popen(command.c_str(), "r");
    if (child == nullptr) return -1;
    double bytes = -1;
    if (std::fscanf(child, "%lf", &bytes) != 1) bytes = -1;
    ::pclose(child);
    return bytes;
}

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
    using namespace quillet::bench;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::vector<int64_t> sizes = {1000, 10000, 100000};
    std::vector<char*> passOn;
    for (int i = 0; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--texts-on-screen=", 0) == 0) {
            QApplication app(argc, argv);
            return PrintTextsOnScreen(QByteArray::fromStdString(argument.substr(18)));
        }
        if (argument.rfind("--memory=", 0) == 0) {
            QApplication app(argc, argv);
            return MeasureMemory(std::stoi(argument.substr(9)));
        }
        if (argument.rfind("--sizes=", 0) == 0) {
            sizes.clear();
            std::string list = argument.substr(8);
            for (std::size_t at = 0; at != std::string::npos;) {
                const std::size_t comma = list.find(',', at);
                sizes.push_back(std::stoll(list.substr(at, comma - at)));
                at = comma == std::string::npos ? comma : comma + 1;
            }
            continue;
        }
        passOn.push_back(argv[i]);
    }
    int passCount = static_cast<int>(passOn.size());
    QApplication app(argc, argv);

    struct Job {
        const char* name;
        void (*function)(benchmark::State&);
        const char* baseline;             // what the ratio line calls the baseline
        const char* baseline2 = nullptr;  // and the second one, where there is one
    };
    const Job jobs[] = {{"rebuild", Rebuild, "baseline"},
                        {"rebuild shuffled", RebuildShuffled, "baseline"},
                        {"re-sort shuffled", ReSortShuffled, "baseline"},
                        {"keystroke", Keystroke, "baseline"},
                        {"keystroke shown", KeystrokeShown, "keystroke"},
                        {"rename", RenamePass, "baseline"},
                        {"check-box click", CheckBoxClick, "hidden click"},
                        {"scroll page", ScrollPage, nullptr}};
    const Job startUp{"start-up", StartUp, "minimal window", "minimal Japanese window"};
    // Every job at every size, in the order they run and are printed.
    std::vector<std::pair<const Job*, int64_t>> runs;
    // Start-up is measured on 1,000 photos whatever the sizes, first, before the big folders
    // fill the page cache.
    runs.emplace_back(&startUp, 1000);
    for (const int64_t size : sizes) {
        for (const Job& job : jobs) runs.emplace_back(&job, size);
    }
    for (const auto& [job, size] : runs) {
        auto* registered = benchmark::RegisterBenchmark(job->name, job->function)
                               ->Arg(size)
                               ->Unit(benchmark::kMillisecond)
                               ->UseManualTime();
        // A rename pass over 100,000 files takes seconds, and so does putting them back.
        if (std::string(job->name) == "rename")
            registered->Iterations(size >= 1000000 ? 3 : size >= 100000 ? 9 : 15);
        // A start costs a tenth of a second, and a few turns say little.
        if (job == &startUp) registered->Iterations(15);
    }
    benchmark::Initialize(&passCount, passOn.data());
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // The memory child makes a folder of its own: the shared ones go first, so that a run at a
    // million files never holds two million of them.
    Folders().clear();
    const auto timesOf = [&reporter](const char* job,
                                     int64_t size) -> const CollectingReporter::Times* {
        const auto found = reporter.times.find(job + ("/" + std::to_string(size)));
        return found == reporter.times.end() ? nullptr : &found->second;
    };
    std::printf("\n");
    for (const auto& [job, size] : runs) {
        const auto* times = timesOf(job->name, size);
        if (times == nullptr || times->baseline <= 0) continue;
        std::printf("ratio %s/%s %lld: %.2f\n", job->name, job->baseline,
                    static_cast<long long>(size), times->job / times->baseline);
        if (job->baseline2 != nullptr && times->baseline2 > 0)
            std::printf("ratio %s/%s %lld: %.2f\n", job->name, job->baseline2,
                        static_cast<long long>(size), times->job / times->baseline2);
    }
    // Processor time leaves out waiting for a core: on a loaded machine it tells more than the
    // wall clock, though the targets are set on the wall clock.
    for (const auto& [job, size] : runs) {
        const auto* times = timesOf(job->name, size);
        if (times == nullptr || times->baselineCpu <= 0) continue;
        std::printf("processor-time ratio %s/%s %lld: %.2f\n", job->name, job->baseline,
                    static_cast<long long>(size), times->jobCpu / times->baselineCpu);
    }
    // Each job's median and its cost per row, so that growth with the folder's size shows.
    for (const auto& [job, size] : runs) {
        const auto* times = timesOf(job->name, size);
        if (times == nullptr) continue;
        std::printf("%s %lld rows: %.2f ms, %.3f us a row\n", job->name,
                    static_cast<long long>(size), times->job * 1000,
                    times->job * 1e6 / static_cast<double>(size));
    }
    for (const int64_t size : sizes) {
        std::printf("memory per row %lld: %.0f bytes\n", static_cast<long long>(size),
                    MemoryPerRow(static_cast<int>(size)));
    }
    benchmark::Shutdown();
    return 0;
}
