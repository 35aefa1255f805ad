#pragma once

#include "AnswerKeyFile.h"

#include <QString>
#include <QVariant>

#include <array>
#include <functional>
#include <random>

// One of the 40 places of a test: which question it shows, that question's
// right answer when it was drawn, and the answer chosen (0 none, 1 to 5 = A to E).
struct TestSlotState
{
    int question = 0;
    quint8 correct = 0;
    quint8 chosen = 0;
};

// The state of the test window, kept for the whole run and between tests, and
// the rules of starting, answering and finishing a test. The window calls the
// steps of a start one by one, so that a step that fails leaves the earlier
// ones done.
class TestSession final
{
public:
    static constexpr int SlotCount = 40;
    static constexpr int KeyCapacity = AnswerKeyFile::Capacity;

    // Entries 1 to KeyCapacity: the right answers (0 to 5) of the questions; entry 0 is unused.
    std::array<quint8, KeyCapacity + 1> AnswerKey{};
    // Slots 1 to SlotCount; slot 0 is unused.
    std::array<TestSlotState, SlotCount + 1> TestSlot{};
    // The slot last opened with a number button; 0 before the first one.
    int CurrentSlot = 0;
    // "\" and the folder part of the lesson's test value, as text.
    QString TestDir;
    int RightCount = 0;
    int WrongCount = 0;
    // The number of questions of the last key read.
    int questionCount = 0;
    // From a successful start to the finish.
    bool running = false;
    // A test was finished and no start has been made since: its slots can be graded again.
    bool finished = false;

    // Where a start takes the generator's seed from; the clock unless a test says otherwise.
    std::function<quint32()> seedSource = clockSeed;
    static quint32 clockSeed();

    // The steps of a start, in order.
    void seedGenerator();
    // Counts to 0 and every chosen answer cleared.
    void clearForStart();
    // Takes the test folder from the lesson row's test value; a Null value cannot
    // be converted to text, and the folder stays as it was.
    void setTestDir(const QVariant &testValue);
    // Reads the key file into AnswerKey. A key that cannot be read, is empty or
    // is longer than KeyCapacity stops the start with an AppError.
    void readKey(const QString &appDir);
    // Fills every slot with a question drawn at random from 1 to questionCount; the test runs.
    void drawSlots();

    QString keyPath(const QString &appDir) const;
    QString pagePath(const QString &appDir, int slot) const;

    // A number button: the slot becomes current.
    void open(int slot);
    // An answer button: the chosen answer of the current slot (none before the first open).
    void choose(int answer);

    // Grades the running test, or again the one last finished (with any answer
    // changed since), into RightCount and WrongCount, and stops it. False, with
    // nothing changed, before the first start and after a start that failed:
    // those slots hold no test of this run. A slot left unanswered is never right.
    bool finish();

private:
    void applyKey(const std::vector<quint8> &answers);

    std::mt19937 m_random;
};
