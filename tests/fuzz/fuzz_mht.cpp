// A lesson page saved as a web archive (.mht): what the page viewer decides
// from it and what its own address scheme serves when WebEngine cannot.
#include "FuzzSupport.h"
#include "MhtSchemeHandler.h"

#include <QUrl>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::unique_ptr<MhtArchive> archive = MhtArchive::parse(FuzzSupport::bytes(data, size));
    if (!archive)
        return 0;

    // The page is always one of the archive's parts.
    FUZZ_CHECK(archive->part(archive->rootKey()) != nullptr);
    if (archive->loadsNatively())
        return 0; // WebEngine loads the file itself, in its own process

    // The address the viewer loads leads the scheme handler back to the page.
    const QString archivePath = QStringLiteral("/курс/uroki/урок 1.mht");
    const QUrl url = MhtSchemeHandler::pageUrl(archivePath, *archive);
    FUZZ_CHECK(url.isValid());
    const MhtSchemeHandler::Request request = MhtSchemeHandler::parseRequest(url);
    FUZZ_CHECK(request.archivePath == archivePath);
    FUZZ_CHECK(request.key.compare(archive->rootKey(), Qt::CaseInsensitive) == 0);

    const QString base = QStringLiteral("korvelta-mht:/") + QString::fromLatin1(archivePath.toUtf8().toHex());
    archive->rootHtml(base);
    return 0;
}
