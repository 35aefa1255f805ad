#include "BenchCases.h"

#include "LessonPaths.h"
#include "TestSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void testStart(const BenchReport &report)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("testy/urok1"));
    QFile key(dir.filePath(QStringLiteral("testy/urok1/otwet.txt")));
    if (!key.open(QIODevice::WriteOnly))
        return;
    for (int i = 0; i < TestSession::KeyCapacity; ++i)
        key.write(QByteArray(1, char('A' + i % 5)) + "\r\n");
    key.close();

    TestSession session;
    session.setTestDir(QStringLiteral("testy\\urok1\\otwet.txt"));
    const double ms = fastestMs(20, [&] {
        session.seedGenerator();
        session.clearForStart();
        session.readKey(dir.path());
        session.drawSlots();
    });
    report({"read a 1000-line key and draw 40 slots", ms, "ms", "< 5 ms"});
}

} // namespace

std::vector<BenchCase> testingBenchCases()
{
    return {{"test-start", testStart}};
}
