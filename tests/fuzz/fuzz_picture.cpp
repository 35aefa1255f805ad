// A lesson picture decoded by the decoder its extension calls for; built once
// per extension (KORVELTA_FUZZ_PICTURE_KIND), each with its own corpus.
#include "AppError.h"
#include "FuzzSupport.h"
#include "PictureDecoder.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const QImage image = PictureDecoder::decode(PictureDecoder::Kind::KORVELTA_FUZZ_PICTURE_KIND,
                                                    FuzzSupport::bytes(data, size));
        // The picture window scales what it is given; an empty picture is an error instead.
        FUZZ_CHECK(!image.isNull());
    } catch (const AppError &error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
    return 0;
}
