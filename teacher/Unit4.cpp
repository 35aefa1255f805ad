#include "Unit4.h"

TForm4 *Form4 = nullptr;

TForm4::TForm4(QWidget *parent)
    : QWidget(parent)
{
}

TForm4::~TForm4() = default;
