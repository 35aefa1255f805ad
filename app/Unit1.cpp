#include "Unit1.h"
#include "ui_Unit1.h"

#include "LessonPaths.h"
#include "MediaPlayer.h"
#include "MenuBarStyle.h"
#include "Messages.h"
#include "ProgramLauncher.h"
#include "TableCursor.h"
#include "Unit13.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit6.h"
#include "Unit7.h"
#include "JournalRows.h"

#include <QCloseEvent>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QTreeWidgetItem>

#include <functional>

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
    // The melody submenu's separator: it has no caption, which the style would draw beside the line.
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
    connect(ui->nn1, &QAction::triggered, this, &TForm1::nn1Click);
    connect(ui->nn2, &QAction::triggered, this, &TForm1::nn2Click);
    connect(ui->nn3, &QAction::triggered, this, &TForm1::nn3Click);
    connect(ui->nn4, &QAction::triggered, this, &TForm1::nn4Click);
    connect(ui->nn5, &QAction::triggered, this, &TForm1::nn5Click);
    // The marks of these two are the program's own state, not a click's toggle.
    connect(ui->N5, &QAction::triggered, this, [this](bool checked) {
        ui->N5->setChecked(!checked);
        N5Click();
    });
    connect(ui->N7, &QAction::triggered, this, &TForm1::N7Click);
    connect(ui->N8, &QAction::triggered, this, [this](bool checked) {
        ui->N8->setChecked(!checked);
        N8Click();
    });
    connect(ui->TreeView1, &QTreeWidget::currentItemChanged, this, &TForm1::TreeView1Change);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start(1000);

    Messages::guarded([this] { FormCreate(); });
}

TForm1::~TForm1()
{
    // Tearing the tree down changes its current item; that is not a topic choice.
    ui->TreeView1->blockSignals(true);
}

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
    if (Form4)
        Form4->show();
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
    if (Form7)
        Form7->show();
}

std::optional<QString> TForm1::existingLessonFile(const QString &column) const
{
    const auto path = LessonPaths::resolveLessonFile(AppDir, DataModule2->Turok->value(column));
    if (path && LessonPaths::fileExists(*path))
        return path;
    return std::nullopt;
}

void TForm1::TreeView1Change()
{
    QTreeWidgetItem *node = ui->TreeView1->currentItem();
    if (!node)
        return;
    Messages::guarded([&] {
        TableCursor *lessons = DataModule2->Turok;
        const QString text = node->text(0);
        // No match keeps the lesson row that was current; every later step uses it.
        lessons->locate(QStringLiteral("urok"), text);

        QIcon opened;
        opened.addFile(QStringLiteral(":/icons/topic.svg"), QSize(), QIcon::Normal);
        opened.addFile(QStringLiteral(":/icons/topic-opened.svg"), QSize(), QIcon::Selected);
        node->setIcon(0, opened);

        const std::pair<const char *, QAction *> commands[] = {
            {"jpg", ui->nn2}, {"avi", ui->nn3}, {"wav", ui->N8},
            {"test", ui->nn5}, {"htm", ui->nn1}, {"exe", ui->nn4},
        };
        for (const auto &[column, item] : commands)
            item->setEnabled(LessonPaths::isSet(lessons->value(QString::fromLatin1(column))));

        if (const auto page = existingLessonFile(QStringLiteral("htm"))) {
            ui->WebBrowser1->Navigate(*page);
            if (!Learner::name().isEmpty()) {
                JournalRows::append(*DataModule2->Tjurnal, QDate::currentDate(), Learner::name(),
                                    Learner::group(), text, 0);
            }
        } else {
            ui->WebBrowser1->Navigate(LessonPaths::join(AppDir, CoverPage));
        }
    });
}

void TForm1::nn1Click()
{
    Messages::guarded([this] {
        if (const auto page = existingLessonFile(QStringLiteral("htm")))
            ui->WebBrowser1->Navigate(*page);
    });
}

void TForm1::nn2Click()
{
    Messages::guarded([this] {
        if (!Form3)
            return;
        if (const auto picture = existingLessonFile(QStringLiteral("jpg"))) {
            // A picture that cannot be decoded throws here: the window is not shown.
            Form3->loadPicture(*picture);
            Form3->show();
            Form3->raise();
        }
    });
}

void TForm1::nn3Click()
{
    Messages::guarded([this] {
        if (const auto video = existingLessonFile(QStringLiteral("avi"))) {
            MediaPlayer1->setFileName(*video);
            MediaPlayer1->Open();
            MediaPlayer1->Play();
        }
    });
}

void TForm1::nn4Click()
{
    Messages::guarded([this] {
        // Started by its full path alone, not waited for; a failure to start is not reported.
        if (const auto program = existingLessonFile(QStringLiteral("exe")))
            ProgramLauncher().start(LessonPaths::toDisk(*program));
    });
}

void TForm1::nn5Click()
{
    Messages::guarded([this] {
        if (existingLessonFile(QStringLiteral("test")) && Form13) {
            Form13->show();
            Form13->raise();
            Form13->activateWindow();
        }
    });
}

void TForm1::N8Click()
{
    Messages::guarded([this] {
        const auto narration = existingLessonFile(QStringLiteral("wav"));
        if (!narration)
            return;
        MediaPlayer1->setFileName(*narration);
        MediaPlayer1->Open();
        if (ui->N8->isChecked())
            MediaPlayer1->Play();
        else
            MediaPlayer1->Stop();
        ui->N8->setChecked(!ui->N8->isChecked());
    });
}

void TForm1::N5Click()
{
    Messages::guarded([this] {
        ui->N5->setChecked(!ui->N5->isChecked());
        if (const auto melody = existingLessonFile(QStringLiteral("mid"))) {
            MediaPlayer2->setFileName(*melody);
            MediaPlayer2->Open();
        }
        if (ui->N5->isChecked())
            MediaPlayer2->Play();
        else
            MediaPlayer2->Stop();
    });
}

void TForm1::N7Click()
{
    Messages::guarded([this] {
        const QString chosen = Messages::chooseFile(OpenDialogFilter);
        if (!chosen.isEmpty()) {
            MediaPlayer2->setFileName(chosen);
            MediaPlayer2->Open();
            MediaPlayer2->Play();
        }
        ui->N5->setChecked(true);
    });
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
    // Closing the start screen is what ends the program.
    if (Form6)
        Form6->close();
}
