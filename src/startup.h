#ifndef STARTUP_H
#define STARTUP_H

class QCoreApplication;
class QWidget;

// The entry's steps between building the main window and running the event loop, shared with
// the start-up benchmark so that what it measures is what the program does.
namespace Startup {

// Installs Qt's Spanish translation, compiled in, on `application`, which owns it: what Qt draws
// itself (standard buttons, context menus, the command line's messages) speaks the program's
// language. The program's own texts are Spanish as written, and have no translation.
void installQtTranslation(QCoreApplication &application);

// Gives the application the "fusion" style, then shows `window`. Where the style is Fusion
// already (the default on most Linux desktops) it is kept: setting it again would only polish
// every widget anew and resolve every style sheet again, for the same look.
void setStyleAndShow(QWidget &window);

} // namespace Startup

#endif // STARTUP_H
