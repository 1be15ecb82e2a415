// What the page draws from: the dialogs' state as JSON, taken from the real templates.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ui/DialogTemplates.h"
#include "ui/Resource.h"
#include "web/DialogJson.h"

namespace {

using framework::WindowState;

nlohmann::json Parse(const WindowState& dialog) {
    const nlohmann::json json = nlohmann::json::parse(DialogJson(dialog), nullptr, false);
    EXPECT_FALSE(json.is_discarded());
    return json;
}

const nlohmann::json* Control(const nlohmann::json& dialog, int id) {
    for (const nlohmann::json& control : dialog["controls"]) {
        if (control["id"] == id) {
            return &control;
        }
    }
    return nullptr;
}

TEST(DialogJson, SetupDialogAsTheTemplateLaysItOut) {
    const auto dialog = framework::BuildDialogWindows(SetupDialogTemplate(), nullptr);
    const nlohmann::json json = Parse(*dialog);
    EXPECT_EQ(json["templateId"], IDD_SETUP_DIALOG);
    EXPECT_EQ(json["text"], "VYM Card Setup");
    EXPECT_EQ(json["rect"], nlohmann::json({0, 0, 320, 210}));
    // Every item, in template order (the page's tab order), hidden buttons included.
    ASSERT_EQ(json["controls"].size(), SetupDialogTemplate().items.size());
    int combos = 0, groups = 0, labels = 0, buttons = 0;
    for (const nlohmann::json& control : json["controls"]) {
        const std::string kind = control["kind"];
        combos += kind == "combo";
        groups += kind == "group";
        labels += kind == "label";
        buttons += kind == "button";
    }
    EXPECT_EQ(combos, 12);
    EXPECT_EQ(groups, 7);
    EXPECT_EQ(labels, 12);
    EXPECT_EQ(buttons, 4);
    EXPECT_EQ(json["controls"][0]["text"], "OK");
    EXPECT_EQ(json["controls"][0]["rect"], nlohmann::json({185, 185, 50, 14}));
    EXPECT_EQ((*Control(json, IDC_READ_PORT))["visible"], false);
    EXPECT_EQ((*Control(json, IDC_WSS_IRQ))["rect"], nlohmann::json({77, 45, 65, 74}));
}

TEST(DialogJson, ComboStateAndFocusAsTheProgramKeepsThem) {
    auto dialog = framework::BuildDialogWindows(SetupDialogTemplate(), nullptr);
    WindowState* irq = dialog->FindChild(IDC_WSS_IRQ);
    ASSERT_NE(irq, nullptr);
    irq->entries = {{"5", 5}, {"PnP", 255}, {"7", 7}};
    irq->curSel = 2;
    irq->enabled = false;
    dialog->focusId = IDC_WSS_IRQ;
    const nlohmann::json json = Parse(*dialog);
    const nlohmann::json& combo = *Control(json, IDC_WSS_IRQ);
    EXPECT_EQ(combo["entries"],
              nlohmann::json::parse(R"([{"text":"5","data":5},{"text":"PnP","data":255},)"
                                    R"({"text":"7","data":7}])"));
    EXPECT_EQ(combo["selection"], 2);
    EXPECT_EQ(combo["enabled"], false);
    EXPECT_EQ(json["focus"], IDC_WSS_IRQ);
    // An empty list with nothing selected, as before the dialog is filled.
    EXPECT_EQ((*Control(json, IDC_WSS_IO))["entries"], nlohmann::json::array());
    EXPECT_EQ((*Control(json, IDC_WSS_IO))["selection"], -1);
}

TEST(DialogJson, ProgressBarRangeAndPosition) {
    auto dialog = framework::BuildDialogWindows(WriteEepromDialogTemplate(), nullptr);
    WindowState* bar = dialog->FindChild(IDC_PROGRESS);
    ASSERT_NE(bar, nullptr);
    bar->rangeLow = 0;
    bar->rangeHigh = 248;
    bar->pos = 17;
    const nlohmann::json json = Parse(*dialog);
    EXPECT_EQ(json["templateId"], IDD_WRITE_EEPROM);
    const nlohmann::json& progress = *Control(json, IDC_PROGRESS);
    EXPECT_EQ(progress["kind"], "progress");
    EXPECT_EQ(progress["range"], nlohmann::json({0, 248}));
    EXPECT_EQ(progress["position"], 17);
}

TEST(DialogJson, TextThatIsNotUtf8StillMakesJson) {
    // A caption or entry holding bytes of another code page must not stop the page: they are
    // replaced, the rest stays.
    auto dialog = framework::BuildDialogWindows(SetupDialogTemplate(), nullptr);
    dialog->text = "Card \xE9t\xE9";
    dialog->FindChild(IDC_MIDI2_IRQ)->entries = {{"\xFF", 1}};
    const nlohmann::json json = Parse(*dialog);
    EXPECT_EQ(json["text"], "Card \xEF\xBF\xBDt\xEF\xBF\xBD");
    EXPECT_EQ((*Control(json, IDC_MIDI2_IRQ))["entries"][0]["text"], "\xEF\xBF\xBD");
}

}  // namespace
