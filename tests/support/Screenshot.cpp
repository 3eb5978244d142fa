#include "Screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

QString saveScreenshot(QWidget* window, const QString& name) {
    QString folder = qEnvironmentVariable("TEST_OUTPUT_DIR");
    if (folder.isEmpty()) folder = QDir::currentPath() + QStringLiteral("/test-output");
    if (!QDir().mkpath(folder)) return {};
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    return window->grab().save(file) ? file : QString();
}
