#pragma once

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <utility>
#include <vector>

namespace quillet {
class FileListTree;
class FormWiring;
class QuilletWindow;
struct Form1;
}  // namespace quillet

namespace quillet::bench {

// The whole program on a folder, with the Qt window attached (offscreen): real file system,
// settings file and clock; the confirmation is answered Yes and the program's end is caught.
class BenchWindow {
  public:
    BenchWindow();
    ~BenchWindow();

    void startOn(const QByteArray& folder);
    void rebuild();
    void typePrefix(const QString& prefix);
    // Each checked row's file name and the bytes it is to be renamed to.
    std::vector<std::pair<QByteArray, QByteArray>> plannedRenames();
    // Presses the execute button; the standard-mode end of the program is caught here.
    void execute();
    Form1& form();

    // What the user sees and does in the shown window; each returns once the window is drawn.
    void show();
    void typePrefixShown(const QString& prefix);
    void clickSortOption(int option);  // 0 name order, 1 number order
    void scrollTo(int row);            // row from 0, as the view counts
    void scrollOnePage();
    // A click on a row's check box: the row becomes the selected one and its box changes. In
    // the shown window it is the mouse's, on a row on screen, until the window is drawn; in a
    // hidden one the list takes the same changes straight from the click.
    void clickCheckBox(int row);
    // Every text the shown window draws, one a line, and the face it draws them in.
    QString textsOnScreen();
    QFont font() const;

  private:
    struct Parts;
    class PaintCounter;
    FileListTree& list();
    void drawNow();

    QByteArray m_startedIn;  // the program moves into its folder; this is where to go back
    QTemporaryDir m_config;
    std::unique_ptr<Parts> m_parts;
    PaintCounter* m_listPaints = nullptr;
    int m_selectedRow = 0;  // the row the hidden window's latest click selected, from 1
};

}  // namespace quillet::bench
