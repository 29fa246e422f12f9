// basMain: the program entry. Shows the main window; its load event does the
// whole start-up.
#include <QApplication>
#include <QFont>

#include "app/Program.h"
#include "app/frmMain.h"
#include "host/window/HostWindow.h"
#include "platform/HostRegistry.h"
#include "platform/Translations.h"
#include "platform/Ui.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TOVA"));
    platform::installQtTranslations(app);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(9);
    QApplication::setFont(font);
    // Starting the CAD application means starting the drawing host in this
    // process.
    platform::HostRegistry::instance().setHostFactory([] { return host::startEmbeddedHost(); });
    platform::QtUi ui;
    Program program;
    frmMain form(program, ui);
    form.show();
    return app.exec();
}
