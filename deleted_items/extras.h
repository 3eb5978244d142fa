#pragma once

namespace quenbrook {

// Whether a sale has deleted items: any row of the deleted-products table, or, with
// soloLuegoDelTicket, only a deletion strictly later than the sale's closing date and time
// (a date serial).
bool TraeEliminado(double idventa, bool soloLuegoDelTicket, double cierre);

} // namespace quenbrook
