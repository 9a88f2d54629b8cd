#include "app/startup.h"

#include <cctype>

#include "platform/module1.h"
#include "shell/shortcuts.h"
#include "ui/list_columns.h"

namespace quillet {

namespace {

// The first character in upper or lower case; a first byte outside ASCII is left alone, since
// it begins a longer character.
QByteArray WithFirstLetter(QByteArray text, bool upper) {
    if (!text.isEmpty() && static_cast<unsigned char>(text.at(0)) < 0x80) {
        const auto first = static_cast<unsigned char>(text.at(0));
        text[0] = static_cast<char>(upper ? std::toupper(first) : std::tolower(first));
    }
    return text;
}

}  // namespace

Startup::Startup(Form1& form, ProgramState& state, Platform& platform, Shortcuts& shortcuts,
                 WindowMethods& window)
    : m_form(form),
      m_state(state),
      m_platform(platform),
      m_shortcuts(shortcuts),
      m_window(window) {}

void Startup::Form_Load() {
    m_state.SuppressNaming = true;

    m_form.panel.move(0, m_form.outerHeight);
    const QByteArray folder = resolveWorkingFolder();

    // Each of these may fail on its own; a folder that cannot be listed leaves the enumerator
    // where it was, while the status bar still shows what was asked for.
    m_form.File1.setPath(folder);
    m_form.SBar.setPanelText(1, QString::fromUtf8(folder));
    m_platform.files.setCurrentDirectory(folder);

    ShareListWidth(m_form.LV, m_form.LV.geometry().width);

    layOutFrames();
    m_shortcuts.DetectExisting();

    m_state.SuppressNaming = false;
    // Choosing the first file type builds the list, once and of the folder asked for: chosen
    // before the folder was known, it listed the working folder only to throw the list away.
    m_form.Combo1.setListIndex(0);
}

QByteArray Startup::resolveWorkingFolder() {
    const QByteArray arguments = m_platform.process.commandLine();
    if (arguments.isEmpty()) return m_platform.files.currentDirectory();

    // The case of the first letter is tried both ways for the sake of a drive letter. Taken
    // from a relative path it would be the first letter of a folder's name, and "photos"
    // could open "Photos" beside it, so the path is made absolute first: it then begins with
    // "/" and names only the folder the user gave.
    QByteArray path = WithFirstLetter(absoluteFromCurrent(arguments), true);
    ToLongPath(m_platform.files, path);
    if (path == "?") {
        path = WithFirstLetter(absoluteFromCurrent(m_platform.process.commandLine()), false);
        ToLongPath(m_platform.files, path);
    }
    return path == "?" ? m_platform.files.currentDirectory() : path;
}

QByteArray Startup::absoluteFromCurrent(const QByteArray& path) {
    if (path.startsWith('/')) return path;
    const QByteArray current = m_platform.files.currentDirectory();
    // Without a known current folder the lookup cannot place the path either and finds nothing.
    if (!current.startsWith('/')) return path;
    return (current.endsWith('/') ? current : current + '/') + path;
}

void Startup::layOutFrames() {
    const Twips naming = m_form.Frame3.geometry();
    m_form.Frame2.move(naming.left, naming.top);
    m_form.Frame4.move(naming.left, naming.top);
    const float randomHeight = m_form.Frame4.geometry().height;
    m_form.Frame5.move(naming.left, naming.top + randomHeight);
}

}  // namespace quillet
