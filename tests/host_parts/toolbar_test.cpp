#include "host/parts/toolbar.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "frame/collections.h"
#include "frame/host_error.h"
#include "tests/support/host_error_of.h"

namespace velaqm::host {
namespace {

using Change = std::tuple<std::string, std::string, bool>;

// Records what a bar reports, as the form's transcript would.
struct Recorder {
    std::vector<Change> changes;
    void Watch(ObservedBar& bar) {
        bar.SetObserver([this](const std::string& key, std::string_view property, bool value) {
            changes.emplace_back(key, std::string(property), value);
        });
    }
};

using velaqm::testing::HostErrorOf;

TEST(HostToolbar, ToolbarInsertTakesACopyOfAnotherToolbarsTool) {
    HostActiveBar source;
    const HostToolPtr original = source.HostTools()->AddTool("mnuEditCheck");
    original->SetCaption("Audit");
    const auto picture = NewDictionary();
    original->SetPicture(0, picture);
    original->SetEnabled(false);

    HostActiveBar target;
    target.Tools()->Insert(0, original);
    const ToolPtr copy = target.Tools()->Item("mnuEditCheck");

    ASSERT_NE(copy, original);
    EXPECT_FALSE(copy->Enabled());
    EXPECT_EQ(target.FindTool("mnuEditCheck")->Caption(), "Audit");
    EXPECT_EQ(copy->GetPicture(0), Variant(picture));
    EXPECT_TRUE(copy->GetPicture(1).IsNothing());

    copy->SetEnabled(true);
    EXPECT_FALSE(original->Enabled());
}

TEST(HostToolbar, BandInsertSharesTheToolbarsOwnToolOrCopiesWhenItHasNone) {
    HostActiveBar source;
    const HostToolPtr foreignCheck = source.HostTools()->AddTool("mnuEditCheck");
    const HostToolPtr foreignFormula = source.HostTools()->AddTool("mnuFormular");

    HostActiveBar bar;
    const HostToolPtr own = bar.HostTools()->AddTool("mnuEditCheck");
    const BandPtr band = bar.AddBand("mnuEdit");
    band->Tools()->Insert(0, foreignCheck);
    band->Tools()->Insert(1, foreignFormula);

    EXPECT_EQ(band->Tools()->Item("mnuEditCheck"), own);
    band->Tools()->Item("mnuEditCheck")->SetVisible(false);
    EXPECT_FALSE(bar.Tools()->Item("mnuEditCheck")->Visible());
    EXPECT_TRUE(foreignCheck->Visible());

    const ToolPtr formula = band->Tools()->Item("mnuFormular");
    EXPECT_NE(formula, foreignFormula);
    EXPECT_EQ(bar.FindTool("mnuFormular"), formula);
    EXPECT_EQ(bar.HostTools()->Find("mnuFormular"), nullptr);
}

TEST(HostToolbar, RefusesDuplicatesMissingKeysAndPositionsOutsideTheCollection) {
    HostActiveBar bar;
    bar.HostTools()->AddTool("mnuFileSave");
    const BandPtr band = bar.AddBand("BandToolBar");
    band->Tools()->Insert(0, bar.Tools()->Item("mnuFileSave"));
    const auto stranger = std::make_shared<HostTool>("MNUFILESAVE");

    struct Case {
        const char* what;
        std::function<void()> call;
        std::int32_t number;
        std::string descriptionHas;
    };
    const std::vector<Case> cases = {
        {"toolbar duplicate, other case", [&] { bar.Tools()->Insert(0, stranger); },
         kErrKeyNotUnique, "MNUFILESAVE"},
        {"band duplicate", [&] { band->Tools()->Insert(1, stranger); }, kErrKeyNotUnique,
         "MNUFILESAVE"},
        {"duplicate band", [&] { bar.AddBand("bandtoolbar"); }, kErrKeyNotUnique, "bandtoolbar"},
        {"missing tool", [&] { bar.Tools()->Item("mnuNothing"); }, kErrElementNotFound,
         "Element not found: mnuNothing"},
        {"missing band tool", [&] { band->Tools()->Item("mnuNothing"); }, kErrElementNotFound,
         "mnuNothing"},
        {"missing band", [&] { bar.Bands("mnuNothing"); }, kErrElementNotFound, "mnuNothing"},
        {"insert past the end",
         [&] { band->Tools()->Insert(2, std::make_shared<HostTool>("mnuNew")); },
         kErrIndexOutOfBounds, "2"},
        {"insert before the start",
         [&] { band->Tools()->Insert(-1, std::make_shared<HostTool>("mnuNew")); },
         kErrIndexOutOfBounds, "-1"},
        {"item past the end", [&] { band->Tools()->ItemAt(1); }, kErrIndexOutOfBounds, "1"},
        {"insert nothing", [&] { band->Tools()->Insert(0, nullptr); }, kErrObjectRequired, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HostError error = HostErrorOf(c.call);
        EXPECT_EQ(error.Number(), c.number);
        EXPECT_EQ(error.Source(), "ActiveBar");
        EXPECT_NE(error.Description().find(c.descriptionHas), std::string::npos)
            << error.Description();
    }
    EXPECT_EQ(bar.Tools()->Count(), 1);
    EXPECT_EQ(band->Tools()->Count(), 1);
    EXPECT_EQ(bar.Tools()->Item("MNUFILESAVE")->Name(), "mnuFileSave");
}

// The list's audit tools go in as a plug-in puts them: both at position 1 of "mnuEdit", then
// the audit tool again at 3 of "BandToolBar".
TEST(HostToolbar, ToolIndexFollowsInsertionsAtTheSamePosition) {
    const HostActiveBarPtr hidden = std::make_shared<HostActiveBar>();
    hidden->HostTools()->AddTool("mnuEditCheck");
    hidden->HostTools()->AddTool("mnuEditUnCheck");
    const HostActiveBarPtr list = MakeListToolBar({1001907, 1001911});

    for (const char* key : {"mnuEditUnCheck", "mnuEditCheck"}) {
        const ToolPtr tool = hidden->Tools()->Item(key);
        list->Tools()->Insert(list->Tools()->Count(), tool);
        list->Bands("mnuEdit")->Tools()->Insert(1, tool);
    }
    list->Bands("BandToolBar")->Tools()->Insert(3, hidden->Tools()->Item("mnuEditCheck"));

    EXPECT_EQ(list->ToolIndex("mnuEdit", "mnuEdit"), 0);
    EXPECT_EQ(list->ToolIndex("mnuEdit", "mnuEditCheck"), 1);
    EXPECT_EQ(list->ToolIndex("mnuEdit", "mnuEditUnCheck"), 2);
    EXPECT_EQ(list->ToolIndex("mnuEdit", "mnuEditDelete"), 3);
    EXPECT_EQ(list->ToolIndex("BandToolBar", "mnuEditCheck"), 3);
    EXPECT_EQ(list->ToolIndex("BandToolBar", "mnuDataViewPrvBill"), 4);
    EXPECT_EQ(list->ToolIndex("mnuPush", "mnuPushBill_1001911"), 1);
    EXPECT_EQ(list->ToolIndex("mnuEdit", "mnuPushBill_1001911"), -1);
    EXPECT_EQ(list->ToolIndex("mnuNoBand", "mnuEdit"), -1);

    // One tool behind every place it shows.
    list->FindTool("mnuEditCheck")->SetEnabled(false);
    EXPECT_FALSE(list->Bands("BandToolBar")->Tools()->ItemAt(3)->Enabled());
    EXPECT_FALSE(list->Bands("mnuEdit")->Tools()->ItemAt(1)->Enabled());
    EXPECT_TRUE(hidden->Tools()->Item("mnuEditCheck")->Enabled());
}

TEST(HostToolbar, StandardBillToolbarStartsWithOnlyTheAuditToolsHidden) {
    const HostActiveBarPtr bar = MakeBillToolBar();
    const HostMenuBarPtr menu = MakeBillMenuBar();
    for (const std::string& key : StandardBillTools()) {
        SCOPED_TRACE(key);
        const bool audit = key == "mnuEditCheck" || key == "mnuEditUnCheck";
        for (const HostToolPtr& tool : {bar->FindTool(key), menu->FindTool(key)}) {
            ASSERT_NE(tool, nullptr);
            EXPECT_EQ(tool->Visible(), !audit);
            EXPECT_TRUE(tool->Enabled());
        }
        bool inBand = false;
        for (const HostBandPtr& band : bar->BandList()) {
            if (const HostToolPtr shown = band->HostTools()->Find(key)) {
                inBand = true;
                EXPECT_EQ(shown, bar->FindTool(key)) << band->Name();
            }
        }
        EXPECT_TRUE(inBand);
    }
    for (const char* band : {"BandToolBar", "mnuFile", "mnuEdit", "mnuData"})
        EXPECT_NO_THROW(bar->Bands(band)) << band;
}

TEST(HostToolbar, ObserverHearsEachRealChangeOnceWhereverTheToolIsReached) {
    const HostActiveBarPtr source = MakeBillToolBar();
    const HostActiveBarPtr bar = MakeBillToolBar();
    Recorder seen;
    Recorder sourceSeen;
    seen.Watch(*bar);
    sourceSeen.Watch(*source);

    bar->Bands("mnuEdit")->Tools()->Item("mnuEditCheck")->SetVisible(true);
    bar->Tools()->Item("mnuEditCheck")->SetVisible(true);  // no change, nothing to report
    bar->Tools()->Item("mnuFileSave")->SetEnabled(false);
    const auto foreign = std::make_shared<HostTool>("mnuFormular");
    bar->Bands("BandToolBar")->Tools()->Insert(0, foreign);
    bar->Bands("BandToolBar")->Tools()->Item("mnuFormular")->SetEnabled(false);
    foreign->SetVisible(false);

    const HostActiveBarPtr list = MakeListToolBar({});
    Recorder listSeen;
    listSeen.Watch(*list);
    list->Tools()->Insert(0, source->Tools()->Item("mnuEditUnCheck"));
    list->Tools()->Item("mnuEditUnCheck")->SetVisible(true);

    EXPECT_EQ(seen.changes, (std::vector<Change>{{"mnuEditCheck", "Visible", true},
                                                 {"mnuFileSave", "Enabled", false},
                                                 {"mnuFormular", "Enabled", false}}));
    EXPECT_EQ(listSeen.changes, (std::vector<Change>{{"mnuEditUnCheck", "Visible", true}}));
    EXPECT_TRUE(sourceSeen.changes.empty());
}

TEST(HostToolbar, RestoreReturnsToolsBandsAndStatesToTheSnapshotSilently) {
    const HostActiveBarPtr bar = MakeBillToolBar();
    bar->Tools()->Item("mnuEditCheck")->SetVisible(true);
    const ToolbarSnapshot built = bar->Snapshot();
    const std::string renderedAtBuild = bar->Render();

    Recorder seen;
    seen.Watch(*bar);
    bar->Tools()->Item("mnuEditCheck")->SetVisible(false);
    bar->Tools()->Item("mnuFileSave")->SetEnabled(false);
    bar->FindTool("mnuFileSave")->SetCaption("changed");
    const auto extra = std::make_shared<HostTool>("mnuExtra");
    bar->Tools()->Insert(0, extra);
    bar->Bands("BandToolBar")->Tools()->Insert(0, extra);
    seen.changes.clear();

    bar->Restore(built);

    EXPECT_TRUE(seen.changes.empty());
    EXPECT_EQ(bar->Render(), renderedAtBuild);
    EXPECT_TRUE(bar->FindTool("mnuEditCheck")->Visible());
    EXPECT_TRUE(bar->FindTool("mnuFileSave")->Enabled());
    EXPECT_EQ(bar->FindTool("mnuFileSave")->Caption(), "");
    EXPECT_EQ(bar->FindTool("mnuExtra"), nullptr);
    EXPECT_EQ(bar->ToolIndex("BandToolBar", "mnuFileNew"), 0);

    // The restored bar still shares its tools with its bands and still reports.
    bar->Bands("mnuFile")->Tools()->Item("mnuFileSave")->SetEnabled(false);
    EXPECT_FALSE(bar->Tools()->Item("mnuFileSave")->Enabled());
    EXPECT_EQ(seen.changes, (std::vector<Change>{{"mnuFileSave", "Enabled", false}}));

    // A snapshot restores as often as the form reloads; one never taken leaves the bar alone.
    bar->Restore(built);
    EXPECT_TRUE(bar->FindTool("mnuFileSave")->Enabled());
    bar->Restore(ToolbarSnapshot());
    EXPECT_EQ(bar->Render(), renderedAtBuild);
}

TEST(HostToolbar, MenuBarRestoresAndKeepsKeysApartFromNames) {
    const HostMenuBarPtr menu = MakeBillMenuBar();
    const ToolbarSnapshot built = menu->Snapshot();
    const HostToolPtr value = menu->HostTools()->AddTool("mnuItemValue", "ItemValue");
    menu->FindTool("mnuEditCopy")->SetVisible(false);

    EXPECT_EQ(menu->Tools()->Item("ItemValue")->Name(), "mnuItemValue");
    EXPECT_THROW(menu->Tools()->Item("mnuItemValue"), HostError);

    menu->Restore(built);
    EXPECT_EQ(menu->FindTool("ItemValue"), nullptr);
    EXPECT_TRUE(menu->FindTool("mnuEditCopy")->Visible());
}

// A tool placed before another in the menu bar's bands is the menu bar's own tool in each, and a
// restore takes it out of the bands again.
TEST(HostToolbar, MenuBarBandsPlaceAToolBeforeAKeyAndRestoreWithoutIt) {
    const HostMenuBarPtr menu = MakeBillMenuBar();
    const ToolbarSnapshot built = menu->Snapshot();
    const ToolPtr value = menu->Tools()->Add("mnuItemValue");
    for (const char* band : {"mnuData", "BandToolBar"})
        menu->Bands(band)->Tools()->InsertBefore("mnuDataRefesh", value);
    value->SetPicture(0, Variant(ObjectPtr(std::make_shared<HostPicture>(kLibraryBitmap))),
                      0xC0C0C0);
    value->SetVisible(false);

    EXPECT_EQ(RenderTools(menu->FindBand("mnuData")->HostTools()->Tools()),
              "mnuDataLookUp, mnuItemValue (hidden, picture), mnuDataRefesh, mnuDataRedBill, "
              "mnuDataBlueBill");
    EXPECT_EQ(menu->FindBand("BandToolBar")->HostTools()->Find("mnuItemValue"),
              menu->FindTool("mnuItemValue"));
    EXPECT_EQ(menu->FindTool("mnuItemValue")->MaskColor(0), 0xC0C0C0);
    EXPECT_EQ(HostErrorOf([&] {
                  menu->Bands("mnuData")->Tools()->InsertBefore("mnuNone", value);
              }).Number(),
              kErrElementNotFound);
    EXPECT_EQ(HostErrorOf([&] { menu->Bands("mnuEdit"); }).Number(), kErrElementNotFound);

    menu->Restore(built);
    EXPECT_EQ(menu->FindBand("mnuData")->HostTools()->Find("mnuItemValue"), nullptr);
    EXPECT_EQ(menu->FindTool("mnuItemValue"), nullptr);
}

// A picture set again without a mask loses the old mask; taking the picture away takes both.
TEST(HostToolbar, APicturesMaskGoesWithThePicture) {
    HostTool tool("mnuItemValue");
    const Variant picture(ObjectPtr(std::make_shared<HostPicture>(kLibraryBitmap)));
    tool.SetPicture(0, picture, 0xC0C0C0);
    EXPECT_EQ(tool.MaskColor(0), 0xC0C0C0);
    tool.SetPicture(0, picture);
    EXPECT_EQ(tool.MaskColor(0), std::nullopt);
    tool.SetPicture(0, picture, 0xFF00FF);
    tool.SetPicture(0, Variant::Nothing(), 0xFF00FF);
    EXPECT_TRUE(tool.GetPicture(0).IsNothing());
    EXPECT_EQ(tool.MaskColor(0), std::nullopt);
}

TEST(HostToolbar, RenderingMarksHiddenAndDisabledTools) {
    HostActiveBar bar;
    bar.HostTools()->AddTool("mnuA");
    bar.HostTools()->AddTool("mnuB")->SetVisible(false);
    const HostToolPtr c = bar.HostTools()->AddTool("mnuC");
    c->SetVisible(false);
    c->SetEnabled(false);
    bar.HostTools()->AddTool("mnuD")->SetEnabled(false);
    const BandPtr band = bar.AddBand("BandToolBar");
    for (const char* key : {"mnuA", "mnuB", "mnuC"})
        band->Tools()->Insert(band->Tools()->Count(), bar.Tools()->Item(key));

    EXPECT_EQ(bar.Render(),
              "BandToolBar: mnuA, mnuB (hidden), mnuC (hidden, disabled)\n"
              "(no band): mnuD (disabled)\n");
}

}  // namespace
}  // namespace velaqm::host
