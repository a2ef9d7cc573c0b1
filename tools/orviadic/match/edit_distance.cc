#include "match/edit_distance.h"

#include <algorithm>
#include <vector>

namespace orviadic::match {

size_t editLimitFor(size_t length) {
  return length >= 6 ? 2 : 1;
}

size_t editDistanceWithin(std::string_view a, std::string_view b, size_t limit) {
  const size_t over = limit + 1;
  if (a.size() > b.size()) std::swap(a, b);
  if (b.size() - a.size() > limit) return over;
  // One row of the distance table, over b; cells further than limit from the diagonal can
  // only hold distances above limit, so they are held at over and never computed.
  thread_local std::vector<size_t> row;
  row.assign(b.size() + 1, over);
  for (size_t j = 0; j <= std::min(b.size(), limit); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    const size_t from = i > limit ? i - limit : 1;
    const size_t to = std::min(b.size(), i + limit);
    size_t diagonal = row[from - 1];
    row[from - 1] = i <= limit ? i : over;
    size_t best = row[from - 1];
    for (size_t j = from; j <= to; ++j) {
      const size_t above = row[j];
      const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      row[j] = std::min({diagonal + cost, above + 1, row[j - 1] + 1, over});
      diagonal = above;
      best = std::min(best, row[j]);
    }
    if (best > limit) return over;
  }
  return std::min(row[b.size()], over);
}

}  // namespace orviadic::match
