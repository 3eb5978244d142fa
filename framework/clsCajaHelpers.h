#pragma once

#include <chrono>
#include <functional>

namespace framework {

// Fills the missing cash dates of sales.
class clsCajaHelpers {
public:
    // How many of the sales without cash date are done, out of how many.
    using Progress = std::function<void(long done, long total)>;

    // groupTime bounds the work of one commit, and so the point-of-sale system's own writers'
    // wait for the pass.
    explicit clsCajaHelpers(std::chrono::milliseconds groupTime = std::chrono::milliseconds(40))
        : m_groupTime(groupTime) {}

    // Gives every sale without cash date the opening date of its shift. The updates are
    // committed in groups of at most groupTime of work, and what was updated is kept when an
    // error ends the pass. progress hears of each commit of a pass longer than one group, with
    // no group open.
    void generaFechaCaja(const Progress& progress = {});

private:
    std::chrono::milliseconds m_groupTime;
};

} // namespace framework
