#include "Screenshot.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QWidget>

QString saveScreenshot(const QImage& image, const QString& name) {
    QString folder = qEnvironmentVariable("TEST_OUTPUT_DIR");
    if (folder.isEmpty()) folder = QDir::currentPath() + QStringLiteral("/test-output");
    if (!QDir().mkpath(folder)) return {};
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    return image.save(file) ? file : QString();
}

QString saveScreenshot(QWidget* window, const QString& name) {
    return saveScreenshot(window->grab().toImage(), name);
}
