#pragma once

#include <QDialog>

// The editing password window.
class TForm7 final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm7)

public:
    explicit TForm7(QWidget *parent = nullptr);
    ~TForm7() override;
};

extern TForm7 *Form7;
