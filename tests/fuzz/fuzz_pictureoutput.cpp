// The program's side of the metafile reader: whatever the child writes, the
// picture is taken only when it is whole, and then exactly as written.
#include "FuzzSupport.h"
#include "MetafileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    const QImage image = MetafileReader::decodeOutput(bytes);
    if (!image.isNull())
        FUZZ_CHECK(MetafileReader::encode(image) == bytes);
    return 0;
}
