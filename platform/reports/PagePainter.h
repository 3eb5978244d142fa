#pragma once

#include "PageModel.h"

#include <QFont>

class QPainter;

namespace reports {

// The Qt font of a report font, sized in twips (pixel size = points x 20) so that it
// draws and measures in the page model's units on every device.
QFont qtFont(const Font& font);

// Paints a page's operations; the painter maps twips to the device (scale dpi / 1440).
void paintPage(QPainter& painter, const Page& page);

} // namespace reports
