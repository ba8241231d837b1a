// The Command button's persisted keys: order, defaults and the values that
// come back after a save and a load.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/command.h"
#include "controls/property_store.h"
#include "recording_port.h"

namespace kb::controls {
namespace {

using testing::RecordingPort;

const FontSpec kDialogFont{"ＭＳ Ｐゴシック", 9.75, 128, 400, false, false, false};

// A store that also lists the keys in the order they were asked for.
class RecordingBag : public PropertyStore {
 public:
  std::optional<PropertyValue> Read(const std::string& key,
                                    const PropertyValue& defaultValue) const override {
    reads.push_back(key);
    return PropertyStore::Read(key, defaultValue);
  }
  void Write(const std::string& key, const PropertyValue& value,
             const PropertyValue& defaultValue) override {
    writes.push_back(key);
    PropertyStore::Write(key, value, defaultValue);
  }
  mutable std::vector<std::string> reads;
  std::vector<std::string> writes;
};

TEST(CommandPersistence, ReadsAndWritesTheKeysInTheirOwnOrders) {
  RecordingPort port;
  CommandCore core(port);
  RecordingBag bag;
  core.ReadProperties(bag);
  core.WriteProperties(bag);
  EXPECT_EQ(bag.reads, (std::vector<std::string>{"Enabled", "Caption", "Font", "FirstRun",
                                                 "FontColour", "Visible"}));
  EXPECT_EQ(bag.writes, (std::vector<std::string>{"Enabled", "Caption", "FirstRun", "Font",
                                                  "FontColour", "Visible"}));
}

TEST(CommandPersistence, DialogInstanceStoresOnlyCaptionAndFont) {
  RecordingPort port;
  CommandCore core(port);
  core.ReadProperties(PropertyStore{});
  core.SetCaption("ｷｬﾝｾﾙ");
  core.SetFont(kDialogFont);
  PropertyStore store;
  core.WriteProperties(store);
  EXPECT_EQ(store.Keys(), (std::vector<std::string>{"Caption", "Font"}));

  RecordingPort reloadedPort;
  CommandCore reloaded(reloadedPort);
  reloaded.ReadProperties(store);
  EXPECT_EQ(reloaded.Caption(), "ｷｬﾝｾﾙ");
  EXPECT_EQ(reloaded.Font(), kDialogFont);
  EXPECT_EQ(reloaded.EnabledValue(), kTrue);
  EXPECT_EQ(reloaded.FirstRun(), 1);
  EXPECT_EQ(reloaded.Label().colour, 0u);
  EXPECT_TRUE(reloaded.Opaque());
  // Loading ends with ResetFace.
  EXPECT_EQ(reloadedPort.Skins(), std::vector<Skin>{Skin::Normal});
}

TEST(CommandPersistence, EveryNonDefaultValueRoundTrips) {
  RecordingPort port;
  CommandCore core(port);  // fresh: FirstRun 0, Enabled 0
  core.SetCaption("その他の作品");
  core.SetFont(kDialogFont);
  core.SetFontColour(0x00123456);
  core.SetVisible(0);
  PropertyStore store;
  core.WriteProperties(store);
  EXPECT_EQ(store.Keys(), (std::vector<std::string>{"Enabled", "Caption", "FirstRun", "Font",
                                                    "FontColour", "Visible"}));

  RecordingPort reloadedPort;
  CommandCore reloaded(reloadedPort);
  reloaded.ReadProperties(store);
  EXPECT_EQ(reloaded.EnabledValue(), kFalse);
  EXPECT_EQ(reloaded.FirstRun(), 0);
  EXPECT_EQ(reloaded.Caption(), "その他の作品");
  EXPECT_EQ(reloaded.Font(), kDialogFont);
  EXPECT_EQ(reloaded.Label().colour, 0x00123456u);  // disabled: ResetFace keeps the colour
  EXPECT_FALSE(reloaded.Opaque());
  EXPECT_TRUE(reloadedPort.paints.empty());
}

TEST(CommandPersistence, CaptionCommandIsLeftOutAndReloadsAsCommand1) {
  RecordingPort port;
  CommandCore core(port);
  core.ReadProperties(PropertyStore{});
  EXPECT_EQ(core.Caption(), "Command1");
  core.SetCaption("Command");
  PropertyStore store;
  core.WriteProperties(store);
  EXPECT_FALSE(store.Contains("Caption"));
  core.ReadProperties(store);
  EXPECT_EQ(core.Caption(), "Command1");
}

TEST(CommandPersistence, StoredFirstRunZeroAndEnabledResetsTheCaptionToBlack) {
  PropertyStore store;
  store.Write("FirstRun", std::int32_t{0}, std::int32_t{1});
  store.Write("FontColour", std::int32_t{0x0000FF}, std::int32_t{0});
  RecordingPort port;
  CommandCore core(port);
  core.ReadProperties(store);
  EXPECT_EQ(core.EnabledValue(), kTrue);
  EXPECT_EQ(core.Label().colour, 0u);
  EXPECT_EQ(port.Skins(), std::vector<Skin>{Skin::Normal});
  EXPECT_EQ(core.Enabled(), kTrue);
  EXPECT_EQ(core.FirstRun(), 1);
}

TEST(CommandPersistence, FailedReadsSkipOnlyTheirOwnStep) {
  PropertyStore store;
  store.Write("Caption", std::int32_t{5}, std::string("Command"));    // wrong type
  store.Write("FirstRun", std::int32_t{300}, std::int32_t{1});        // not 8-bit
  store.Write("Font", std::string("Arial"), std::string("ambient"));  // wrong type
  store.Write("FontColour", std::int32_t{0x00FF00}, std::int32_t{0});
  RecordingPort port;
  CommandCore core(port);
  core.ReadProperties(store);
  EXPECT_EQ(core.Caption(), "Command");   // the design caption stays
  EXPECT_EQ(core.Font(), port.ambient);   // as created
  EXPECT_EQ(core.FirstRun(), 0);          // fresh value stays
  EXPECT_EQ(core.EnabledValue(), kTrue);  // read on as usual
  EXPECT_EQ(core.Label().colour, 0u);     // FirstRun 0 and enabled: black
}

TEST(PropertyStore, WritingTheDefaultRemovesAStoredValue) {
  PropertyStore store;
  store.Write("Caption", std::string("OK"), std::string("Command"));
  store.Write("Visible", std::int32_t{0}, std::int32_t{1});
  store.Write("Caption", std::string("Command"), std::string("Command"));
  EXPECT_EQ(store.Keys(), std::vector<std::string>{"Visible"});
  EXPECT_EQ(store.Read("Caption", std::string("Command1")), PropertyValue{std::string("Command1")});
  EXPECT_EQ(store.Read("Visible", std::int32_t{1}), PropertyValue{std::int32_t{0}});
}

}  // namespace
}  // namespace kb::controls
