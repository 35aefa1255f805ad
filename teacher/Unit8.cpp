#include "Unit8.h"

TForm8 *Form8 = nullptr;

TForm8::TForm8(QWidget *parent)
    : QWidget(parent)
{
}

TForm8::~TForm8() = default;
