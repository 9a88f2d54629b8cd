#include "rename/rename_marks.h"

#include <cerrno>

#include "rename/rename_pass.h"
#include "rename/rename_preview.h"

namespace quillet {

namespace {
constexpr int kFileCountPanel = 2;
}

RenameMarks::RenameMarks(FileSystem& files) : m_files(files) {}

void RenameMarks::learnFolder(const Form1& form) {
    const ListView& list = form.LV;
    if (m_listing == list.listing() && m_folder == form.File1.path()) return;
    m_listing = list.listing();
    m_folder = form.File1.path();
    m_slots.clear();
    m_listed.clear();
    m_onDisk.clear();
    const auto names = m_files.entryNames(m_folder);
    m_folderNamesKnown = names.has_value();
    const size_t expected = (names ? names->size() : 0) + static_cast<size_t>(list.rowCount());
    m_slots.reserve(static_cast<qsizetype>(expected));
    m_listed.reserve(expected);
    if (names) {
        for (const QByteArray& name : *names) {
            m_slots.insert(name, static_cast<int>(m_listed.size()));
            m_listed.push_back(false);
        }
    }
    for (int i = 1; i <= list.rowCount(); ++i) {
        const QByteArray& name = list.row(i).rawName;
        const auto found = m_slots.constFind(name);
        if (found != m_slots.constEnd()) {
            m_listed[static_cast<size_t>(found.value())] = true;
        } else {
            m_slots.insert(name, static_cast<int>(m_listed.size()));
            m_listed.push_back(true);
        }
    }
}

bool RenameMarks::onDisk(const QByteArray& name) {
    const auto known = m_onDisk.constFind(name);
    if (known != m_onDisk.constEnd()) return known.value();
    const QByteArray base = m_folder.endsWith('/') ? m_folder : m_folder + '/';
    const bool found = m_files.attributes(base + name).has_value();
    m_onDisk.insert(name, found);
    return found;
}

int RenameMarks::attempt(int row, const QByteArray& from, const QByteArray& to) {
    const auto slot = m_slots.constFind(to);
    if (slot != m_slots.constEnd()) {
        int& holder = m_holder[static_cast<size_t>(slot.value())];
        if (holder != kVacated) {
            if (holder > 0) {
                m_refusedBy = {RenameProblem::TakenByEarlierRename, holder};
            } else {
                m_refusedBy = {m_listed[static_cast<size_t>(slot.value())]
                                   ? RenameProblem::TakenByListedFile
                                   : RenameProblem::TakenInFolder,
                               0};
            }
            return EEXIST;
        }
        holder = row;
    } else {
        if (!m_folderNamesKnown && onDisk(to)) {
            m_refusedBy = {RenameProblem::TakenInFolder, 0};
            return EEXIST;
        }
        int& holder = m_fresh[to];
        if (holder != 0) {
            m_refusedBy = {RenameProblem::TakenByEarlierRename, holder};
            return EEXIST;
        }
        holder = row;
    }
    // Every listed name has its slot.
    m_holder[static_cast<size_t>(m_slots.value(from))] = kVacated;
    return 0;
}

void RenameMarks::update(Form1& form) {
    learnFolder(form);
    ListView& list = form.LV;
    m_holder.assign(m_listed.size(), kOriginal);
    m_fresh.clear();
    m_fresh.reserve(list.rowCount());
    int failing = 0;
    PlayRenamePass(
        list,
        [this](int row, const QByteArray& from, const QByteArray& to) {
            return attempt(row, from, to);
        },
        [&](int row, const QByteArray&, const PassStep& step) {
            RenameMark mark;
            if (step.kind == PassStep::Kind::Refused) mark.problem = step.refusal;
            if (step.kind == PassStep::Kind::Failed) mark = m_refusedBy;
            if (mark.problem != RenameProblem::None) ++failing;
            list.setMark(row, mark);
        });
    form.SBar.setPanelToolTip(kFileCountPanel, KeptNamesText(failing));
}

void RenameMarks::clear(Form1& form) {
    ListView& list = form.LV;
    for (int i = 1; i <= list.rowCount(); ++i) list.setMark(i, {});
    form.SBar.setPanelToolTip(kFileCountPanel, QString());
}

}  // namespace quillet
