// Prints how long the grid helpers take on a large listing: preparing a grid of 19
// columns, appending rows one by one as the listing window does, and sorting on a
// numeric and on a text column.

#include "framework/GridHelpers.h"
#include "framework/ProgramSession.h"

#include "forms/Form.h"
#include "forms/Grid.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace framework;

namespace {

class frmBench : public forms::Form {
public:
    frmBench() : Form(QStringLiteral("frmBench")) { setClientSize(12000, 8000); }
    forms::Grid g{*this, QStringLiteral("g"), {60, 60, 11800, 7800}};
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    framework::ProgramSession session;
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;

    frmBench& form = forms::instance<frmBench>();
    form.show();
    QStringList spec;
    for (int c = 0; c < 19; ++c)
        spec << QStringLiteral("Col %1;%2").arg(c).arg(c == 0 ? 0 : 900);

    QElapsedTimer timer;
    timer.start();
    GPrep(form.g, 9, spec.join(QLatin1Char('|')));
    for (int r = 0; r < rows; ++r) {
        QStringList cells;
        cells << QString::number(r) << QString::number((r * 7919) % 100003)
              << QStringLiteral("Mesa %1").arg(r % 97);
        for (int c = 3; c < 19; ++c)
            cells << QStringLiteral("texto %1").arg((r + c) % 1000);
        GAddItem(form.g, 9, cells.join(QLatin1Char('|')), false);
    }
    QCoreApplication::processEvents();
    const qint64 fill = timer.restart();
    OrdenaGrilla(form.g, 1);
    QCoreApplication::processEvents();
    const qint64 sortNumbers = timer.restart();
    OrdenaGrilla(form.g, 2);
    QCoreApplication::processEvents();
    const qint64 sortTexts = timer.restart();

    std::printf("rows: %d, columns: 19\n", rows);
    std::printf("GPrep + GAddItem per row: %lld ms (%.1f us a row)\n", static_cast<long long>(fill),
                rows ? fill * 1000.0 / rows : 0.0);
    std::printf("OrdenaGrilla on a numeric column: %lld ms\n", static_cast<long long>(sortNumbers));
    std::printf("OrdenaGrilla on a text column: %lld ms\n", static_cast<long long>(sortTexts));
    return 0;
}
