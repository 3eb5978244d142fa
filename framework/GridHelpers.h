#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace forms {
class Grid;
}

namespace framework {

// Rows appended through each slot of the grid helpers since the slot's last GPrep;
// a slot outside 0 to 20 raises error 9.
class GridRowCounts {
public:
    std::int32_t& operator[](int slot);
    void reset() { m_counters.fill(0); }

private:
    std::array<std::int32_t, 21> m_counters{};
};

extern GridRowCounts gFilasGrilla;
// The column and the setting (1 ascending, 2 descending) of the last OrdenaGrilla.
extern std::int32_t gColOrden;
extern std::int32_t gSentidoOrden;

// Empties the grid and builds its title row and columns from a column specification
// ("title;width|..."), leaving one empty data row; the slot's counter goes to 0.
void GPrep(forms::Grid& grid, std::int16_t slot, const QString& specification);
// Appends one row given as a row text ("cell|cell|...").
void GAddItem(forms::Grid& grid, std::int16_t slot, const QString& row, bool bulk);
// Sorts the grid on a column, ascending or, on a second call for the same column,
// descending, and marks the column's title with "< " or "> ".
void OrdenaGrilla(forms::Grid& grid, std::int32_t col);

} // namespace framework
