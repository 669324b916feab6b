#ifndef STARTUP_H
#define STARTUP_H

class QWidget;

// The entry's steps between building the main window and running the event loop, shared with
// the start-up benchmark so that what it measures is what the program does.
namespace Startup {

// Gives the application the "fusion" style, then shows `window`. Where the style is Fusion
// already (the default on most Linux desktops) it is kept: setting it again would only polish
// every widget anew and resolve every style sheet again, for the same look.
void setStyleAndShow(QWidget &window);

} // namespace Startup

#endif // STARTUP_H
