#pragma once

#include <QWidget>

// The test window.
class TForm13 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm13)

public:
    explicit TForm13(QWidget *parent = nullptr);
    ~TForm13() override;
};

extern TForm13 *Form13;
