#pragma once

class QCoreApplication;

namespace quillet {

// Loads Qt's own Japanese texts (the folder dialog, the text boxes' context menus, the message
// box buttons Qt adds) into `app`, whatever the user's locale, since the whole interface is
// Japanese. Returns false when Qt's Japanese catalogue is not installed; Qt's texts then stay
// English.
bool LoadQtJapanese(QCoreApplication& app);

}  // namespace quillet
