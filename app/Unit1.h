#pragma once

#include "TopicTreeFile.h"

#include <QIcon>
#include <QMainWindow>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

namespace Ui { class TForm1; }

class CourseSession;
class MediaPlayer;
class QLabel;
class QTimer;
class QTreeWidgetItem;
class StatusClock;
class TDataModule2;

// The main window: the topic tree, the lesson page, the menu of lesson commands.
class TForm1 final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    explicit TForm1(CourseSession &session, QWidget *parent = nullptr);
    ~TForm1() override;

    // Binds the data-aware lesson title and the course session to the data
    // module's tables; the module is created after this window, so this comes
    // after both exist.
    void attachDataModule(TDataModule2 &module);

    // The application folder, captured once at creation.
    QString AppDir;

    static const QString OpenDialogFilter;
    static const QString AuthorCredit;

    // The tree as the topic file stores it, and back.
    QVector<TopicNode> topicNodes() const;
    void setTopicNodes(const QVector<TopicNode> &nodes);

    // The lesson editor's topic commands. A new topic's lesson row is posted
    // first; only then does its node join the tree: as the last child of the
    // selected node (`asChild`) or as its last sibling, or as the last root
    // when nothing is selected. Removing takes the selected node with its
    // subtree and the lesson row of its title; the tree then selects a
    // neighbour, which opens that lesson. Both throw AppError on a database error.
    void addTopic(const QString &title, bool asChild);
    void removeSelectedTopic();
    // Shows or hides the "Редактирование" command, as the password decides.
    void setEditingVisible(bool visible);

public slots:
    void Timer1Timer();
    void TreeView1Change();
    void nn1Click();
    void nn2Click();
    void nn3Click();
    void nn4Click();
    void nn5Click();
    void N5Click();
    void N7Click();
    void N8Click();
    void BitBtn5Click();
    void BitBtn4Click();
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void connectCommands();
    void updateLessonTitle();
    // The steps of a topic choice after its lesson row was looked up.
    void showLessonCommands();
    void showLessonPage(const QString &topic);
    std::optional<QString> existingLessonFile(const QString &column) const;
    QTreeWidgetItem *newTopicItem(const QString &text) const;

    std::unique_ptr<Ui::TForm1> ui;
    CourseSession &m_session;
    MediaPlayer *MediaPlayer1;
    MediaPlayer *MediaPlayer2;
    QTimer *Timer1;
    std::unique_ptr<StatusClock> m_clock;
    QLabel *m_credit;
    // Icons shared by every topic node: a large tree is built at once.
    QIcon m_topicIcon;
    QIcon m_openedTopicIcon;
};

extern TForm1 *Form1;
