#pragma once

#include "tools/pos/DemoInstallation.h"

#include <QStringList>

// Reads the demo trade's options of a benchmark's command line ("--sales N", "--days D",
// "--seed S", each a positive whole number) over the given defaults; false on anything else.
inline bool readBenchOptions(const QStringList& args, demo::Options& options) {
    if (args.size() % 2 != 0) return false;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        bool ok = false;
        const int value = args[i + 1].toInt(&ok);
        if (!ok || value <= 0) return false;
        if (args[i] == QLatin1String("--sales"))
            options.sales = value;
        else if (args[i] == QLatin1String("--days"))
            options.days = value;
        else if (args[i] == QLatin1String("--seed"))
            options.seed = unsigned(value);
        else
            return false;
    }
    return true;
}
