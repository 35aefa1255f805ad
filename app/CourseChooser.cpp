#include "CourseChooser.h"
#include "ui_CourseChooser.h"

#include "CourseFolders.h"
#include "Messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QIcon>
#include <QSettings>

CourseChooser::CourseChooser(RecentCourses &recent, const QString &demoSource, const QString &demoCopy,
                             QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::CourseChooser>())
    , m_recent(recent)
    , m_demoSource(demoSource)
    , m_demoCopy(demoCopy)
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/app-icon.svg")));
    ui->intro->setText(QStringLiteral("В папке %1 нет курса. Откройте папку курса или демонстрационный курс.")
                           .arg(QDir::toNativeSeparators(QDir::currentPath())));

    for (const QString &folder : m_recent.folders()) {
        auto *item = new QListWidgetItem(QDir::toNativeSeparators(folder), ui->recentList);
        item->setData(Qt::UserRole, folder);
    }
    const bool anyRecent = ui->recentList->count() > 0;
    ui->recentLabel->setVisible(anyRecent);
    ui->recentList->setVisible(anyRecent);
    ui->openButton->setVisible(anyRecent);
    ui->demoButton->setVisible(!m_demoSource.isEmpty());
    if (anyRecent) {
        ui->recentList->setCurrentRow(0);
        ui->recentList->setFocus();
    } else {
        QPushButton *first = m_demoSource.isEmpty() ? ui->browseButton : ui->demoButton;
        first->setDefault(true);
        first->setFocus();
    }
    // Without a list, only as tall as the text and the buttons need.
    if (!anyRecent)
        adjustSize();

    connect(ui->openButton, &QPushButton::clicked, this, &CourseChooser::openSelected);
    connect(ui->recentList, &QListWidget::itemDoubleClicked, this, &CourseChooser::openSelected);
    connect(ui->browseButton, &QPushButton::clicked, this, &CourseChooser::browse);
    connect(ui->demoButton, &QPushButton::clicked, this, &CourseChooser::openDemo);
    connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CourseChooser::~CourseChooser() = default;

bool CourseChooser::enterCourse()
{
    // The only settings the program keeps: which course folders were chosen here.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("korvelta"),
                       QStringLiteral("korvelta"));
    RecentCourses recent(settings);
    CourseChooser chooser(recent, CourseFolders::bundledDemo(QCoreApplication::applicationDirPath()),
                          CourseFolders::demoCopyFolder(QDir::homePath()));
    if (chooser.exec() != QDialog::Accepted)
        return false;
    if (!QDir::setCurrent(chooser.chosenFolder())) {
        Messages::showError(QStringLiteral("Не удалось перейти в папку %1")
                                .arg(QDir::toNativeSeparators(chooser.chosenFolder())));
        return false;
    }
    return true;
}

void CourseChooser::openFolder(const QString &folder)
{
    if (!CourseFolders::isCourse(folder)) {
        Messages::showError(QStringLiteral("В папке %1 нет курса: в ней нет ни одного из файлов %2")
                                .arg(QDir::toNativeSeparators(folder), CourseFolders::markerFiles().join(QStringLiteral(", "))));
        return;
    }
    m_chosen = QDir(folder).absolutePath();
    m_recent.use(m_chosen);
    accept();
}

void CourseChooser::openSelected()
{
    if (const QListWidgetItem *item = ui->recentList->currentItem())
        openFolder(item->data(Qt::UserRole).toString());
}

void CourseChooser::browse()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Папка курса"), QDir::homePath());
    if (!folder.isEmpty())
        openFolder(folder);
}

void CourseChooser::openDemo()
{
    Messages::guarded([this] {
        CourseFolders::copyDemoOnce(m_demoSource, m_demoCopy);
        openFolder(m_demoCopy);
    });
}
