#pragma once

#include <QString>

#include <memory>

// Quenbrook's build written by hand against SQLite: the same SQL texts (translated by hand
// where the Jet dialect differs), connections held open across builds, each statement prepared
// once, results stepped row by row and every tmpreport write of a build in one transaction.
class BuildBaseline {
public:
    BuildBaseline(const QString& mainFile, const QString& spoolerFile);
    ~BuildBaseline();
    BuildBaseline(const BuildBaseline&) = delete;
    BuildBaseline& operator=(const BuildBaseline&) = delete;

    // Fills tmpreport with the deleted items of the sales from desde to hasta (whole days), as
    // the build does with its filters cleared; returns the rows written.
    long run(double desde, double hasta);
    // A digest of tmpreport's rows in stored order, numbers compared by value.
    QByteArray tmpreportDigest();

private:
    struct Statements;
    std::unique_ptr<Statements> m;
};
