// Notification Center's action labels in the user's language: from its strings table, from the
// known translations where the table cannot be read, English always; and what the controller does
// with a row whose labels are in another language.
#include "notificationcenter/action_labels.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notificationcenter/controller_world.h"
#include "sim/notification_center_strings.h"

namespace marlowick {
namespace {

using ::testing::Contains;
using testing::ControllerWorld;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

TEST(ActionLabels, ThePreferredLanguageIsMatchedWholeThenCutBackAndInOrder) {
    std::vector<std::string> table{"de", "en", "pt", "zh-Hans"};
    auto choose = [&](std::vector<std::string> preferred) { return chooseLanguage(preferred, table); };
    EXPECT_EQ(choose({"de-DE", "en"}), "de");
    EXPECT_EQ(choose({"zh-Hans-CN"}), "zh-Hans");
    EXPECT_EQ(choose({"pt_BR"}), "pt");
    EXPECT_EQ(choose({"fr-FR", "pt-PT"}), "pt") << "the first preferred one the table holds";
    EXPECT_EQ(choose({"fr", "x-"}), std::nullopt);
    EXPECT_EQ(choose({}), std::nullopt);
}

TEST(ActionLabels, EveryKeyWithTheEnglishTextCountsUnusableTextsAreDroppedAndEnglishAlwaysMatches) {
    platform::StringsTable table;
    table.languages["en"] = {
        {"A", "Close"}, {"B", "Close"}, {"C", "Clear All"}, {"D", "Show"}, {"E", "Other"}};
    table.languages["de"] = {{"A", "Schließen"}, {"B", "Zu"}, {"C", "Alle\nentfernen"}, {"D", ""}};
    std::vector<std::string> german{"de-AT"};
    auto labels = labelsFromTable(table, german);
    ASSERT_TRUE(labels);
    EXPECT_EQ(labels->language, "de");
    EXPECT_TRUE(labels->fromBundle);
    EXPECT_THAT(labels->close, ElementsAre("Schließen", "Zu", "Close"));
    EXPECT_THAT(labels->clearAll, ElementsAre("Clear All")) << "a label of two lines is no label";
    EXPECT_THAT(labels->show, ElementsAre("Show"));

    std::vector<std::string> japanese{"ja"};
    EXPECT_EQ(labelsFromTable(table, japanese)->language, "en") << "a language the table lacks: English";
    table.languages.erase("en");
    EXPECT_FALSE(labelsFromTable(table, german)) << "without English nothing can be matched";
    platform::StringsTable unrelated;
    unrelated.languages["en"] = {{"X", "Something else"}};
    EXPECT_FALSE(labelsFromTable(unrelated, german));
}

// The translations known here are those Notification Center ships, in every language it ships.
TEST(ActionLabels, TheKnownTranslationsAgreeWithNotificationCentersOwnTable) {
    sim::NotificationCenterStrings strings;
    auto table = strings.table();
    for (const auto& language : sim::NotificationCenterStrings::shippedLanguages()) {
        std::vector<std::string> preferred{language};
        auto fromTable = labelsFromTable(table, preferred);
        ASSERT_TRUE(fromTable) << language;
        auto known = knownLabels(preferred);
        EXPECT_EQ(known.language, language);
        EXPECT_EQ(known.close, fromTable->close) << language;
        EXPECT_EQ(known.clearAll, fromTable->clearAll) << language;
        EXPECT_EQ(known.show, fromTable->show) << language;
    }
}

TEST(ActionLabels, ReadOncePerNotificationCenterProcessAndLoggedWithTheirSource) {
    ControllerWorld world;
    world.mac.bundleStrings().setPreferredLanguages({"de-DE"});
    world.center().setLanguage("de");
    auto before = world.mark();
    EXPECT_THAT(notificationCenterLabels().close, ElementsAre("Schließen", "Close"));
    notificationCenterLabels();
    std::string german =
        "Notification Center's labels (de, from its strings table): Close \"Schließen\" or "
        "\"Close\", Clear All \"Alle entfernen\" or \"Clear All\", Show \"Anzeigen\" or \"Show\"";
    EXPECT_THAT(world.linesSince(before), ElementsAre(german));

    world.mac.bundleStrings().setReadable(false);
    world.center().restart();
    EXPECT_THAT(notificationCenterLabels().clearAll, ElementsAre("Alle entfernen", "Clear All"));
    EXPECT_EQ(world.countStartingWith("Notification Center's labels (de, from the known translations)"), 1);
}

TEST(ActionLabels, ARowWhoseLabelsMatchNothingIsNotPressedAndTheMissingLabelIsLogged) {
    ControllerWorld world;
    // Notification Center speaks French, yet the user's language (and so the labels sought) is German.
    world.mac.bundleStrings().setPreferredLanguages({"de"});
    world.center().setLanguage("fr");
    world.postEarlier({{.app = "Mail", .title = "Bonjour"}});
    world.start();
    world.openPickerAndSettle();
    ASSERT_TRUE(world.ringShown());
    world.type(VimKey::d);
    world.type(VimKey::d);
    EXPECT_THAT(world.mac.logLines(),
                Contains("Close: no action labelled \"Alle entfernen\" or \"Clear All\" or \"Schließen\" or "
                         "\"Close\""));
    world.type(SidebarOverlay::kReturn);
    world.mac.runFor(1.0);
    EXPECT_THAT(world.openedTitles(), ElementsAre("Bonjour")) << "AXPress opens it in any language";
    for (const auto& action : world.center().receivedActions())
        EXPECT_EQ(action.label, "AXPress");

    world.postEarlier({{.app = "Mail", .title = "Encore"}});
    world.controller->clearAll();
    world.mac.runFor(3.0);
    EXPECT_EQ(world.center().closedOrCleared().size(), 0u);
    EXPECT_EQ(world.count("Clear all: dismissed 0 item(s)"), 1);
    EXPECT_EQ(world.countStartingWith("Clear all: 1 row(s) with no action labelled"), 1);
    EXPECT_THAT(world.center().sidebarRows(), Not(IsEmpty()));
}

} // namespace
} // namespace marlowick
