#pragma once

#include "JournalReport.h"

#include <QWidget>

// The never-shown host of the journal report.
class TForm8 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm8)

public:
    explicit TForm8(QWidget *parent = nullptr);
    ~TForm8() override;

    // Opens the print preview of the journal rows in view of DataModule2->Tjurnal:
    // pages, zoom, the printer set-up dialog, printing to any printer or to PDF
    // (the report is produced again from the rows then in view). Returns when
    // the preview is closed.
    void Preview();

    JournalReport QuickRep1;
};

extern TForm8 *Form8;
