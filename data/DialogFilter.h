#pragma once

#include <QString>

// File dialog filters are kept in the course program's own notation,
// "Name|*.a;*.b|Other|*.*"; Qt's dialogs take "Name (*.a *.b);;Other (*.*)".
namespace DialogFilter {
QString toQt(const QString &filter);
}
