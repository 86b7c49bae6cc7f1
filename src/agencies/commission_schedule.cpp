#include "agencies/commission_schedule.h"

#include "lib/picture.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/entry_filters.h"

namespace agencies {

namespace {

constexpr int kDayFrom = 501, kMonthFrom = 502, kDayTo = 503, kMonthTo = 504, kLodging = 507, kRack = 601;
constexpr int kOnConfirmation = 1014, kLowerAdults = 1009, kLowerChildren = 1010;
constexpr int kFirstCheck = 30001, kFirstPercentage = 20001, kFirstLabel = 40001;
constexpr const char* kPercentagePicture = "999.99";

// Two digits, as the window's fields keep a day or a month ("5" → "05"; "" stays empty).
std::string twoDigits(const std::string& typed) {
  std::string digits = lib::trim(typed);
  if (digits.size() == 1) digits.insert(0, "0");
  return digits;
}

}  // namespace

bool E_COMIS(win::WDIAG* owner, const std::string& negocio, ScheduleMode mode, CommissionSchedule& schedule,
             ExceptionWindow* window) {
  const bool exception = mode != ScheduleMode::Regular;
  auto init = [&](win::ModalDialog& d) {
    // The types are labelled by the hotel's ROT_COM1 ... ROT_COM20 ("..." when empty).
    std::array<std::string, kCommissionTypes> labels;
    labels.fill("...");
    if (lib::IS_FILE(nullptr, "F_HOTEL3")) {
      auto hotel = lib::USE(nullptr, "F_HOTEL3", "F_HOTEL3");
      if (hotel->Seek(lib::businessKey(negocio)))
        for (int n = 1; n <= kCommissionTypes; ++n)
          if (std::string label = lib::trim(hotel->S("ROT_COM" + std::to_string(n))); !label.empty())
            labels[size_t(n - 1)] = label;
      lib::KILLTABLA(hotel);
    }
    for (int n = 1; n <= kCommissionTypes; ++n) {
      d.SetDlgItemText(kFirstLabel + n - 1, labels[size_t(n - 1)]);
      d.CheckDlgButton(kFirstCheck + n - 1, schedule.applies[size_t(n - 1)]);
      d.SetDlgItemText(kFirstPercentage + n - 1,
                       lib::TRANSFORM_NUMBER(schedule.percentage[size_t(n - 1)].number(), kPercentagePicture));
      win::WEDIT edit(&d, kFirstPercentage + n - 1);
      win::ONLYNUMBER(edit, kPercentagePicture);
    }
    d.SetDlgItemText(kLodging, lib::TRANSFORM_NUMBER(schedule.lodging.number(), kPercentagePicture));
    win::WEDIT lodging(&d, kLodging);
    win::ONLYNUMBER(lodging, kPercentagePicture);
    d.CheckDlgButton(kOnConfirmation, schedule.onConfirmation);
    d.CheckDlgButton(kLowerAdults, schedule.lowerAdults);
    d.CheckDlgButton(kLowerChildren, schedule.lowerChildren);
    win::CCOMBOBOX racks(&d, kRack);
    screens::LOAD_LISTA(d, {kRack}, "ENC_RACK", "ENC_RACK", negocio, "DESCRIP", true);
    for (int id : {kDayFrom, kMonthFrom, kDayTo, kMonthTo, kRack}) d.EnableItem(id, exception);
    if (exception && window) {
      d.SetDlgItemText(kDayFrom, window->dayFrom);
      d.SetDlgItemText(kMonthFrom, window->monthFrom);
      d.SetDlgItemText(kDayTo, window->dayTo);
      d.SetDlgItemText(kMonthTo, window->monthTo);
      screens::SEEK_CODIGO(racks, window->rack);
    }
    d.SetFocusTo(exception ? kDayFrom : kLodging);
  };
  auto accept = [&](win::ModalDialog& d) {
    if (exception) {
      win::CCOMBOBOX racks(&d, kRack);
      if (racks.CurItem() <= 0) {
        screens::error("Debe seleccionar una Tarifa válida");
        d.SetFocusTo(kRack);
        return false;
      }
      if (window)
        *window = {racks.CurCargo(), twoDigits(d.GetDlgItemText(kDayFrom)), twoDigits(d.GetDlgItemText(kMonthFrom)),
                   twoDigits(d.GetDlgItemText(kDayTo)), twoDigits(d.GetDlgItemText(kMonthTo))};
    }
    auto amount = [&](int id) { return lib::Money::parse(d.GetDlgItemText(id)).value_or(lib::Money()); };
    schedule.lodging = amount(kLodging);
    schedule.onConfirmation = d.IsDlgButtonChecked(kOnConfirmation);
    schedule.lowerAdults = d.IsDlgButtonChecked(kLowerAdults);
    schedule.lowerChildren = d.IsDlgButtonChecked(kLowerChildren);
    for (int n = 1; n <= kCommissionTypes; ++n) {
      schedule.applies[size_t(n - 1)] = d.IsDlgButtonChecked(kFirstCheck + n - 1);
      schedule.percentage[size_t(n - 1)] = amount(kFirstPercentage + n - 1);
    }
    return true;
  };
  return win::DIALOG_BOX("E_COMISIONES", owner, {init, accept}) == win::IDOK;
}

}  // namespace agencies
