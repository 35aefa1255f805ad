#pragma once

#include <QWidget>

// The picture window: the lesson's picture or circuit diagram, scaled to fit.
class TForm3 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm3)

public:
    explicit TForm3(QWidget *parent = nullptr);
    ~TForm3() override;

    // Decodes the picture by its extension into the window's image; throws
    // AppError for an unknown extension or a picture that cannot be read.
    void loadPicture(const QString &path);
};

extern TForm3 *Form3;
