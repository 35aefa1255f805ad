#include "Unit8.h"

#include "AppError.h"
#include "Messages.h"
#include "Unit2.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>

TForm8 *Form8 = nullptr;

TForm8::TForm8(QWidget *parent)
    : QWidget(parent)
{
}

TForm8::~TForm8() = default;

void TForm8::Preview()
{
    if (!DataModule2)
        throw AppError(QStringLiteral("Tjurnal: Cannot perform this operation on a closed dataset"),
                       ErrorKind::Database);
    TableCursor &journal = *DataModule2->Tjurnal;

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(JournalReport::pageLayout());
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Результаты учебной деятельности учащихся"));

    // This host is never shown: the preview belongs to the window the teacher works in.
    QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this, &journal](QPrinter *target) {
        // Every page, unless a range was chosen in the printer dialog.
        const QPageRanges pages =
            target->printRange() == QPrinter::PageRange ? target->pageRanges() : QPageRanges();
        Messages::guarded([&] { QuickRep1.paint(journal, *target, pages); });
    });
    dialog.exec();
}
