#include "deleted_items/Quenbrook.h"

#include "forms/Application.h"
#include "framework/Main.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenbrook"));
    return forms::runProgram(QStringLiteral("Quenbrook"), [] {
        instalaQuenbrook();
        Main();
    });
}
