#include "TestSession.h"

#include "AppError.h"
#include "LessonPaths.h"

#include <chrono>

namespace {

const QString KeyFileName = QStringLiteral("otwet.txt");
const QString PageExtension = QStringLiteral(".htm");

// The folder part of a stored path: everything up to its last separator.
QString folderPart(const QString &value)
{
    const qsizetype cut = std::max(value.lastIndexOf(QLatin1Char('\\')), value.lastIndexOf(QLatin1Char('/')));
    return value.left(cut + 1);
}

} // namespace

quint32 TestSession::clockSeed()
{
    return quint32(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

void TestSession::seedGenerator()
{
    m_random.seed(seedSource());
}

void TestSession::clearForStart()
{
    finished = false;
    RightCount = 0;
    WrongCount = 0;
    for (TestSlotState &slot : TestSlot)
        slot.chosen = 0;
}

void TestSession::setTestDir(const QVariant &testValue)
{
    if (testValue.isNull()) {
        throw AppError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                           .arg(QStringLiteral("Null"), QStringLiteral("String")),
                       ErrorKind::VariantTypeCast);
    }
    TestDir = QLatin1Char('\\') + folderPart(testValue.toString());
}

void TestSession::readKey(const QString &appDir)
{
    const QString path = LessonPaths::toDisk(keyPath(appDir));
    const AnswerKeyFile::ReadResult key = AnswerKeyFile::read(path);
    if (key.error) {
        // What was read before the failure stays in the key.
        applyKey(key.answers);
        throw AppError(*key.error, ErrorKind::InputOutput);
    }
    if (key.lineCount == 0)
        throw AppError(QStringLiteral("Тест не начат: в файле ответов %1 нет ни одной строки").arg(path));
    if (key.lineCount > KeyCapacity) {
        throw AppError(QStringLiteral("Тест не начат: в файле ответов %1 строк %2, а вопросов в тесте "
                                      "может быть не больше %3")
                           .arg(path)
                           .arg(key.lineCount)
                           .arg(KeyCapacity));
    }
    applyKey(key.answers);
    questionCount = key.lineCount;
}

void TestSession::drawSlots()
{
    std::uniform_int_distribution<int> question(1, questionCount);
    for (int i = 1; i <= SlotCount; ++i) {
        TestSlot[i].question = question(m_random);
        TestSlot[i].correct = AnswerKey[TestSlot[i].question];
    }
    running = true;
}

void TestSession::applyKey(const std::vector<quint8> &answers)
{
    // A line without an answer leaves its entry as an earlier key set it.
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (answers[i] != 0)
            AnswerKey[i + 1] = answers[i];
    }
}

QString TestSession::keyPath(const QString &appDir) const
{
    // TestDir ends in a separator, so the join doubles it; toDisk takes the two as one.
    return LessonPaths::join(appDir + TestDir, KeyFileName);
}

QString TestSession::pagePath(const QString &appDir, int slot) const
{
    return appDir + TestDir + QString::number(TestSlot[slot].question) + PageExtension;
}

void TestSession::open(int slot)
{
    CurrentSlot = slot;
}

void TestSession::choose(int answer)
{
    if (CurrentSlot >= 1 && CurrentSlot <= SlotCount)
        TestSlot[CurrentSlot].chosen = quint8(answer);
}

bool TestSession::finish()
{
    if (!running && !finished)
        return false;
    running = false;
    finished = true;
    RightCount = 0;
    WrongCount = 0;
    for (int i = 1; i <= SlotCount; ++i) {
        // A key line without an answer leaves the right answer 0; an empty slot must not match it.
        if (TestSlot[i].chosen != 0 && TestSlot[i].chosen == TestSlot[i].correct)
            ++RightCount;
        else
            ++WrongCount;
    }
    return true;
}
