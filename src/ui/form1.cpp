#include "ui/form1.h"

namespace quillet {

namespace {

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

Mform::Mform() {
    menu_top.addEntry(s("menu_select(0)"), s("すべて選択"));
    menu_top.addEntry(s("menu_select(1)"), s("選択の切り替え"));
    menu_top.addEntry(s("menu_dmy1"), s("-"));
    menu_top.addEntry(s("menu_check(0)"), s("チェック状態にする"));
    menu_top.addEntry(s("menu_check(1)"), s("チェックを外す(除外)"));
    menu_top.addEntry(s("menu_check(2)"), s("チェックを反転する"));
}

Form1::Form1(FileSystem& files, QByteArray launchFolder, const QString& version)
    : Text1(s("Text1"), {}, s("前置文字列を入力します")),
      Text2(s("Text2"), s("001"), s("付番の開始値を入力します 桁数もそのまま反映されます")),
      Text3(s("Text3"), s("jpg"), s("拡張子を入力します")),
      Frame1(s("Frame1"), s("対象ファイル")),
      Combo1(s("Combo1"), {s("*.jpg;*.jpeg"), s("*.gif"), s("*.bmp")},
             s("処理対象とするファイルの種類")),
      Text4(s("Text4"), s("*.*"), s("表示するファイルを指定します")),
      File1(s("File1"), files, std::move(launchFolder), s("*.jpg;*.jpeg")),
      Command1(s("Command1"), s("実 行 ／ 終 了"), s("名前を変更して終了します")),
      Command2(s("Command2"), s("キャンセル"), s("現在の状態のまま終了します")),
      Command3(s("Command3"), s("拡張"), s("上級者用機能に拡張できます")),
      Command4(s("Command4"), s("Help"), s("簡単な使用説明です")),
      Frame2(s("Frame2"), s("整列指定")),
      Check2(s("Check2"), s("降順整列"), s("整列順を逆転します")),
      Frame3(s("Frame3"), s("名前の付け方")),
      Check4(s("Check4"), s("元拡張子使用"), s("元のファイルの拡張子を使います")),
      Check1(s("Check1"), s("元値使用 "), s("元のファイルの値を使います")),
      Check3(s("Check3"), s("元前置文字使用"), s("元のファイルの前置文字を使います")),
      Check6(s("Check6"), s("名前は変えずに、属性を変更する"), {}),
      Check7{{{s("Check7(0)"), s("読み取り専用"), s("読み取り専用属性(Readonly)にします")},
              {s("Check7(1)"), s("隠しファイル"), s("隠しファイル(Hidden)にします")},
              {s("Check7(2)"), s("アーカイブ"), s("アーカイブにします")}}},
      Frame4(s("Frame4"), s("ランダムな前置文字")),
      Check5(s("Check5"), s("ランダムにする"), s("指定文字数分のランダムな前置文字を生成します")),
      Frame5(s("Frame5"), s("ショートカットの作成")),
      Text5(s("Text5"), helpText(), {}),
      Label3(s("Label3"), s("このツールは Pixalo の拡張機能ですが、単独でもご利用いただけます")),
      Label4(s("Label4"), s("© 2026 Quillet 開発チーム")),
      Label2{{{s("Label2(0)"), s("Quillet Ver.") + version}, {s("Label2(1)"), s("戻る")}}} {
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
    TabStrip1.addTab({s("整列"), s("sort_tab"), s("t_sort")});
    TabStrip1.addTab({s("基準"), s("nametag"), s("t_name")});
    TabStrip1.addTab({s("拡張"), s("exptab"), s("t_exp")});

    Frame2.setGeometry({2175, 2520, 3615, 1440});
    Option1.add(3, s("ファイル更新日順"), s("ファイルの更新日付順に整列します"))
        .setGeometry({120, 240, 3000, 240});
    Option1.add(2, s("拡張子を重視"), s("ファイルの種類別に整列します"))
        .setGeometry({120, 480, 3000, 240});
    Option1.add(1, s("末尾の値を重視"), s("拡張子の前にある数値を用いて整列します"))
        .setGeometry({120, 720, 3000, 240});
    Check2.setGeometry({120, 960, 3000, 240});
    Option1.add(0, s("通常のASCII順"), s("通常の文字順に整列します"))
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
    Toolbar1.addButton({s("Desktop"), s("[デスクトップ]にショートカットを作成します")});
    Toolbar1.addButton({s("Sendto"), s("[送る]にショートカットを作成します")});

    // The file list fills the lower part of the window.
    LV.setGeometry({60, 2400, 5850, 1560});
    const QString headers[] = {
        s("元のファイル名"), s("新しいファイル名"), s("oldfile"), s("sortkey"),
        s("expantion"),      s("datetime"),         s("exp")};
    for (int column = 1; column <= ListView::kColumns; ++column) {
        LV.setColumnHeader(column, headers[column - 1]);
        LV.setColumnWidth(column, column <= 2 ? 2540 : 0);
    }
    LV.setSortKey(ListView::sortKeyOf(col::SortKey));
    LV.setSortOrder(SortOrder::Ascending);

    SBar.setGeometry({0, 4005, kClientWidth, 315});
    SBar.addPanel(s("Path"), s("Path"));
    SBar.addPanel(s("File"), s("File"));
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
    Text1.setAccessibleName(s("前置文字列"));
    Text2.setAccessibleName(s("開始番号"));
    Text3.setAccessibleName(s("拡張子"));
    Text4.setAccessibleName(s("ワイルドカード"));
    Text5.setAccessibleName(s("使用説明"));
    Combo1.setAccessibleName(s("ファイルの種類"));
    TabStrip1.setAccessibleName(s("設定の切り替え"));
    Toolbar1.setAccessibleName(s("ショートカット"));
    LV.setAccessibleName(s("ファイル一覧"));
    SBar.setAccessibleName(s("フォルダとファイル数"));
    PB1.setAccessibleName(s("進行状況"));
    panel.setAccessibleName(s("使用説明"));

    // The keyboard visits the window as it is read: the name row, the left column, the tab
    // strip with whichever frame it shows, the list and the status bar; then the help sheet.
    tabOrder = {
        s("Text1"),      s("Text2"),      s("Text3"),      s("Command3"),    s("Command4"),
        s("Combo1"),     s("Text4"),      s("Command1"),   s("Command2"),    s("TabStrip1"),
        s("Option1(3)"), s("Option1(2)"), s("Option1(1)"), s("Check2"),      s("Option1(0)"),
        s("Check4"),     s("Check1"),     s("Check3"),     s("Check6"),      s("Check7(0)"),
        s("Check7(1)"),  s("Check7(2)"),  s("Check5"),     s("Toolbar1(1)"), s("Toolbar1(2)"),
        s("LV"),         s("SBar"),       s("Text5"),      s("Label2(1)")};
}

bool IsStandardMode(const Form1& form) {
    return form.Command3.caption() == QStringLiteral("拡張");
}

}  // namespace quillet
