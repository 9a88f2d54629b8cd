#pragma once

#include <QString>
#include <memory>

#include "app/form_wiring.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace quillet::test {

// The whole window model on a real temporary folder, with a real settings file under a
// temporary configuration folder; only the dialogs, the clock and the program's end are fakes.
class WindowHarness {
  public:
    WindowHarness();
    // The same window on other file-system and settings-store objects (for instance ones that
    // inject faults); a null pointer keeps the real one.
    WindowHarness(FileSystem* files, SettingsStore* settings);
    ~WindowHarness();

    // Starts the window on the photo folder, as the viewer does.
    void startOnPhotos();
    // Runs start-up with the given command line; returns false when the program ended.
    bool load(const QByteArray& commandLine);

    FormWiring& window() { return *m_window; }
    Form1& form() { return m_window->form(); }
    // Presses the execute button; false when the program ended.
    bool execute();
    // The value the companion viewer reads, or a null string when there is none.
    QString handshakeValue() const;
    QStringList newNames();
    QStringList fileNames();

    TempFolder photos;
    TempFolder config;
    FakeFeedback feedback;
    FakeFolderPicker folderPicker;
    FakeClock clock;
    FakeProcess process;

  private:
    struct Real;
    std::unique_ptr<Real> m_real;
    std::unique_ptr<Platform> m_platform;
    std::unique_ptr<FormWiring> m_window;
    QByteArray m_previousConfigHome;
    QByteArray m_previousCwd;
};

}  // namespace quillet::test
