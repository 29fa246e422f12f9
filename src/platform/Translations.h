#pragma once

// The tool speaks Japanese: Qt's own texts (the standard buttons of message
// boxes, file and input dialogs, regular-expression errors) come from Qt's
// Japanese translations, installed with the toolkit.

class QCoreApplication;

namespace platform {

// Loads Qt's Japanese translations from Qt's translations folder and
// installs them in app. Returns false when they are not installed; Qt's
// English texts stay then.
bool installQtTranslations(QCoreApplication& app);

}  // namespace platform
