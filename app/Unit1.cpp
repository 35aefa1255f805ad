#include "Unit1.h"
#include "ui_Unit1.h"

#include "AppError.h"
#include "CourseSession.h"
#include "LessonPaths.h"
#include "MediaPlayer.h"
#include "MenuBarStyle.h"
#include "Messages.h"
#include "ProgramLauncher.h"
#include "StatusClock.h"
#include "TableCursor.h"
#include "TopicTreeWidget.h"
#include "Unit13.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit6.h"
#include "Unit7.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>
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

TForm1::TForm1(CourseSession &session, QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TForm1>())
    , m_session(session)
    , MediaPlayer1(new MediaPlayer(this))
    , MediaPlayer2(new MediaPlayer(this))
    , Timer1(new QTimer(this))
    , m_topicIcon(QStringLiteral(":/icons/topic.svg"))
{
    ui->setupUi(this);
    m_openedTopicIcon.addFile(QStringLiteral(":/icons/topic.svg"), QSize(), QIcon::Normal);
    m_openedTopicIcon.addFile(QStringLiteral(":/icons/topic-opened.svg"), QSize(), QIcon::Selected);
    setWindowIcon(QIcon(QStringLiteral(":/icons/app-icon.svg")));
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    MediaPlayer2->setObjectName(QStringLiteral("MediaPlayer2"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // The melody submenu's separator: it has no caption, which the style would draw beside the line.
    ui->N6->setSeparator(true);

    auto *menuStyle = new MenuBarStyle();
    menuStyle->setParent(ui->MainMenu1);
    ui->MainMenu1->setStyle(menuStyle);

    // The tree shows the window colour, like the panel it stands on.
    ui->TreeView1->setStyleSheet(QStringLiteral("QTreeWidget { background: palette(window); }"));

    m_clock = std::make_unique<StatusClock>(ui->StatusBar1);
    m_credit = addStatusPanel(ui->StatusBar1, QStringLiteral("statusCredit"), 0, 1);

    connectCommands();
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start(1000);

    Messages::guarded([this] { FormCreate(); });
}

TForm1::~TForm1()
{
    // Tearing the tree down changes its current item; that is not a topic choice.
    ui->TreeView1->blockSignals(true);
}

void TForm1::connectCommands()
{
    connect(ui->BitBtn5, &QPushButton::clicked, this, &TForm1::BitBtn5Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
    const std::pair<QAction *, void (TForm1::*)()> handlers[] = {
        {ui->N1, &TForm1::N1Click},   {ui->N2, &TForm1::N2Click},   {ui->N3, &TForm1::N3Click},
        {ui->N4, &TForm1::N4Click},   {ui->nn1, &TForm1::nn1Click}, {ui->nn2, &TForm1::nn2Click},
        {ui->nn3, &TForm1::nn3Click}, {ui->nn4, &TForm1::nn4Click}, {ui->nn5, &TForm1::nn5Click},
        {ui->N7, &TForm1::N7Click},
    };
    for (const auto &[item, handler] : handlers)
        connect(item, &QAction::triggered, this, handler);
    // The marks of these two are the program's own state, not a click's toggle.
    connect(ui->N5, &QAction::triggered, this, [this](bool checked) {
        ui->N5->setChecked(!checked);
        N5Click();
    });
    connect(ui->N8, &QAction::triggered, this, [this](bool checked) {
        ui->N8->setChecked(!checked);
        N8Click();
    });
    connect(ui->TreeView1, &QTreeWidget::currentItemChanged, this, &TForm1::TreeView1Change);
}

void TForm1::FormCreate()
{
    AppDir = LessonPaths::currentAppDir();

    const TopicTreeFile::ReadResult tree =
        m_session.readTopicTree(LessonPaths::toDisk(LessonPaths::join(AppDir, TreeFileName)));
    setTopicNodes(tree.nodes);
    if (tree.error)
        throw AppError(*tree.error, ErrorKind::TopicTree);

    ui->WebBrowser1->Navigate(LessonPaths::join(AppDir, CoverPage));
    m_credit->setText(AuthorCredit);
    for (QAction *item : {ui->nn2, ui->nn3, ui->nn4, ui->nn5})
        item->setEnabled(false);
}

void TForm1::attachDataModule(TDataModule2 &module)
{
    TableCursor *lessons = module.Turok;
    m_session.attachTables(lessons, module.Tjurnal);
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
    return TopicTreeWidget::nodesOf(*ui->TreeView1);
}

void TForm1::setTopicNodes(const QVector<TopicNode> &nodes)
{
    TopicTreeWidget::fill(*ui->TreeView1, nodes, [this](const QString &text) { return newTopicItem(text); });
}

void TForm1::Timer1Timer()
{
    m_clock->show();
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
    return m_session.existingLessonFile(AppDir, column);
}

QTreeWidgetItem *TForm1::newTopicItem(const QString &text) const
{
    auto *item = new QTreeWidgetItem(QStringList(text));
    item->setIcon(0, m_topicIcon);
    return item;
}

void TForm1::TreeView1Change()
{
    QTreeWidgetItem *node = ui->TreeView1->currentItem();
    if (!node)
        return;
    Messages::guarded([&] {
        const QString topic = node->text(0);
        m_session.openTopic(topic);

        // Once opened, a topic shows the opened image whenever it is selected.
        node->setIcon(0, m_openedTopicIcon);

        showLessonCommands();
        showLessonPage(topic);
    });
}

void TForm1::showLessonCommands()
{
    for (const LessonCommandState &state : m_session.lessonCommands()) {
        QAction *item = nullptr;
        switch (state.command) {
        case LessonCommand::Picture: item = ui->nn2; break;
        case LessonCommand::Video: item = ui->nn3; break;
        case LessonCommand::Narration: item = ui->N8; break;
        case LessonCommand::Test: item = ui->nn5; break;
        case LessonCommand::Page: item = ui->nn1; break;
        case LessonCommand::Program: item = ui->nn4; break;
        }
        item->setEnabled(state.available);
    }
}

void TForm1::showLessonPage(const QString &topic)
{
    if (const auto page = existingLessonFile(QStringLiteral("htm"))) {
        ui->WebBrowser1->Navigate(*page);
        m_session.recordVisit(topic);
    } else {
        ui->WebBrowser1->Navigate(LessonPaths::join(AppDir, CoverPage));
    }
}

void TForm1::addTopic(const QString &title, bool asChild)
{
    m_session.addTopicRow(title);
    QTreeWidget *tree = ui->TreeView1;
    QTreeWidgetItem *selected = tree->currentItem();
    QTreeWidgetItem *parent = selected ? (asChild ? selected : selected->parent()) : nullptr;
    if (parent)
        parent->addChild(newTopicItem(title));
    else
        tree->addTopLevelItem(newTopicItem(title));
}

void TForm1::removeSelectedTopic()
{
    QTreeWidgetItem *selected = ui->TreeView1->currentItem();
    if (!selected)
        return;
    m_session.removeTopicRow(selected->text(0));
    // Its subtree goes with it; the tree then selects a neighbour, which opens that lesson.
    delete selected;
}

void TForm1::setEditingVisible(bool visible)
{
    ui->N1->setVisible(visible);
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
    m_session.saveTopicTree(topicNodes(), [](const QString &notice) { Messages::showInfo(notice); });
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
