// The segment lists of an editor whose record is classified by market segments (an agency,
// a country): for each of the four sets a list of the set's segments and a list of the
// chosen segment's details, bound to the record's segment and detail fields of that set.
// Choosing another segment fills its detail list anew; a list without a selection leaves
// its field as it was.
#pragma once

#include <array>
#include <string>

namespace lib {
class WDBTable;
}
namespace screens {
class FORM;
}
namespace win {
class WDIAG;
}

namespace agencies {

struct SegmentList {
  int set, segmentId, detailId;
  const char *segmentField, *detailField;
};
using SegmentLists = std::array<SegmentList, 4>;

// Sets 1 to 3 in the controls every such editor gives them (611/612, 613/614, 615/616),
// set 0 in `segmentId` and `detailId`.
SegmentLists segmentLists(int segmentId, int detailId);

// Binds the lists to `record`'s fields in `form`; a segment chosen fills its details.
void BIND_SEGMENTOS(win::WDIAG& dialog, screens::FORM& form, lib::WDBTable* record, const std::string& negocio,
                    const SegmentLists& lists);
// Fills the segment lists with the business unit's segments of each set.
void LLENA_SEGMENTOS(win::WDIAG& dialog, const std::string& negocio, const SegmentLists& lists);
// Positions each segment list on `record`'s segment and fills its detail list, before the
// form loads the record (so that the details it positions on are there).
void MUESTRA_SEGMENTOS(win::WDIAG& dialog, const lib::WDBTable& record, const std::string& negocio,
                       const SegmentLists& lists);

}  // namespace agencies
