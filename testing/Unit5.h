#pragma once

#include <QDialog>

// The test result window.
class TForm5 final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm5)

public:
    explicit TForm5(QWidget *parent = nullptr);
    ~TForm5() override;
};

extern TForm5 *Form5;
