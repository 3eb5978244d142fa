#pragma once

#include <QImage>
#include <QVector>

namespace forms {
class ImageList;
}

namespace framework {

// The pictures of the four export tools, in the order of ImageList1: spreadsheet, PDF,
// text, word processor.
QVector<QImage> exportToolPictures();
// Fills an image list with them (the parameters windows' ImageList1).
void addExportToolPictures(forms::ImageList& list);

} // namespace framework
