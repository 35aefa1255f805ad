#pragma once

#include <QWidget>

// The never-shown host of the journal report.
class TForm8 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm8)

public:
    explicit TForm8(QWidget *parent = nullptr);
    ~TForm8() override;
};

extern TForm8 *Form8;
