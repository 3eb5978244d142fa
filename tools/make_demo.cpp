// make_demo <folder> [--sales N] [--days D] [--seed S] [--sqlserver]
// Writes a demo point-of-sale installation (see DemoInstallation.h) and tells what it holds.

#include "tools/pos/DemoInstallation.h"

#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: make_demo <folder> [--sales N] [--days D] [--seed S] [--sqlserver]\n"
                 "  --sales N  about N sales in all, besides those that replace voided ones\n"
                 "             (default about 34 a shift, two shifts a day)\n"
                 "  --days D   days of trade ending today (default 28)\n"
                 "  --seed S   seed of the pseudo-random choices (default 1)\n"
                 "  --sqlserver  the installation is of the SQL Server kind, on the embedded engine\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString folder;
    demo::Options options;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--sqlserver")) {
            options.sqlServer = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            if (i + 1 >= args.size()) return usage();
            bool ok = false;
            const long value = args[++i].toLong(&ok);
            if (!ok || value < 0) return usage();
            if (a == QLatin1String("--sales"))
                options.sales = int(value);
            else if (a == QLatin1String("--days") && value > 0)
                options.days = int(value);
            else if (a == QLatin1String("--seed"))
                options.seed = unsigned(value);
            else
                return usage();
        } else if (folder.isEmpty()) {
            folder = a;
        } else {
            return usage();
        }
    }
    if (folder.isEmpty()) return usage();

    try {
        const demo::Counts c = demo::makeInstallation(folder, options);
        const QString first = runtime::toDate(runtime::today() - (options.days - 1)).toString(Qt::ISODate);
        const QString last = runtime::toDate(runtime::today()).toString(Qt::ISODate);
        std::printf("Point of sale in %s (%s to %s)\n", qPrintable(QDir(folder).absolutePath()),
                    qPrintable(first), qPrintable(last));
        std::printf("  %d shifts (the last still open), %d sales (%d open, %d voided, %d of them replaced), "
                    "%d lines, %d discounts\n",
                    c.shifts, c.sales, c.open, c.voided, c.replaced, c.lines, c.discounts);
        std::printf("  %d deleted items, %d motive rows, %d audit entries of voided sales, %d sales without "
                    "cash date\n",
                    c.deletions, c.motiveRows, c.audits, c.withoutCashDate);
        std::printf("  program folder: %s\n", qPrintable(demo::programFolder(QDir(folder).absolutePath())));
    } catch (const runtime::RuntimeError& e) {
        std::fprintf(stderr, "make_demo: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
