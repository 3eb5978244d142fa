#pragma once

namespace framework {

// Fills the missing cash dates of sales.
class clsCajaHelpers {
public:
    // Gives every sale without cash date the opening date of its shift.
    void generaFechaCaja();
};

} // namespace framework
