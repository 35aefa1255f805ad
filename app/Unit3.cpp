#include "Unit3.h"

TForm3 *Form3 = nullptr;

TForm3::TForm3(QWidget *parent)
    : QWidget(parent)
{
}

TForm3::~TForm3() = default;

void TForm3::loadPicture(const QString &path)
{
    Q_UNUSED(path)
}
