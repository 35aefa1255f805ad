#include "EditorCourse.h"

#include "Components.h"
#include "Unit1.h"

#include <QStringEncoder>
#include <QTreeWidget>
#include <QtTest>

const QStringList EditorCourse::StartTree = {"0:Электричество", "1:Закон Ома", "2:Опыт", "1:Мощность",
                                             "0:Магнетизм"};

EditorCourse::EditorCourse()
{
    m_course.writeFile("log.log", cp1251("Электричество\r\n\tЗакон Ома\r\n\t\tОпыт\r\n\tМощность\r\nМагнетизм\r\n"));
    for (const char *title : {"Электричество", "Закон Ома", "Опыт", "Мощность", "Магнетизм"})
        m_course.exec("INSERT INTO urok (urok) VALUES (?)", {QString::fromUtf8(title)});
}

EditorCourse::~EditorCourse() = default;

void EditorCourse::start()
{
    m_windows = std::make_unique<ProgramWindows>();
    QCOMPARE(m_messages.errors, QStringList());
    QCOMPARE(treeLines(), StartTree);
}

QByteArray EditorCourse::cp1251(const QString &text)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

QStringList EditorCourse::treeLines()
{
    QStringList lines;
    for (const TopicNode &node : Form1->topicNodes())
        lines << QStringLiteral("%1:%2").arg(node.level).arg(node.text);
    return lines;
}

QTreeWidgetItem *EditorCourse::findNode(const QString &text)
{
    const auto found =
        component<QTreeWidget>(Form1, "TreeView1")->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}
