#ifndef SITES_H
#define SITES_H

#include <QList>
#include <QString>

// One SCADA view that Centinela opens: a building, or one of the further applications.
struct Site
{
    QString name; // as its menu entry reads
    QString group; // the campus submenu that holds it, or "Otras apps"
    int port; // of its view on the SCADA server
    QString actionName; // the object name of its menu entry

    // As lists show it: a name alone does not say where the building is.
    QString nameAndGroup() const { return name + QStringLiteral(" — ") + group; }
};

// The one list of the sites, which the menus, the finder and the command line all read.
namespace Sites {

// Every site, in the order of the menus.
const QList<Site> &all();

// The site of the menu entry with this object name; nullptr if it names none.
const Site *forAction(const QString &actionName);

// A name as Centinela compares names: without accents, case or extra blanks ("quimica" for
// "Química").
QString folded(const QString &name);

// The sites whose names contain `text`, compared folded: first those that begin with it, each
// part in menu order; all of them for an empty text.
QList<const Site *> containing(const QString &text);

// What a name that a user typed stands for: its site when exactly one has that name, or a
// name that only one begins with; otherwise no site, and the names that come closest: those
// that begin with it when several do (it is ambiguous), else those that contain it or are a
// few letters off.
struct Lookup
{
    const Site *site = nullptr;
    QList<const Site *> closest;
    bool ambiguous = false;
};
Lookup lookup(const QString &name);

// The edits (insertions, deletions, replacements) that turn one text into the other.
qsizetype editDistance(const QString &a, const QString &b);

} // namespace Sites

#endif // SITES_H
