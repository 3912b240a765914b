#pragma once
// The toolkit's own texts (standard buttons, file dialog, edit context menus)
// in Japanese, from the translations the system keeps for Qt.

#include <QString>

class QCoreApplication;

namespace app {

// Loads qtbase_ja from the toolkit's translation folder; false when it is not
// there, and the application starts with the toolkit's English texts.
bool InstallQtTranslations(QCoreApplication& application);

}  // namespace app
