#include "Unit7.h"

TForm7 *Form7 = nullptr;

TForm7::TForm7(QWidget *parent)
    : QDialog(parent)
{
}

TForm7::~TForm7() = default;
