#include "ui/form1.h"

namespace quillet {

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

Mform::Mform() {
    menu_top.addEntry(S("menu_select(0)"), S("すべて選択"));
    menu_top.addEntry(S("menu_select(1)"), S("選択の切り替え"));
    menu_top.addEntry(S("menu_dmy1"), S("-"));
    menu_top.addEntry(S("menu_check(0)"), S("チェック状態にする"));
    menu_top.addEntry(S("menu_check(1)"), S("チェックを外す(除外)"));
    menu_top.addEntry(S("menu_check(2)"), S("チェックを反転する"));
}

Form1::Form1(FileSystem& files, QByteArray launchFolder, const QString& version)
    : Text1(S("Text1"), {}, S("前置文字列を入力します")),
      Text2(S("Text2"), S("001"), S("付番の開始値を入力します 桁数もそのまま反映されます")),
      Text3(S("Text3"), S("jpg"), S("拡張子を入力します")),
      Frame1(S("Frame1"), S("対象ファイル")),
      Combo1(S("Combo1"), {S("*.jpg;*.jpeg"), S("*.gif"), S("*.bmp")},
             S("処理対象とするファイルの種類")),
      Text4(S("Text4"), S("*.*"), S("表示するファイルを指定します")),
      File1(S("File1"), files, std::move(launchFolder), S("*.jpg;*.jpeg")),
      Command1(S("Command1"), S("実 行 ／ 終 了"), S("名前を変更して終了します")),
      Command2(S("Command2"), S("キャンセル"), S("現在の状態のまま終了します")),
      Command3(S("Command3"), S("拡張"), S("上級者用機能に拡張できます")),
      Command4(S("Command4"), S("Help"), S("簡単な使用説明です")),
      Frame2(S("Frame2"), S("整列指定")),
      Check2(S("Check2"), S("降順整列"), S("整列順を逆転します")),
      Frame3(S("Frame3"), S("名前の付け方")),
      Check4(S("Check4"), S("元拡張子使用"), S("元のファイルの拡張子を使います")),
      Check1(S("Check1"), S("元値使用 "), S("元のファイルの値を使います")),
      Check3(S("Check3"), S("元前置文字使用"), S("元のファイルの前置文字を使います")),
      Check6(S("Check6"), S("名前は変えずに、属性を変更する"), {}),
      Check7{{{S("Check7(0)"), S("読み取り専用"), S("読み取り専用属性(Readonly)にします")},
              {S("Check7(1)"), S("隠しファイル"), S("隠しファイル(Hidden)にします")},
              {S("Check7(2)"), S("アーカイブ"), S("アーカイブにします")}}},
      Frame4(S("Frame4"), S("ランダムな前置文字")),
      Check5(S("Check5"), S("ランダムにする"), S("指定文字数分のランダムな前置文字を生成します")),
      Frame5(S("Frame5"), S("ショートカットの作成")),
      Text5(S("Text5"), HelpText(), {}),
      Label3(S("Label3"), S("このツールは Pixalo の拡張機能ですが、単独でもご利用いただけます")),
      Label4(S("Label4"), S("© 2026 Quillet 開発チーム")),
      Label2{{{S("Label2(0)"), S("Quillet Ver.") + version}, {S("Label2(1)"), S("戻る")}}} {
    // Name template row: prefix, start number and extension side by side.
    Text1.setGeometry({60, 60, 2000, 300});
    Text2.setGeometry({2100, 60, 700, 300});
    Text3.setGeometry({2840, 60, 600, 300});
    Text3.setReadOnly(true);  // standard mode: the file type decides the extension
    Command3.setGeometry({3540, 45, 1140, 330});
    Command4.setGeometry({4740, 45, 1170, 330});

    // Target files, with the execute and cancel buttons below them.
    Frame1.setGeometry({60, 420, 1935, 720});
    Combo1.setGeometry({120, 300, 1695, 300});
    Text4.setGeometry({120, 300, 1695, 300});
    Text4.setVisible(false);
    Command1.setGeometry({60, 1230, 1935, 480});
    Command2.setGeometry({60, 1800, 1935, 480});

    // The tab strip; its frames share one place, which start-up arranges.
    TabStrip1.setGeometry({2055, 420, 3855, 1920});
    TabStrip1.addTab({S("整列"), S("sort_tab"), S("t_sort")});
    TabStrip1.addTab({S("基準"), S("nametag"), S("t_name")});
    TabStrip1.addTab({S("拡張"), S("exptab"), S("t_exp")});

    Frame2.setGeometry({2175, 2520, 3615, 1440});
    Option1.add(3, S("ファイル更新日順"), S("ファイルの更新日付順に整列します"))
        .setGeometry({120, 240, 3000, 240});
    Option1.add(2, S("拡張子を重視"), S("ファイルの種類別に整列します"))
        .setGeometry({120, 480, 3000, 240});
    Option1.add(1, S("末尾の値を重視"), S("拡張子の前にある数値を用いて整列します"))
        .setGeometry({120, 720, 3000, 240});
    Check2.setGeometry({120, 960, 3000, 240});
    Option1.add(0, S("通常のASCII順"), S("通常の文字順に整列します"))
        .setGeometry({120, 1200, 3000, 240});
    Option1.select(1);

    Frame3.setGeometry({2175, 840, 3615, 1440});
    Frame3.setVisible(false);
    Check4.setGeometry({120, 240, 1700, 240});
    Check1.setGeometry({120, 540, 1700, 240});
    Check3.setGeometry({120, 840, 1700, 240});
    Check6.setGeometry({120, 1140, 3400, 240});
    Check7[0].setGeometry({1900, 240, 1600, 240});
    Check7[1].setGeometry({1900, 540, 1600, 240});
    Check7[2].setGeometry({1900, 840, 1600, 240});
    for (auto& box : Check7) box.setVisible(false);

    Frame4.setGeometry({2175, 2700, 3615, 600});
    Frame4.setVisible(false);
    Check5.setGeometry({120, 270, 3000, 240});

    Frame5.setGeometry({2175, 3360, 3615, 840});
    Frame5.setVisible(false);
    Toolbar1.setGeometry({120, 270, 3375, 450});
    Toolbar1.addButton({S("Desktop"), S("[デスクトップ]にショートカットを作成します")});
    Toolbar1.addButton({S("Sendto"), S("[送る]にショートカットを作成します")});

    // The file list fills the lower part of the window.
    LV.setGeometry({60, 2400, 5850, 1560});
    const QString headers[] = {
        S("元のファイル名"), S("新しいファイル名"), S("oldfile"), S("sortkey"),
        S("expantion"),      S("datetime"),         S("exp")};
    for (int index = 0; index < kListColumns; ++index) {
        const auto column = static_cast<ListColumn>(index);
        LV.setColumnHeader(column, headers[index]);
        LV.setColumnWidth(column, column <= ListColumn::NewName ? 2540 : 0);
    }
    LV.setSortKey(ListColumn::SortKey);
    LV.setSortOrder(SortOrder::Ascending);

    SBar.setGeometry({0, 4005, kClientWidth, 315});
    SBar.addPanel(S("Path"), S("Path"));
    SBar.addPanel(S("File"), S("File"));
    PB1.setGeometry({60, 3720, 5850, 240});

    // The help sheet, a little larger than the client area, and what lies on it.
    panel.setGeometry({0, 0, 6015, 4335});
    Text5.setReadOnly(true);
    Text5.setGeometry({120, 120, 5775, 3000});
    Label3.setGeometry({120, 3240, 5775, 240});
    Label4.setGeometry({120, 3540, 3600, 240});
    Label2[0].setGeometry({120, 3840, 2400, 240});
    Label2[1].setGeometry({4800, 3780, 1000, 330});

    // Controls without a caption are named after their role, as a sighted user reads them
    // off the window.
    Text1.setAccessibleName(S("前置文字列"));
    Text2.setAccessibleName(S("開始番号"));
    Text3.setAccessibleName(S("拡張子"));
    Text4.setAccessibleName(S("ワイルドカード"));
    Text5.setAccessibleName(S("使用説明"));
    Combo1.setAccessibleName(S("ファイルの種類"));
    TabStrip1.setAccessibleName(S("設定の切り替え"));
    Toolbar1.setAccessibleName(S("ショートカット"));
    LV.setAccessibleName(S("ファイル一覧"));
    SBar.setAccessibleName(S("フォルダとファイル数"));
    PB1.setAccessibleName(S("進行状況"));
    panel.setAccessibleName(S("使用説明"));

    // The keyboard visits the window as it is read: the name row, the left column, the tab
    // strip with whichever frame it shows, the list and the status bar; then the help sheet.
    tabOrder = {
        S("Text1"),      S("Text2"),      S("Text3"),      S("Command3"),    S("Command4"),
        S("Combo1"),     S("Text4"),      S("Command1"),   S("Command2"),    S("TabStrip1"),
        S("Option1(3)"), S("Option1(2)"), S("Option1(1)"), S("Check2"),      S("Option1(0)"),
        S("Check4"),     S("Check1"),     S("Check3"),     S("Check6"),      S("Check7(0)"),
        S("Check7(1)"),  S("Check7(2)"),  S("Check5"),     S("Toolbar1(1)"), S("Toolbar1(2)"),
        S("LV"),         S("SBar"),       S("Text5"),      S("Label2(1)")};
}

bool IsStandardMode(const Form1& form) {
    return form.Command3.caption() == QStringLiteral("拡張");
}

}  // namespace quillet
