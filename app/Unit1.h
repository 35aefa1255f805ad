#pragma once

#include "TopicTreeFile.h"

#include <QMainWindow>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

namespace Ui { class TForm1; }

class MediaPlayer;
class QLabel;
class QTimer;
class QTreeWidgetItem;
class TDataModule2;

// The main window: the topic tree, the lesson page, the menu of lesson commands.
class TForm1 final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // Binds the data-aware lesson title to the data module's lesson table; the
    // module is created after this window, so this comes after both exist.
    void attachDataModule(TDataModule2 &module);

    // The application folder, captured once at creation.
    QString AppDir;

    std::unique_ptr<Ui::TForm1> ui;
    MediaPlayer *MediaPlayer1;
    MediaPlayer *MediaPlayer2;
    QTimer *Timer1;
    QLabel *statusDate;
    QLabel *statusTime;
    QLabel *statusCredit;

    static const QString OpenDialogFilter;
    static const QString AuthorCredit;

    // The tree as the topic file stores it, and back.
    QVector<TopicNode> topicNodes() const;
    void setTopicNodes(const QVector<TopicNode> &nodes);

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
    void updateLessonTitle();
    // The current lesson row's file for a column, when it is set and exists.
    std::optional<QString> existingLessonFile(const QString &column) const;

    // The tree file was read only up to a bad line: its rest must survive the next write.
    bool m_treeReadIncomplete = false;
};

extern TForm1 *Form1;
