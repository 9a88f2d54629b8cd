#pragma once

#include <memory>

#include "platform/platform.h"
#include "ui/form1.h"
#include "ui/program_state.h"
#include "ui/window_methods.h"

namespace quillet {

class FileListBuilder;
class SortFilterControls;
class NamingEngine;
class InputChecks;
class RenameExecution;
class AttributeMode;
class Startup;
class ExitPaths;
class ListMenu;
class ModeSwitch;
class FolderPanel;
class HelpPanel;
class Shortcuts;

// The wiring of the window model: owns the controls and the program-wide values, builds each
// subsystem with what it needs, and connects every control's events to its handler. What is
// on screen is the view's, which sees only the controls.
class FormWiring final : public WindowMethods {
  public:
    explicit FormWiring(Platform& platform);
    ~FormWiring() override;

    Form1& form() { return m_form; }
    ProgramState& state() { return m_state; }
    Platform& platform() { return m_platform; }

    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();

    void RebuildFileList() override;
    void Text_Change() override;
    QString RndName(int count) override;
    void Check1_Click() override;

  private:
    void connectEvents();

    Platform& m_platform;
    Form1 m_form;
    ProgramState m_state;
    std::unique_ptr<NamingEngine> m_naming;
    std::unique_ptr<FileListBuilder> m_fileList;
    std::unique_ptr<SortFilterControls> m_sortFilter;
    std::unique_ptr<InputChecks> m_inputChecks;
    std::unique_ptr<RenameExecution> m_rename;
    std::unique_ptr<AttributeMode> m_attributeMode;
    std::unique_ptr<ExitPaths> m_exit;
    std::unique_ptr<Shortcuts> m_shortcuts;
    std::unique_ptr<Startup> m_startup;
    std::unique_ptr<ListMenu> m_listMenu;
    std::unique_ptr<ModeSwitch> m_modes;
    std::unique_ptr<FolderPanel> m_folderPanel;
    std::unique_ptr<HelpPanel> m_helpPanel;
};

}  // namespace quillet
