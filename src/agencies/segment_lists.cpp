#include "agencies/segment_lists.h"

#include <memory>

#include "agencies/segments.h"
#include "lib/text.h"
#include "lib/wdbtable.h"
#include "screens/form.h"
#include "win/controls.h"
#include "win/dialog_window.h"
#include "win/wdiag.h"

namespace agencies {

namespace {

// The details of the segment chosen in the set's list.
void loadDetails(win::WDIAG& dialog, const std::string& negocio, const SegmentList& s) {
  win::CCOMBOBOX details(&dialog, s.detailId);
  details.Clear();
  const std::string segment = win::CCOMBOBOX(&dialog, s.segmentId).CurCargo();
  if (!segment.empty())
    screens::LOAD_LISTA_IF(dialog, {s.detailId}, "DET_SEG", "DET_SEG2",
                           setKey(negocio, s.set) + lib::padded(segment, 4), {});
}

}  // namespace

SegmentLists segmentLists(int segmentId, int detailId) {
  return {{{0, segmentId, detailId, "E_SEGMENTO", "D_SEGMENTO"},
           {1, 611, 612, "E_SEG2", "D_SEG2"},
           {2, 613, 614, "E_SEG3", "D_SEG3"},
           {3, 615, 616, "E_SEG4", "D_SEG4"}}};
}

void BIND_SEGMENTOS(win::WDIAG& dialog, screens::FORM& form, lib::WDBTable* record, const std::string& negocio,
                    const SegmentLists& lists) {
  for (const SegmentList& s : lists) {
    form.CODE(s.segmentId, record, s.segmentField);
    form.CODE(s.detailId, record, s.detailField);
    dialog.ADD(std::make_unique<win::CCOMBOBOX>(&dialog, s.segmentId),
               [negocio, s](win::WDIAG& d, win::WCONTROL&, int notification) {
                 if (notification == win::CBN_SELCHANGE) loadDetails(d, negocio, s);
                 return 1;
               });
  }
}

void LLENA_SEGMENTOS(win::WDIAG& dialog, const std::string& negocio, const SegmentLists& lists) {
  for (const SegmentList& s : lists)
    screens::LOAD_LISTA_IF(dialog, {s.segmentId}, "ENC_SEG", "ENC_SEG", setKey(negocio, s.set), {});
}

void MUESTRA_SEGMENTOS(win::WDIAG& dialog, const lib::WDBTable& record, const std::string& negocio,
                       const SegmentLists& lists) {
  for (const SegmentList& s : lists) {
    win::CCOMBOBOX segment(&dialog, s.segmentId);
    screens::SEEK_CODIGO(segment, record.S(s.segmentField));
    loadDetails(dialog, negocio, s);
  }
}

}  // namespace agencies
