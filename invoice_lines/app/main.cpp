#include "invoice_lines/Velmarsh.h"

#include "forms/Application.h"
#include "framework/Main.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmarsh"));
    return forms::runProgram(QStringLiteral("Velmarsh"), [] {
        velmarsh::instalaVelmarsh();
        Main();
    });
}
