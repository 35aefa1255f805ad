#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// What counts as a course folder, where the bundled demo course is, and the
// list of course folders used last. The course chooser asks these when the
// program starts outside a course folder (from the desktop menu, say).
namespace CourseFolders {

// The files the program opens in a course folder; any one of them makes a course.
QStringList markerFiles();

// True when the folder exists and holds at least one of markerFiles() as a file.
bool isCourse(const QString &folder);

// The demo course bundled with the program whose executable lies in
// programDir: the installed copy, or the one the build assembles beside the
// program. Empty when there is none.
QString bundledDemo(const QString &programDir);

// Where the chooser keeps its own writable copy of the demo course.
QString demoCopyFolder(const QString &homeDir);

// Copies the demo course from source into target once: a target that is
// already a course is kept as it is (with its journal); otherwise the copy is
// made in a temporary folder beside target and renamed into place, with every
// file writable by the user. Throws AppError when that cannot be done.
void copyDemoOnce(const QString &source, const QString &target);

// How many folders the chooser remembers.
constexpr int MaxRecent = 8;

// The recent list with folder put first: spelled absolute and clean, each
// folder once, at most MaxRecent long.
QStringList withRecent(const QStringList &recent, const QString &folder);

// The folders of the list that are still courses, in their order.
QStringList stillCourses(const QStringList &recent);

} // namespace CourseFolders

// The course folders chosen last, kept in the settings the chooser owns.
class RecentCourses final
{
public:
    // Does not own settings, which must outlive this object.
    explicit RecentCourses(QSettings &settings);

    // The remembered folders that are still courses, the last used first.
    QStringList folders() const;
    // Puts folder first in the list and stores it.
    void use(const QString &folder);

private:
    QSettings &m_settings;
};
