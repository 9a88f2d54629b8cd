#pragma once

#include <QByteArray>
#include <vector>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/file_enumerator.h"
#include "ui/list_view.h"
#include "ui/option_group.h"
#include "ui/popup_menu.h"
#include "ui/progress_bar.h"
#include "ui/status_bar.h"
#include "ui/tab_strip.h"
#include "ui/text_box.h"
#include "ui/toolbar.h"

namespace quillet {

// The hidden form that carries the list's pop-up menu.
struct Mform {
    Mform();

    PopupMenu menu_top{QStringLiteral("menu_top")};
};

// The main window: every control in its initial state, by the names the program uses.
struct Form1 {
    // `version`: the program's version as the help sheet shows it.
    Form1(FileSystem& files, QByteArray launchFolder, const QString& version);

    static constexpr float kClientWidth = 5970;
    static constexpr float kClientHeight = 4320;

    Control form{QStringLiteral("Form1"), QStringLiteral("Quillet")};
    // Raised in this order when the user closes the window.
    std::function<void()> QueryUnload;
    std::function<void()> Unload;
    float outerHeight = kClientHeight + 510;  // the view reports the real one

    TextBox Text1;
    TextBox Text2;
    TextBox Text3;

    Control Frame1;
    ComboBox Combo1;
    TextBox Text4;
    FileEnumerator File1;

    Button Command1;
    Button Command2;
    Button Command3;
    Button Command4;

    TabStrip TabStrip1{QStringLiteral("TabStrip1")};

    Control Frame2;
    OptionGroup Option1{QStringLiteral("Option1")};
    CheckBox Check2;

    Control Frame3;
    CheckBox Check4;
    CheckBox Check1;
    CheckBox Check3;
    CheckBox Check6;
    std::array<CheckBox, 3> Check7;

    Control Frame4;
    CheckBox Check5;

    Control Frame5;
    Toolbar Toolbar1{QStringLiteral("Toolbar1")};

    ListView LV{QStringLiteral("LV")};
    StatusBar SBar{QStringLiteral("SBar")};
    ProgressBar PB1{QStringLiteral("PB1")};

    Control panel{QStringLiteral("panel")};
    TextBox Text5;
    Button Label3;
    Button Label4;
    std::array<Button, 2> Label2;

    Mform mform;

    // The names of the controls (and tool-bar buttons) in the order the keyboard visits them.
    std::vector<QString> tabOrder;
};

// The usage text of the help panel, lines ended by CR LF.
QString HelpText();

// Whether the window is in standard mode. The mode lives only in the caption of Command3:
// "拡張" offers to extend.
bool IsStandardMode(const Form1& form);

}  // namespace quillet
