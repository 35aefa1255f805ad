// The program's side of the Access import: whatever the reader child leaves
// behind (an exit, a crash, a hang, cut or garbled output) must end in a
// whole db1.sqlite or in a message, and never in a half-written file.
#include "AppError.h"
#include "FuzzSupport.h"
#include "MdbImport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::ensureApplication(); // the database driver is a plugin
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // First byte: how the child ended; then its standard output and, after
    // the first NUL, its standard error.
    MdbImport::ReaderOutcome outcome;
    QByteArray rest = FuzzSupport::bytes(data, size);
    if (!rest.isEmpty()) {
        const quint8 how = quint8(rest.at(0));
        rest.remove(0, 1);
        outcome.timedOut = how == 0xff;
        outcome.crashed = how == 0xfe;
        outcome.exitCode = how < 0xf0 ? 0 : how & 0x0f;
    }
    const qsizetype split = rest.indexOf('\0');
    outcome.standardOutput = split < 0 ? rest : rest.left(split);
    outcome.standardError = split < 0 ? QByteArray() : rest.mid(split + 1);

    static QTemporaryDir folder;
    const QString sqlite = QDir(folder.path()).filePath(QStringLiteral("db1.sqlite"));
    bool imported = false;
    try {
        MdbImport::importReaderOutcome(outcome, QDir(folder.path()).filePath(QStringLiteral("db1.mdb")), sqlite);
        imported = true;
    } catch (const AppError &error) {
        FUZZ_CHECK(error.kind() == ErrorKind::Import);
    }
    FUZZ_CHECK(imported == QFile::exists(sqlite));
    // Nothing else is left in the folder: no half database, no temporary file.
    FUZZ_CHECK(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size() == (imported ? 1 : 0));
    QFile::remove(sqlite);
    return 0;
}
