// korvelta-fault-program: the program's windows and data module, made as the
// program makes them, run in the current directory (the course folder) and
// driven by commands on standard input, so that a test can put the real
// windows under a fault from outside: another user, a held lock, a full
// disk, SIGKILL.
// Every message box the program would show is printed instead, as
// "error TEXT" or "info TEXT"; each command ends with a line "done".
//
//   learner NAME GROUP   type the learner's name and group on the start screen
//   choose TEXT          choose the first topic with this text
//   choose-other         choose the top-level topic after the current one
//   burst COUNT GROUP [stop]  choose topics in turn COUNT times (0: until
//                        killed), the group "GROUP-i" for step i; prints
//                        "written i KEY" once the visit row is stored, "pending i"
//                        otherwise; with "stop", stops at the first pending step
//   burst-for SECONDS GROUP   the same for a time
//   close                close the main window: "closed" or "open"
//   save-trees           write log.log over and over, two trees in turn, as
//                        closing the window does: "saved A" / "saved B"
//   journal              "journal STATE ROWS": the journal cursor's state
//   ping                 "pong": the program still answers
#include "Components.h"
#include "FaultTrees.h"
#include "LessonPaths.h"
#include "Messages.h"
#include "Platform.h"
#include "ProgramWindows.h"
#include "TableCursor.h"
#include "TopicTreeFile.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit6.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

void say(const QString &line)
{
    std::fputs(qPrintable(QString(line).replace(QLatin1Char('\n'), QLatin1Char(' ')) + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

class FaultProgram final
{
public:
    // The windows as the program makes them; the main window is shown at
    // once, as after the start screen's "Ввод".
    FaultProgram()
        : m_tree(component<QTreeWidget>(Form1, QStringLiteral("TreeView1")))
    {
        Form1->show();
        flushMessages();
    }

    FaultProgram(const FaultProgram &) = delete;
    FaultProgram &operator=(const FaultProgram &) = delete;

    void run(const QString &line)
    {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString command = words.value(0);
        if (command == QLatin1String("learner")) {
            component<QLineEdit>(Form6, QStringLiteral("Edit1"))->setText(words.value(1));
            groupBox()->setText(words.value(2));
        } else if (command == QLatin1String("choose")) {
            choose(line.section(QLatin1Char(' '), 1));
        } else if (command == QLatin1String("choose-other")) {
            const int at = m_tree->indexOfTopLevelItem(m_tree->currentItem());
            m_tree->setCurrentItem(m_tree->topLevelItem((at + 1) % m_tree->topLevelItemCount()));
        } else if (command == QLatin1String("burst")) {
            burst(words.value(1).toInt(), -1, words.value(2), words.value(3) == QLatin1String("stop"));
        } else if (command == QLatin1String("burst-for")) {
            burst(0, words.value(1).toInt(), words.value(2), false);
        } else if (command == QLatin1String("close")) {
            say(Form1->close() ? QStringLiteral("closed") : QStringLiteral("open"));
        } else if (command == QLatin1String("save-trees")) {
            saveTrees();
        } else if (command == QLatin1String("journal")) {
            const TableCursor *journal = DataModule2->Tjurnal;
            say(QStringLiteral("journal %1 %2").arg(int(journal->state())).arg(journal->recordCount()));
        } else if (command == QLatin1String("ping")) {
            say(QStringLiteral("pong"));
        } else if (command == QLatin1String("quit")) {
            QCoreApplication::quit();
        } else {
            say(QStringLiteral("unknown command %1").arg(command));
        }
        flushMessages();
        say(QStringLiteral("done"));
    }

private:
    static QLineEdit *groupBox() { return component<QLineEdit>(Form6, QStringLiteral("Edit2")); }

    QTreeWidgetItem *topic(const QString &text) const
    {
        for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
            if ((*it)->text(0) == text)
                return *it;
        }
        return nullptr;
    }

    void choose(const QString &text)
    {
        if (QTreeWidgetItem *item = topic(text))
            m_tree->setCurrentItem(item);
        else
            say(QStringLiteral("no topic %1").arg(text));
    }

    void burst(int count, int seconds, const QString &group, bool stopWhenPending)
    {
        const QDeadlineTimer deadline(seconds < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(seconds * 1000));
        for (int i = 0; (count <= 0 || i < count) && !deadline.hasExpired(); ++i) {
            groupBox()->setText(QStringLiteral("%1-%2").arg(group).arg(i));
            const int errorsBefore = m_messages.errors.size();
            m_tree->setCurrentItem(m_tree->topLevelItem(i % m_tree->topLevelItemCount()));
            flushMessages();
            const TableCursor *journal = DataModule2->Tjurnal;
            if (m_messages.errors.size() == errorsBefore && journal->state() == TableCursor::State::Browse)
                say(QStringLiteral("written %1 %2").arg(i).arg(journal->value(QStringLiteral("код")).toLongLong()));
            else {
                say(QStringLiteral("pending %1").arg(i));
                if (stopWhenPending)
                    return;
            }
            QCoreApplication::processEvents();
        }
    }

    void saveTrees()
    {
        const QString path = LessonPaths::toDisk(LessonPaths::join(Form1->AppDir, QStringLiteral("log.log")));
        const QVector<TopicNode> trees[2] = {faultTree('A'), faultTree('B')};
        for (int n = 0;; ++n) {
            Messages::guarded([&] { TopicTreeFile::write(path, trees[n % 2]); });
            if (!flushMessages())
                say(QStringLiteral("saved %1").arg(n % 2 == 0 ? QLatin1Char('A') : QLatin1Char('B')));
        }
    }

    // Prints the messages shown since the last call; true when there were errors.
    bool flushMessages()
    {
        bool errors = false;
        for (; m_errorsShown < m_messages.errors.size(); ++m_errorsShown) {
            say(QStringLiteral("error ") + m_messages.errors.at(m_errorsShown));
            errors = true;
        }
        for (; m_infosShown < m_messages.infos.size(); ++m_infosShown)
            say(QStringLiteral("info ") + m_messages.infos.at(m_infosShown));
        return errors;
    }

    // Made first: the windows' start-up messages are printed too.
    Messages::Recorder m_messages;
    ProgramWindows m_windows;
    QTreeWidget *m_tree;
    int m_errorsShown = 0;
    int m_infosShown = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    Platform::prepareEnvironment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Platform::initResources();

    FaultProgram program;
    say(QStringLiteral("ready"));

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, got);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            if (!line.isEmpty())
                program.run(line);
        }
    });
    return app.exec();
}
