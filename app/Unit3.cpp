#include "Unit3.h"
#include "ui_Unit3.h"

#include "PictureDecoder.h"
#include "WindowPlacement.h"

#include <QPixmap>
#include <QResizeEvent>
#include <QShowEvent>

TForm3 *Form3 = nullptr;

TForm3::TForm3(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TForm3>())
{
    ui->setupUi(this);
    // Only the system-menu (close) button, above every ordinary window.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    resize(287, 182);
}

TForm3::~TForm3() = default;

void TForm3::loadPicture(const QString &path)
{
    m_picture = PictureDecoder::load(path);
    rescale();
}

void TForm3::rescale()
{
    QLabel *image = ui->Image1;
    // Image1 fills the client area; its own geometry may lag behind the layout.
    const QSize client = size();
    if (m_picture.isNull() || client.isEmpty()) {
        image->clear();
        return;
    }
    const QSize fitted = m_picture.size().scaled(client, Qt::KeepAspectRatio);
    if (fitted.isEmpty()) {
        image->clear();
        return;
    }
    image->setPixmap(QPixmap::fromImage(
        m_picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void TForm3::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    rescale();
}

void TForm3::showEvent(QShowEvent *event)
{
    // Centred on the desktop the first time; afterwards where the user left it.
    if (!m_placed) {
        m_placed = true;
        WindowPlacement::centreOnDesktop(this);
    }
    QWidget::showEvent(event);
}
