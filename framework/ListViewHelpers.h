#pragma once

#include <QString>

#include <cstdint>

namespace forms {
class ListView;
}

// The list-view twins of GPrep and GAddItem: the same column specification and row
// texts, counting rows in the same slots of gFilasGrilla.
namespace framework {

// Empties the list's rows and columns and builds its columns from a column specification
// ("title;width|..."): column i gets the key "A" & i; the slot's counter goes to 0.
void lvPrep(forms::ListView& lv, std::int16_t slot, const QString& specification);
// Appends the n-th row since lvPrep (key "B" & n) from a row text ("text|sub-item 1|...");
// field i from 1 becomes sub-item i (key "C" & i); fields beyond the columns are dropped.
void lvAddItem(forms::ListView& lv, std::int16_t slot, const QString& row);
// Selects every row of the list.
void lvSeleccionarTodos(forms::ListView& lv);

} // namespace framework
