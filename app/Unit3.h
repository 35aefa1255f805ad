#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

namespace Ui { class TForm3; }

// The picture window: the lesson's picture or circuit diagram, scaled to the
// largest size that fits with its aspect kept, anchored top-left. Top-most.
class TForm3 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm3)

public:
    explicit TForm3(QWidget *parent = nullptr);
    ~TForm3() override;

    // Decodes the picture by its extension into the window's image; throws
    // AppError for an unknown extension or a picture that cannot be read, and
    // then keeps the picture shown before.
    void loadPicture(const QString &path);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void rescale();

    std::unique_ptr<Ui::TForm3> ui;
    QImage m_picture;
    bool m_placed = false;
};

extern TForm3 *Form3;
