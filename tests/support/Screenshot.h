#pragma once

#include <QString>

class QImage;
class QWidget;

// Saves a picture of a window as <TEST_OUTPUT_DIR>/<name>.png (the build folder's
// test-output); returns the file written, empty when it could not be.
QString saveScreenshot(QWidget* window, const QString& name);
// The same for a picture (a page as another program renders it).
QString saveScreenshot(const QImage& image, const QString& name);
