#include "Unit13.h"

TForm13 *Form13 = nullptr;

TForm13::TForm13(QWidget *parent)
    : QWidget(parent)
{
}

TForm13::~TForm13() = default;
