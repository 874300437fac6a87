#pragma once

#include <QStringList>

namespace zyrk {
class TFormHlav;
// The map windows' figures: the reply tick with both windows open on a moving live cell,
// and each whole-map operation with the table redrawn. With "--shots DIR" also pictures of
// both windows. Prints figures; never fails on them.
void BenchMaps(TFormHlav& form, const QStringList& arguments);
} // namespace zyrk
