#pragma once

#include <QString>

// One column a grid shows: the cursor's column, its title and width (in
// design pixels), and whether typing in its cells edits the row.
struct GridColumn
{
    QString column;
    QString title;
    int width = 64;
    bool editable = false;
};
