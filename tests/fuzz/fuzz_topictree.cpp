// The topic tree file (log.log) as the main window reads it at start.
#include "FuzzSupport.h"
#include "TopicTreeFile.h"

namespace {

// A text that the file format stores as it is: no leading blanks (they
// would count as depth) and no line ends or NUL.
bool storable(const QString &text)
{
    if (text.startsWith(QLatin1Char(' ')) || text.startsWith(QLatin1Char('\t')))
        return false;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const TopicTreeFile::ReadResult read = TopicTreeFile::parse(FuzzSupport::bytes(data, size));

    // The window hangs each node under the last node one level up: the first
    // node is a root and no node is more than one level below the one before.
    int previous = -1;
    bool allStorable = true;
    for (const TopicNode &node : read.nodes) {
        FUZZ_CHECK(node.level >= 0 && node.level <= previous + 1);
        previous = node.level;
        allStorable = allStorable && storable(node.text);
    }

    // Whatever was read is written back at exit and must come back the same.
    if (allStorable) {
        const TopicTreeFile::ReadResult again = TopicTreeFile::parse(TopicTreeFile::serialize(read.nodes));
        FUZZ_CHECK(!again.error);
        FUZZ_CHECK(again.nodes == read.nodes);
    }
    return 0;
}
