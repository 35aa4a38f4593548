// The substitute host's check-value dialog and the library's resource pictures: what a plug-in
// that asks for the wrong form or resource gets back.
#include <gtest/gtest.h>

#include "frame/host_services.h"
#include "frame/platform.h"
#include "host/parts/toolbar.h"
#include "tests/support/host_error_of.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

using velaqm::testing::HostErrorOf;

class ItemDialogTest : public testing::SessionTest {};

TEST_F(ItemDialogTest, OnlyTheItemValueFormLoadsAndEveryStepIsNoted) {
    const auto dialog = CreateObject<QMItemDialog>(progid::kQMItemDialog);
    EXPECT_TRUE(dialog->Load("FrmOther").IsNothing());
    const auto form = dialog->Load("frmitemvalue").ObjectAs<QMItemDialogForm>();
    ASSERT_NE(form, nullptr) << "form names compare without regard to case";
    EXPECT_EQ(HostErrorOf([&] { form->SetFunc(nullptr, 1); }).Number(), kErrObjectRequired);
    const DictionaryPtr data = NewDictionary();
    data->SetItem("FItemID", 3);
    EXPECT_TRUE(form->SetFunc(data, 1));
    form->Show(0);
    EXPECT_EQ(session->TakeDialogNotes(),
              (std::vector<std::string>{"load FrmOther", "load frmitemvalue", "FItemID=3",
                                        "function 1", "shown"}));
    EXPECT_TRUE(session->TakeDialogNotes().empty()) << "reading empties the notes";
}

TEST_F(ItemDialogTest, TheLibraryHasOneBitmap) {
    const auto picture =
        std::dynamic_pointer_cast<host::HostPicture>(CurrentPlatform().LoadResPicture(1));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->ResourceId(), 1);
    for (int missing : {0, 2, -1})
        EXPECT_EQ(HostErrorOf([&] { CurrentPlatform().LoadResPicture(missing); }).Number(),
                  kErrResourceNotFound)
            << missing;
}

}  // namespace
}  // namespace velaqm
