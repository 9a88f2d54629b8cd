// The rename pass, the case-only pass, the attribute pass and a pass killed midway, each played
// by the window model on real media: file systems made and mounted by tests/media/check-media,
// which names them in QUILLET_MEDIA as "label:case:flags:files:path" entries separated by ";"
// (case: "ci" where the medium ignores letter case, "cs" where it does not; flags: which of the
// attributes R, H, A the medium keeps; files: how many the killed pass renames). Without that
// variable every test is skipped.
//
// Each pass is checked against what a never-replacing pass in list order must leave; the
// failure marks shown before executing must name exactly the rows the pass could not rename.
// A table of the counts is printed at the end.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <map>
#include <random>

#include "platform/linux/linux_file_system.h"
#include "preview/rename_marks.h"
#include "reliability/folder_snapshot.h"
#include "reliability/pass_model.h"
#include "support/child_process.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

struct Medium {
    QByteArray label;
    bool ignoresCase = false;
    QByteArray keeps;  // the attribute letters it stores, and N where it keeps write-bit notes
    int killFiles = 40;
    QByteArray root;
};

std::vector<Medium> MediaToCheck() {
    std::vector<Medium> media;
    for (const QByteArray& item : qgetenv("QUILLET_MEDIA").split(';')) {
        const QList<QByteArray> parts = item.split(':');
        if (parts.size() < 5) continue;
        media.push_back(
            {parts[0], parts[1] == "ci", parts[2], parts[3].toInt(), parts.mid(4).join(':')});
    }
    return media;
}

// What each case did on each medium: medium, case, counts, time.
std::vector<QStringList>& Rows() {
    static std::vector<QStringList> rows;
    return rows;
}

// New names by old name; a file without one stays unchecked.
using Renames = std::map<QByteArray, QByteArray>;

QByteArray Content(const QByteArray& name) {
    return "photo " + name;
}

// A folder of its own for one case on one medium: `work` inside it is the listed folder, so
// that anything that happens beside it shows too. The case's row of the table is timed from it.
class CaseFolder {
  public:
    explicit CaseFolder(const Medium& medium)
        : m_medium(QString::fromUtf8(medium.label)),
          m_root(QString::fromUtf8(medium.root)),
          m_work(m_root.makeFolder("work")) {
        m_timer.start();
    }
    void addRow(const QString& check, const QString& counts) const {
        Rows().push_back(
            {m_medium, check, counts,
             QString::number(m_timer.elapsed() / 1000.0, 'f', 1) + QStringLiteral(" s")});
    }
    QByteArray root() const { return m_root.path(); }
    const QByteArray& work() const { return m_work; }
    QByteArray pathOf(const QByteArray& name) const { return m_work + '/' + name; }
    void write(const QByteArray& name, const QByteArray& content) const {
        m_root.write("work/" + name, content);
    }
    void photos(const QList<QByteArray>& names) const {
        for (const QByteArray& name : names) write(name, Content(name));
    }
    Snapshot entries() const { return EntriesOf(TakeSnapshot(root()), "work"); }

  private:
    QString m_medium;
    TempFolder m_root;
    QByteArray m_work;
    QElapsedTimer m_timer;
};

// The window on the folder with the given new names, as the user leaves it before executing.
void SetUpPass(WindowHarness& harness, const QByteArray& folder, const Renames& renames) {
    harness.load(folder);
    Form1& f = harness.form();
    f.Option1[0].select();  // name order
    // Unchecking a row names every row afresh: the names come last.
    for (int i = 1; i <= f.LV.rowCount(); ++i) {
        if (!renames.count(f.LV.row(i).rawName)) f.LV.userSetChecked(i, false);
    }
    for (int i = 1; i <= f.LV.rowCount(); ++i) {
        const auto found = renames.find(f.LV.row(i).rawName);
        if (found != renames.end()) f.LV.setNewName(i, QString::fromUtf8(found->second));
    }
    RenameMarks(harness.window().platform().files).update(f);
}

struct PassCounts {
    int renamed = 0;
    int expected = 0;  // renames a never-replacing pass makes
    int kept = 0;      // checked rows that kept their names
    int lost = 0;      // files no longer found exactly once
    int replaced = 0;  // names that should still hold their file and hold another
    int stray = 0;     // names no never-replacing pass leaves
    int marked = 0;
    bool marksAgree = true;
};

void Count(const Snapshot& before, const Snapshot& expected, const Snapshot& after,
           PassCounts& counts) {
    QMap<QByteArray, int> seen;
    for (const auto& [name, entry] : after) ++seen[entry.identity()];
    for (const auto& [name, entry] : before) {
        if (entry.kind != SnapshotEntry::Kind::Folder && seen.value(entry.identity()) != 1)
            ++counts.lost;
        const auto stays = expected.find(name);
        const auto now = after.find(name);
        if (stays != expected.end() && stays->second == entry &&
            (now == after.end() || !(now->second == entry)))
            ++counts.replaced;
    }
    for (const auto& [name, entry] : after) {
        if (!expected.count(name)) ++counts.stray;
    }
}

// Plays the pass the execute button makes, checks the folder against the model and adds what
// it did to `counts`; returns how many files it renamed.
int PlayPass(const Medium& medium, const CaseFolder& folder, const Renames& renames,
             PassCounts& counts) {
    const Snapshot outsideBefore = WithoutEntriesOf(TakeSnapshot(folder.root()), "work");
    const Snapshot before = folder.entries();
    WindowHarness harness;
    SetUpPass(harness, folder.work(), renames);
    Form1& f = harness.form();
    QSet<QByteArray> marked;
    for (int i = 1; i <= f.LV.rowCount(); ++i) {
        if (f.LV.row(i).mark.problem != RenameProblem::None) marked.insert(f.LV.row(i).rawName);
    }
    const PassPrediction prediction = PredictRenamePass(f.LV, before, medium.ignoresCase);
    harness.execute();
    QSet<QByteArray> failed;
    for (const auto& failure : f.LV.lastPass().failures) failed.insert(failure.from);
    counts.marked += static_cast<int>(marked.size());
    counts.marksAgree = counts.marksAgree && marked == failed;
    counts.kept += static_cast<int>(failed.size());
    counts.expected += prediction.moved;
    counts.renamed += f.LV.lastPass().renamed;

    const Snapshot after = folder.entries();
    Count(before, prediction.entries, after, counts);
    EXPECT_EQ(DescribeDifference(prediction.entries, after).toStdString(), "");
    EXPECT_EQ(
        DescribeDifference(outsideBefore, WithoutEntriesOf(TakeSnapshot(folder.root()), "work"))
            .toStdString(),
        "")
        << "something changed beside the folder";
    EXPECT_TRUE(marked == failed) << marked.size() << " rows marked, " << failed.size()
                                  << " kept their names";
    return f.LV.lastPass().renamed;
}

QString N(int number) {
    return QString::number(number);
}

QString Cells(const PassCounts& c) {
    return QStringLiteral("%1 of %2 renamed, %3 kept (%4 marked%5), %6 lost, %7 replaced, %8 stray")
        .arg(N(c.renamed), N(c.expected), N(c.kept), N(c.marked),
             c.marksAgree ? QString() : QStringLiteral(", DISAGREE"), N(c.lost), N(c.replaced),
             N(c.stray));
}

class MediaCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        if (MediaToCheck().empty()) GTEST_SKIP() << "QUILLET_MEDIA names no medium";
        ::umask(022);
    }
};

// Files renamed along a chain (each into the name the one before gave up), two swapping names,
// and names held by files and folders the list does not show: a PNG, a folder named like a
// photo and, where case is ignored, a file whose name differs from the new one in case only.
TEST_F(MediaCheck, ChainSwapAndTakenNames) {
    for (const Medium& medium : MediaToCheck()) {
        SCOPED_TRACE(medium.label.constData());
        CaseFolder folder(medium);
        folder.photos({"a1.jpg", "a2.jpg", "a3.jpg", "s1.jpg", "s2.jpg", "t1.jpg", "t2.jpg",
                       "t3.jpg", "u.png", "U2.png"});
        ::mkdir(folder.pathOf("dir.jpg").constData(), 0755);
        folder.write("dir.jpg/inside.jpg", "inside");
        const Renames renames = {{"a1.jpg", "n.jpg"},   {"a2.jpg", "a1.jpg"}, {"a3.jpg", "a2.jpg"},
                                 {"s1.jpg", "s2.jpg"},  {"s2.jpg", "s1.jpg"}, {"t1.jpg", "u.png"},
                                 {"t2.jpg", "dir.jpg"}, {"t3.jpg", "u2.png"}};
        PassCounts counts;
        EXPECT_EQ(PlayPass(medium, folder, renames, counts), medium.ignoresCase ? 3 : 4);
        folder.addRow(QStringLiteral("chain, swap, taken"), Cells(counts));
    }
}

// IMG_0001.JPG to img_0001.jpg and back: the letters' case alone changes.
TEST_F(MediaCheck, CaseOnlyPass) {
    for (const Medium& medium : MediaToCheck()) {
        SCOPED_TRACE(medium.label.constData());
        CaseFolder folder(medium);
        Renames lower;
        Renames upper;
        for (int i = 1; i <= 10; ++i) {
            const QByteArray name = "IMG_" + QByteArray::number(i).rightJustified(4, '0') + ".JPG";
            folder.photos({name});
            lower[name] = name.toLower();
            upper[name.toLower()] = name;
        }
        PassCounts counts;
        EXPECT_EQ(PlayPass(medium, folder, lower, counts), 10);
        EXPECT_EQ(PlayPass(medium, folder, upper, counts), 10);
        folder.addRow(QStringLiteral("case only, there and back"), Cells(counts));
    }
}

mode_t ModeOf(const QByteArray& path) {
    struct stat st;
    return ::stat(path.constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// What "chmod +w" gives a file of mode `mode` under the umask 022.
mode_t ChmodWritable(mode_t mode) {
    return mode | (((mode & 0444) >> 1) & ~mode_t(022)) | S_IWUSR;
}

// Read-only, Hidden and Archive set on three photos by the attribute pass, then cleared. Each
// is kept where the medium can keep it and refused quietly where not; clearing read-only gives
// back the write bits each file had (where the medium keeps the note of them; else what
// "chmod +w" gives), and the folder's list of hidden names keeps its other lines.
TEST_F(MediaCheck, AttributePass) {
    const std::pair<std::uint32_t, char> kLetters[] = {
        {attr::ReadOnly, 'R'}, {attr::Hidden, 'H'}, {attr::Archive, 'A'}};
    const auto flagsOf = [](const CaseFolder& in, const QByteArray& name) {
        return LinuxFileSystem().attributes(in.pathOf(name)).value_or(0);
    };
    const auto attributePass = [](const CaseFolder& in, bool on) {
        WindowHarness harness;
        harness.load(in.work());
        harness.form().Check6.setValue(1);
        for (CheckBox& box : harness.form().Check7) box.setValue(on ? 1 : 0);
        harness.execute();
    };
    for (const Medium& medium : MediaToCheck()) {
        SCOPED_TRACE(medium.label.constData());
        CaseFolder folder(medium);
        const QList<QByteArray> photos = {"a.jpg", "b.jpg", "c.jpg"};
        folder.photos(photos);
        folder.write(".hidden", "other.jpg\n");
        const mode_t asked[] = {0664, 0644, 0600};
        std::map<QByteArray, mode_t> modes;
        QStringList had;
        for (int i = 0; i < photos.size(); ++i) {
            ::chmod(folder.pathOf(photos[i]).constData(), asked[i]);  // refused by some media
            modes[photos[i]] = ModeOf(folder.pathOf(photos[i]));
            had << QStringLiteral("%1").arg(modes[photos[i]], 4, 8, QLatin1Char('0'));
        }
        const Snapshot before = folder.entries();

        // Hidden in a folder that has no list of hidden names yet: the list is made.
        CaseFolder fresh(medium);
        fresh.photos({"d.jpg"});
        attributePass(fresh, true);
        const bool freshHidden = flagsOf(fresh, "d.jpg") & attr::Hidden;
        attributePass(fresh, false);
        EXPECT_EQ(freshHidden, medium.keeps.contains('H'));
        EXPECT_EQ(flagsOf(fresh, "d.jpg") & attr::Hidden, 0u);

        attributePass(folder, true);
        QByteArray kept;
        QByteArray refused;
        for (const auto& [flag, letter] : kLetters) {
            int set = 0;
            for (const QByteArray& name : photos) set += (flagsOf(folder, name) & flag) ? 1 : 0;
            EXPECT_TRUE(set == 0 || set == photos.size()) << letter << " on " << set << " files";
            (set == photos.size() ? kept : refused) += letter;
        }
        EXPECT_EQ(kept, QByteArray(medium.keeps).replace("N", ""));

        attributePass(folder, false);
        int exact = 0;
        for (const QByteArray& name : photos) {
            EXPECT_EQ(flagsOf(folder, name) & (attr::ReadOnly | attr::Hidden | attr::Archive), 0u)
                << name.constData();
            const bool noted = medium.keeps.contains('N') || !kept.contains('R');
            const mode_t expected = noted ? modes[name] : ChmodWritable(modes[name] & ~0222);
            EXPECT_EQ(ModeOf(folder.pathOf(name)), expected) << name.constData();
            if (ModeOf(folder.pathOf(name)) == modes[name]) ++exact;
        }
        EXPECT_EQ(DescribeDifference(before, folder.entries()).toStdString(), "");
        folder.addRow(
            QStringLiteral("attributes set and cleared"),
            QStringLiteral("kept: %1; refused: %2; modes back exactly: %3 of %4 (0664 0644 "
                           "0600 asked, %5 had); hidden with a new list: %6")
                .arg(kept.isEmpty() ? QStringLiteral("none") : QString::fromUtf8(kept),
                     QString::fromUtf8(refused), N(exact), N(photos.size()),
                     had.join(QLatin1Char(' ')),
                     freshHidden ? QStringLiteral("yes") : QStringLiteral("no")));
    }
}

// The pass in a child of its own, as the program runs it; returns the child once it has listed
// the folder and is about to rename, or -1. The child's own temporary folders go under `scratch`.
pid_t StartPass(const QByteArray& folder, const Renames& renames, const QByteArray& scratch) {
    return StartChildOnceReady([&](const std::function<void()>& ready) {
        qputenv("TMPDIR", scratch);
        WindowHarness harness;
        SetUpPass(harness, folder, renames);
        ready();
        harness.execute();
    });
}

// How many of the renames the folder shows done.
int RenamesSeen(const QByteArray& folder, const Renames& renames) {
    int seen = 0;
    for (const QByteArray& name : NamesIn(folder)) {
        const auto old = renames.find(name);
        if (old == renames.end() || old->second != name) seen += renames.count(name) ? 0 : 1;
    }
    return seen;
}

// A pass killed (SIGKILL) at a random moment, then a new start, which lists the folder and puts
// right what the pass left, then the same pass again: nothing lost, replaced or left under a
// third name, and in the end every file under its new name. Plain renames, and renames that
// change the letters' case alone.
TEST_F(MediaCheck, KillMidPassThenStart) {
    std::mt19937 random(20261209);
    for (const Medium& medium : MediaToCheck()) {
        SCOPED_TRACE(medium.label.constData());
        for (const bool caseOnly : {false, true}) {
            CaseFolder folder(medium);
            const int files = medium.killFiles;
            Renames renames;
            QList<QByteArray> names;
            for (int i = 0; i < files; ++i) {
                const QByteArray number = QByteArray::number(i).rightJustified(4, '0');
                names << "p" + number + ".jpg";
                renames[names.last()] = caseOnly ? "P" + number + ".JPG" : "q" + number + ".jpg";
            }
            folder.photos(names);
            const Snapshot before = folder.entries();
            TempFolder scratch;
            // Killed once the folder shows a random number of the renames done, so that the
            // kill falls inside the pass however fast the medium is.
            const int target =
                std::uniform_int_distribution<int>(std::max(1, files / 10), files * 9 / 10)(random);
            const pid_t child = StartPass(folder.work(), renames, scratch.path());
            ASSERT_GT(child, 0);
            int status = 0;
            int seenAtKill = -1;
            // A file renamed away is seen by its new name alone; where only the case changes
            // and case is ignored, the listing alone tells.
            const QByteArray landmark = folder.pathOf(renames[names[target - 1]]);
            while (::waitpid(child, &status, WNOHANG) == 0) {
                if (caseOnly ? RenamesSeen(folder.work(), renames) >= target
                             : ::access(landmark.constData(), F_OK) == 0) {
                    ::kill(child, SIGKILL);
                    ::waitpid(child, &status, 0);
                    seenAtKill = RenamesSeen(folder.work(), renames);
                    break;
                }
            }
            const bool killed = WIFSIGNALED(status);

            // The next start lists the folder.
            WindowHarness().load(folder.work());
            const Snapshot started = folder.entries();
            int lost = 0;
            int stray = 0;
            int renamed = 0;
            QMap<QByteArray, int> seen;
            for (const auto& [name, entry] : started) ++seen[entry.data];
            for (const QByteArray& name : names) lost += seen.value(Content(name)) == 1 ? 0 : 1;
            for (const auto& [name, entry] : started) {
                const QByteArray old = name.toLower().replace('q', 'p');
                const bool own =
                    entry.data == Content(old) && (name == old || name == renames[old]);
                stray += own ? 0 : 1;
                renamed += own && name != old ? 1 : 0;
            }
            EXPECT_TRUE(killed) << "the pass ended before the kill";
            EXPECT_EQ(lost, 0);
            EXPECT_EQ(stray, 0);

            Renames rest;
            Snapshot expected;
            for (const QByteArray& name : names) {
                if (started.count(name)) rest[name] = renames[name];
                expected[renames[name]] = before.at(name);
            }
            PassCounts again;
            PlayPass(medium, folder, rest, again);
            EXPECT_EQ(DescribeDifference(expected, folder.entries()).toStdString(), "");
            EXPECT_EQ(renamed + again.renamed, files);
            folder.addRow(
                QStringLiteral("kill -9, start, pass again") +
                    (caseOnly ? QStringLiteral(" (case only)") : QString()),
                QStringLiteral("%1 with %2 of %3 renames done; after a start %4 renamed, %5 lost, "
                               "%6 stray; again %7 renamed, %8 replaced, %9 stray: %10 of %3 done")
                    .arg(killed ? QStringLiteral("killed") : QStringLiteral("NOT killed"),
                         N(seenAtKill), N(files), N(renamed), N(lost), N(stray), N(again.renamed),
                         N(again.replaced), N(again.stray), N(renamed + again.renamed)));
        }
    }
}

// Prints the table once every case has run: a medium's cases together, columns aligned.
class PrintTable : public ::testing::Environment {
  public:
    void TearDown() override {
        if (Rows().empty()) return;
        QStringList media;
        for (const Medium& medium : MediaToCheck()) media << QString::fromUtf8(medium.label);
        std::vector<QStringList> rows = Rows();
        std::stable_sort(rows.begin(), rows.end(), [&media](const auto& a, const auto& b) {
            return media.indexOf(a[0]) < media.indexOf(b[0]);
        });
        rows.insert(rows.begin(), {QStringLiteral("medium"), QStringLiteral("case"),
                                   QStringLiteral("counts"), QStringLiteral("time")});
        qsizetype width[3] = {};
        for (const QStringList& row : rows) {
            for (int i = 0; i < 3; ++i) width[i] = std::max(width[i], row[i].size());
        }
        QString text;
        for (const QStringList& row : rows) {
            for (int i = 0; i < 3; ++i)
                text += row[i].leftJustified(width[i]) + QStringLiteral(" | ");
            text += row[3] + QLatin1Char('\n');
        }
        std::printf("\n%s\n", text.toUtf8().constData());
        std::fflush(stdout);
    }
};

const auto* const kPrintTable = ::testing::AddGlobalTestEnvironment(new PrintTable);

}  // namespace
}  // namespace quillet::test
