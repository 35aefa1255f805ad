#pragma once

#include "Components.h"
#include "Unit13.h"

#include <QPushButton>

// The test window's number buttons "1" to "40" and answer buttons "A)" to "E)", in order.
inline QVector<QPushButton *> numberButtons()
{
    return numberedComponents<QPushButton>(Form13, QStringLiteral("BitBtn%1"), 1, 40);
}

inline QVector<QPushButton *> answerButtons()
{
    return numberedComponents<QPushButton>(Form13, QStringLiteral("BitBtn%1"), 43, 47);
}
