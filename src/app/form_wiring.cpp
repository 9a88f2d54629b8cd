#include "app/form_wiring.h"

#include "app/exit_paths.h"
#include "app/startup.h"
#include "app/version.h"
#include "filelist/file_list_builder.h"
#include "filelist/sort_filter_controls.h"
#include "interaction/help_panel.h"
#include "interaction/list_menu.h"
#include "interaction/mode_switch.h"
#include "naming/input_checks.h"
#include "preview/naming_engine.h"
#include "preview/rename_preview.h"
#include "rename/attribute_mode.h"
#include "rename/rename_execution.h"
#include "shell/folder_panel.h"
#include "shell/shortcuts.h"
#include "shell/status_bar_problems.h"

namespace quillet {

FormWiring::FormWiring(Platform& platform)
    : m_platform(platform),
      m_form(platform.files, platform.files.currentDirectory(), QStringLiteral(QUILLET_VERSION)),
      m_naming(std::make_unique<NamingEngine>(m_form, m_state, platform.files)),
      m_fileList(std::make_unique<FileListBuilder>(m_form, m_state, platform.clock, *this)),
      m_sortFilter(std::make_unique<SortFilterControls>(m_form, *this)),
      m_inputChecks(std::make_unique<InputChecks>(m_form, platform.feedback, *this)),
      m_rename(std::make_unique<RenameExecution>(m_form, platform, *this)),
      m_attributeMode(std::make_unique<AttributeMode>(m_form, *this)),
      m_exit(std::make_unique<ExitPaths>(platform)),
      m_shortcuts(std::make_unique<Shortcuts>(m_form, platform)),
      m_startup(std::make_unique<Startup>(m_form, m_state, platform, *m_shortcuts, *this)),
      m_listMenu(std::make_unique<ListMenu>(m_form, *this)),
      m_modes(std::make_unique<ModeSwitch>(m_form, m_state, *m_sortFilter)),
      m_folderPanel(std::make_unique<FolderPanel>(m_form, platform, *this)),
      m_helpPanel(std::make_unique<HelpPanel>(m_form)) {
    connectEvents();
}

FormWiring::~FormWiring() = default;

void FormWiring::Form_Load() {
    m_startup->Form_Load();
}
void FormWiring::Form_QueryUnload() {
    m_exit->Form_QueryUnload();
}
void FormWiring::Form_Unload() {
    m_exit->Form_Unload();
}

void FormWiring::RebuildFileList() {
    m_fileList->RebuildFileList();
    m_form.SBar.setProblemText(StatusBarProblems(m_form, m_platform.files));
}
void FormWiring::Text_Change() {
    m_naming->Text_Change();
}
QString FormWiring::RndName(int count) {
    return m_naming->RndName(count);
}
void FormWiring::Check1_Click() {
    m_inputChecks->Check1_Click();
}

void FormWiring::connectEvents() {
    Form1& f = m_form;

    f.LV.setRowToolTips([this](int row) { return RowToolTipText(m_form, row); });

    f.QueryUnload = [this] { Form_QueryUnload(); };
    f.Unload = [this] { Form_Unload(); };

    f.Text1.Change = [this] { m_inputChecks->Text1_Change(); };
    f.Text2.Change = [this] { Text_Change(); };
    f.Text3.Change = [this] { Text_Change(); };
    f.Text4.Change = [this] { m_sortFilter->Text4_Change(); };
    f.Check1.Click = [this] { Check1_Click(); };
    f.Check3.Click = [this] { Check1_Click(); };
    f.Check4.Click = [this] { Check1_Click(); };
    f.Check5.Click = [this] { Check1_Click(); };
    f.Check6.Click = [this] { m_attributeMode->Check6_Click(); };

    f.Option1.Click = [this](int index) { m_sortFilter->Option1_Click(index); };
    f.Check2.Click = [this] { m_sortFilter->Check2_Click(); };
    f.Combo1.Click = [this] { m_sortFilter->Combo1_Click(); };

    f.Command1.Click = [this] { m_rename->Command1_Click(); };
    f.Command2.Click = [this] { m_exit->Command2_Click(); };
    f.Command3.Click = [this] { m_modes->Command3_Click(); };
    f.Command4.Click = [this] { m_helpPanel->Command4_Click(); };
    for (int index = 0; index < static_cast<int>(f.Label2.size()); ++index)
        f.Label2[static_cast<size_t>(index)].Click = [this, index] {
            m_helpPanel->Label2_Click(index);
        };

    f.TabStrip1.BeforeClick = [this](bool& cancel) { m_modes->TabStrip1_BeforeClick(cancel); };
    f.TabStrip1.Click = [this] { m_modes->TabStrip1_Click(); };

    f.SBar.MouseDown = [this](int button, int shift, float x, float y) {
        m_folderPanel->SBar_MouseDown(button, shift, x, y);
    };
    f.SBar.MouseUp = [this](int button, int shift, float x, float y) {
        m_folderPanel->SBar_MouseUp(button, shift, x, y);
    };
    f.SBar.Click = [this] { m_folderPanel->SBar_Click(); };

    f.Toolbar1.ButtonClick = [this](int button) { m_shortcuts->Toolbar1_ButtonClick(button); };

    f.LV.ItemCheck = [this](int row) { m_listMenu->LV_ItemCheck(row); };
    f.LV.MouseUp = [this](int button, int shift, float x, float y) {
        m_listMenu->LV_MouseUp(button, shift, x, y);
    };
    auto& menu = f.mform.menu_top;
    for (int position = 0; position < menu.entryCount(); ++position) {
        const QString& name = menu.entry(position).name;
        const int index = name.at(name.size() - 2).digitValue();
        if (name.startsWith(QStringLiteral("menu_select(")))
            menu.entry(position).Click = [this, index] { m_listMenu->menu_select_Click(index); };
        else if (name.startsWith(QStringLiteral("menu_check(")))
            menu.entry(position).Click = [this, index] { m_listMenu->menu_check_Click(index); };
    }
}

}  // namespace quillet
