// The answer key (otwet.txt) of a test folder, whole and fed in pieces.
#include "AnswerKeyFile.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const AnswerKeyFile::ReadResult whole = AnswerKeyFile::parse(QByteArrayView(data, qsizetype(size)));
    FUZZ_CHECK(!whole.error);
    FUZZ_CHECK(whole.lineCount >= 0);
    FUZZ_CHECK(whole.answers.size() == std::size_t(std::min(whole.lineCount, AnswerKeyFile::Capacity)));
    for (const quint8 answer : whole.answers)
        FUZZ_CHECK(answer <= 5);

    // The file is read in blocks: where a block ends must not change the key.
    // The first byte picks the block size, so a crash input replays exactly.
    if (size > 0) {
        const qint64 block = 1 + data[0] % 7;
        qsizetype at = 0;
        const AnswerKeyFile::ReadResult pieces = AnswerKeyFile::read([&](char *buffer, qint64 room) -> qint64 {
            const qint64 count = std::min<qint64>({block, room, qint64(size) - at});
            std::memcpy(buffer, data + at, std::size_t(count));
            at += count;
            return count;
        });
        FUZZ_CHECK(!pieces.error);
        FUZZ_CHECK(pieces.lineCount == whole.lineCount);
        FUZZ_CHECK(pieces.answers == whole.answers);
    }
    return 0;
}
