#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui { class CourseChooser; }

class RecentCourses;

// The small window the program shows before anything else when it is started
// outside a course folder (the desktop menu starts it in the home folder): a
// course folder used last, another folder, or the demo course.
class CourseChooser final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CourseChooser)

public:
    // demoSource is the bundled demo course (empty when there is none), and
    // demoCopy the writable folder it is copied into before it is opened.
    CourseChooser(RecentCourses &recent, const QString &demoSource, const QString &demoCopy,
                  QWidget *parent = nullptr);
    ~CourseChooser() override;

    // Asks for a course with the user's own settings and makes the folder
    // chosen the current one. False when the user cancelled.
    static bool enterCourse();

    // The course folder taken, once the window is accepted.
    QString chosenFolder() const { return m_chosen; }

public slots:
    // Takes the folder when it is a course and remembers it; otherwise says
    // why and the window stays.
    void openFolder(const QString &folder);
    void openSelected();
    void browse();
    void openDemo();

private:
    std::unique_ptr<Ui::CourseChooser> ui;
    RecentCourses &m_recent;
    QString m_demoSource;
    QString m_demoCopy;
    QString m_chosen;
};
