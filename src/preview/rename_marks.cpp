#include "preview/rename_marks.h"

#include <cerrno>

#include "preview/rename_preview.h"
#include "rename/rename_pass.h"
#include "util/file_name_text.h"

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
    m_onDisk.clear();
    // The listing read the whole folder and kept the names it did not list.
    const OpenFolder* folder = form.File1.listedFolder();
    const UnlistedNames* names = folder ? folder->unlistedNames() : nullptr;
    m_folderNamesKnown = names != nullptr;
    const int rows = list.rowCount();
    // Row ids count from 0 in the order the rows were added, whatever the sort did since.
    std::vector<const QByteArray*> byId(static_cast<std::size_t>(rows));
    for (int i = 1; i <= rows; ++i) byId[list.row(i).id] = &list.row(i).rawName;
    m_foldCase = folder && folder->ignoresCase();
    for (;;) {
        m_slots.reset((names ? names->count() : 0) + static_cast<std::size_t>(rows));
        bool apart = true;
        for (const QByteArray* name : byId) apart = m_slots.add(key(*name)).second && apart;
        // Two listed names that fold alike show a folder that tells them apart after all
        // (it ignores the case of some letters only): names are then compared as they are.
        if (apart || !m_foldCase) break;
        m_foldCase = false;
    }
    m_listedSlots = rows;
    if (names) {
        names->forEach([this](std::string_view name) {
            m_slots.add(key(QByteArrayView(name.data(), static_cast<qsizetype>(name.size()))));
        });
    }
}

QByteArrayView RenameMarks::key(QByteArrayView name) {
    return m_foldCase ? CaseFoldedNameBytes(name, m_folded) : name;
}

bool RenameMarks::onDisk(QByteArrayView name) {
    const QByteArray key = name.toByteArray();
    const auto known = m_onDisk.constFind(key);
    if (known != m_onDisk.constEnd()) return known.value();
    const QByteArray base = m_folder.endsWith('/') ? m_folder : m_folder + '/';
    const bool found = m_files.attributes(base + key).has_value();
    m_onDisk.insert(key, found);
    return found;
}

int RenameMarks::attempt(const ListRow& row, int index, QByteArrayView to) {
    to = key(to);
    const int slot = m_slots.find(to);
    // Where case is ignored, a change of case alone leaves the file where it is, in its slot.
    if (slot >= 0 && static_cast<std::size_t>(slot) == row.id) {
        m_holder[row.id] = index;
        return 0;
    }
    if (slot >= 0) {
        int& holder = m_holder[static_cast<std::size_t>(slot)];
        if (holder != kVacated) {
            if (holder > 0) {
                m_refusedBy = {RenameProblem::TakenByEarlierRename, holder};
            } else {
                m_refusedBy = {slot < m_listedSlots ? RenameProblem::TakenByListedFile
                                                    : RenameProblem::TakenInFolder,
                               0};
            }
            return EEXIST;
        }
        holder = index;
    } else {
        if (!m_folderNamesKnown && onDisk(to)) {
            m_refusedBy = {RenameProblem::TakenInFolder, 0};
            return EEXIST;
        }
        if (m_namesMayRepeat) {
            const auto [number, added] = m_fresh.add(to);
            if (!added) {
                m_refusedBy = {RenameProblem::TakenByEarlierRename,
                               m_freshHolder[static_cast<std::size_t>(number)]};
                return EEXIST;
            }
            m_freshHolder.push_back(index);
        }
    }
    m_holder[row.id] = kVacated;
    return 0;
}

void RenameMarks::begin(Form1& form, bool namesMayRepeat) {
    learnFolder(form);
    m_form = &form;
    const int rows = form.LV.rowCount();
    m_holder.assign(static_cast<std::size_t>(m_slots.size()), kOriginal);
    m_namesMayRepeat = namesMayRepeat;
    m_fresh.reset(namesMayRepeat ? static_cast<std::size_t>(rows) : 0);
    m_freshHolder.clear();
    m_failing = 0;
}

void RenameMarks::markRow(int index, QByteArrayView to) {
    const ListRow& row = m_form->LV.row(index);
    const PassStep step = PlayRenameStep(
        row, index, to, [this, &row](int at, const QByteArray&, QByteArrayView name) {
            return attempt(row, at, name);
        });
    RenameMark mark;
    if (step.kind == PassStep::Kind::Refused) mark.problem = step.refusal;
    if (step.kind == PassStep::Kind::Failed) mark = m_refusedBy;
    if (mark.problem != RenameProblem::None) ++m_failing;
    m_form->LV.setMark(index, mark);
}

void RenameMarks::finish() {
    m_form->SBar.setPanelToolTip(kFileCountPanel, KeptNamesText(m_failing));
    m_form = nullptr;
}

void RenameMarks::update(Form1& form, bool namesMayRepeat) {
    begin(form, namesMayRepeat);
    for (int i = 1; i <= form.LV.rowCount(); ++i) {
        const ListRow& row = form.LV.row(i);
        markRow(i, row.checked ? NewNameBytes(row, m_bytes) : QByteArrayView());
    }
    finish();
}

void RenameMarks::clear(Form1& form) {
    ListView& list = form.LV;
    for (int i = 1; i <= list.rowCount(); ++i) list.setMark(i, {});
    form.SBar.setPanelToolTip(kFileCountPanel, QString());
}

}  // namespace quillet
