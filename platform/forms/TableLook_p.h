#pragma once

class QTableView;

namespace forms {

constexpr int TableRowPixels = 17;

// The look a grid and a list view share: rows of one fixed height without row titles, a
// title row that takes no clicks, columns down to no width, no editing in place.
void setUpTableView(QTableView* view);

} // namespace forms
