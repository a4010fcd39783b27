#include "app/window/window_sequence.h"
#include "ui/model/qt_text.h"
#include "ui/window/app_context.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ferolan::kApplicationTitle);

    // Qt's own texts (file dialogs, standard buttons) in Italian, where the translation is
    // installed.
    QTranslator qtItalian;
    if (qtItalian.load(QStringLiteral("qtbase_it"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtItalian);

    ferolan::Module1 state;
    ferolan::QtDialogs dialogs;
    ferolan::QtDesktop desktop;
    ferolan::AppContext context{state, ferolan::toPath(QApplication::applicationDirPath()), dialogs,
                                desktop, ferolan::userDecimalSeparator()};

    ferolan::WindowSequence windows(context);
    windows.start();
    return QApplication::exec();
}
