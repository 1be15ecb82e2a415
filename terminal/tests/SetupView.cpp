#include "terminal/tests/SetupView.h"

#include "ui/DialogTemplates.h"

namespace {

void Fill(CDialogView& view, int id, std::vector<std::string> entries, int selection) {
    CControlView* combo = ControlById(view, id);
    combo->entries = std::move(entries);
    combo->selection = selection;
    combo->text = selection >= 0 ? combo->entries[static_cast<std::size_t>(selection)] : "";
}

}  // namespace

CControlView* ControlById(CDialogView& view, int id) {
    const int index = IndexOfId(view, id);
    return index >= 0 ? &view.controls[static_cast<std::size_t>(index)] : nullptr;
}

int IndexOfId(const CDialogView& view, int id) {
    for (std::size_t i = 0; i < view.controls.size(); ++i) {
        if (view.controls[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CDialogView FilledSetupView() {
    CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    Fill(view, 1003,
         {"PnP", "---", "534", "544", "554", "564", "574", "584", "594", "5A4", "5B4", "5C4", "5D4",
          "5E4", "5F4", "604"},
         2);
    Fill(view, 1004, {"5", "PnP", "7", "9", "11", "12", "15"}, 0);
    Fill(view, 1005, {"PnP", "0", "1", "3"}, 2);
    Fill(view, 1006, {"PnP", "0", "1", "3"}, 1);
    Fill(view, 1007, {"PnP", "300", "310", "320", "330", "340", "350", "360"}, 1);
    Fill(view, 1008, {"PnP", "5", "7", "9", "11", "12", "15"}, 3);
    Fill(view, 1009, {"PnP", "308", "318", "328", "338", "348", "358", "368"}, 1);
    Fill(view, 1010, {"PnP", "388"}, 1);
    Fill(view, 1011, {"PnP", "220", "240", "260", "280"}, 1);
    Fill(view, 1012, {"---", "201"}, 1);
    Fill(view, 1013, {"---", "PnP", "300", "310", "320", "330", "340", "350", "360"}, 5);
    Fill(view, 1014, {"---", "PnP", "5", "7", "9", "11", "12", "15"}, 5);
    return view;
}
