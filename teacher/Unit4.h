#pragma once

#include <QWidget>

// The lesson editor and the journal.
class TForm4 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm4)

public:
    explicit TForm4(QWidget *parent = nullptr);
    ~TForm4() override;
};

extern TForm4 *Form4;
