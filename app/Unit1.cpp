#include "Unit1.h"
#include "ui_Unit1.h"

#include "LessonPaths.h"
#include "MediaPlayer.h"
#include "MenuBarStyle.h"
#include "Messages.h"
#include "TableCursor.h"
#include "Unit2.h"

#include <QCloseEvent>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QTreeWidgetItem>

TForm1 *Form1 = nullptr;

const QString TForm1::OpenDialogFilter =
    QStringLiteral("Все звуки|*.mid;*.wav;*.mp3;*.kar;*.avi;*.wmv|Все файлы|*.*");
const QString TForm1::AuthorCredit =
    QStringLiteral("Автор: Корвелта А. В., преподаватель информатики и электротехники");

namespace {
const QString TreeFileName = QStringLiteral("log.log");
const QString CoverPage = QStringLiteral("zas.mht");
const QString HelpPage = QStringLiteral("help.mht");
} // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TForm1>())
    , MediaPlayer1(new MediaPlayer(this))
    , MediaPlayer2(new MediaPlayer(this))
    , Timer1(new QTimer(this))
    , statusDate(new QLabel(this))
    , statusTime(new QLabel(this))
    , statusCredit(new QLabel(this))
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/app-icon.svg")));
    ui->N6->setSeparator(true);

    auto *menuStyle = new MenuBarStyle();
    menuStyle->setParent(ui->MainMenu1);
    ui->MainMenu1->setStyle(menuStyle);

    // The tree shows the window colour, like the panel it stands on.
    ui->TreeView1->setStyleSheet(QStringLiteral("QTreeWidget { background: palette(window); }"));

    statusDate->setMinimumWidth(60);
    statusTime->setMinimumWidth(50);
    ui->StatusBar1->addWidget(statusDate);
    ui->StatusBar1->addWidget(statusTime);
    ui->StatusBar1->addWidget(statusCredit, 1);

    connect(ui->BitBtn5, &QPushButton::clicked, this, &TForm1::BitBtn5Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
    connect(ui->N1, &QAction::triggered, this, &TForm1::N1Click);
    connect(ui->N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(ui->N3, &QAction::triggered, this, &TForm1::N3Click);
    connect(ui->N4, &QAction::triggered, this, &TForm1::N4Click);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start(1000);

    Messages::guarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    AppDir = LessonPaths::currentAppDir();

    const QString treePath = LessonPaths::toDisk(LessonPaths::join(AppDir, TreeFileName));
    const TopicTreeFile::ReadResult tree = TopicTreeFile::read(treePath);
    setTopicNodes(tree.nodes);
    if (tree.error) {
        m_treeReadIncomplete = true;
        throw AppError(*tree.error, QStringLiteral("ETreeViewError"));
    }

    ui->WebBrowser1->Navigate(LessonPaths::join(AppDir, CoverPage));
    statusCredit->setText(AuthorCredit);
    for (QAction *item : {ui->nn2, ui->nn3, ui->nn4, ui->nn5})
        item->setEnabled(false);
}

void TForm1::attachDataModule(TDataModule2 &module)
{
    TableCursor *lessons = module.Turok;
    connect(lessons, &TableCursor::currentChanged, this, &TForm1::updateLessonTitle);
    connect(lessons, &TableCursor::rowValuesChanged, this, &TForm1::updateLessonTitle);
    connect(lessons, &TableCursor::rowsReset, this, &TForm1::updateLessonTitle);
    updateLessonTitle();
}

void TForm1::updateLessonTitle()
{
    QString title;
    if (DataModule2 && DataModule2->Turok->isActive())
        title = DataModule2->Turok->value(QStringLiteral("urok")).toString();
    ui->DBText1->setText(title);
    ui->DBText1->adjustSize();
}

QVector<TopicNode> TForm1::topicNodes() const
{
    QVector<TopicNode> nodes;
    // Pre-order walk: a node, its whole subtree, then its next sibling.
    std::function<void(QTreeWidgetItem *, int)> walk = [&](QTreeWidgetItem *item, int level) {
        nodes.append({level, item->text(0)});
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), level + 1);
    };
    for (int i = 0; i < ui->TreeView1->topLevelItemCount(); ++i)
        walk(ui->TreeView1->topLevelItem(i), 0);
    return nodes;
}

void TForm1::setTopicNodes(const QVector<TopicNode> &nodes)
{
    QTreeWidget *tree = ui->TreeView1;
    const QIcon normal(QStringLiteral(":/icons/topic.svg"));
    tree->setUpdatesEnabled(false);
    tree->clear();
    QVector<QTreeWidgetItem *> lastAtLevel;
    QList<QTreeWidgetItem *> roots;
    for (const TopicNode &node : nodes) {
        QTreeWidgetItem *item = nullptr;
        if (node.level == 0) {
            item = new QTreeWidgetItem(QStringList(node.text));
            roots.append(item);
        } else {
            item = new QTreeWidgetItem(lastAtLevel.at(node.level - 1), QStringList(node.text));
        }
        item->setIcon(0, normal);
        lastAtLevel.resize(node.level + 1);
        lastAtLevel[node.level] = item;
    }
    tree->addTopLevelItems(roots);
    tree->setUpdatesEnabled(true);
}

void TForm1::Timer1Timer()
{
    const QLocale locale = QLocale::system();
    statusDate->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    statusTime->setText(locale.toString(QTime::currentTime(), QLocale::LongFormat));
}

void TForm1::BitBtn5Click()
{
    ui->BitBtn4->setVisible(true);
    ui->BitBtn5->setVisible(false);
    ui->Panel2->setFixedWidth(15);
}

void TForm1::BitBtn4Click()
{
    ui->BitBtn4->setVisible(false);
    ui->BitBtn5->setVisible(true);
    ui->Panel2->setFixedWidth(345);
}

void TForm1::N1Click()
{
    // The lesson editor window comes with the teacher's tools.
}

void TForm1::N2Click()
{
    Messages::guarded([this] { ui->WebBrowser1->Navigate(LessonPaths::join(AppDir, HelpPage)); });
}

void TForm1::N3Click()
{
    close();
}

void TForm1::N4Click()
{
    // The password window comes with the teacher's tools.
}

void TForm1::FormClose()
{
    const QString treePath = LessonPaths::toDisk(LessonPaths::join(AppDir, TreeFileName));
    if (m_treeReadIncomplete && QFile::exists(treePath)) {
        const QString backup = treePath + QStringLiteral(".bak");
        QFile::remove(backup);
        if (!QFile::copy(treePath, backup))
            throw AppError(QStringLiteral("Cannot create file \"%1\". %2").arg(backup, QStringLiteral("Copy failed")),
                           QStringLiteral("EFCreateError"));
        Messages::showInfo(QStringLiteral("Файл %1 был прочитан не полностью. Его прежнее содержимое "
                                          "сохранено в файле %2.")
                               .arg(treePath, backup));
    }
    TopicTreeFile::write(treePath, topicNodes());
    m_treeReadIncomplete = false;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool written = false;
    Messages::guarded([&] {
        FormClose();
        written = true;
    });
    if (!written) {
        event->ignore();
        return;
    }
    event->accept();
}
