// Numbers typed into numeric fields: text that is no number, or more than the field keeps, is
// refused with a message and no Change; what is accepted is stored and read back exactly.
#include <gtest/gtest.h>

#include <optional>

#include "frame/events.h"
#include "host/bill_form.h"
#include "host/bill_store.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

using host::CheckTypedNumber;
using Problem = host::TypedNumberProblem;

constexpr int kInt = 3;
constexpr int kNumeric = 131;
constexpr int kFloat = 5;
constexpr int kMoney = 6;

TEST(CheckTypedNumber, AcceptsWhatTheFieldKeepsAndNamesWhyItRefusesTheRest) {
    struct Case {
        int valueType;
        const char* text;
        Problem expected;
    };
    const Case cases[] = {
        {kNumeric, "100", Problem::None},
        {kNumeric, " -12.5 ", Problem::None},
        {kNumeric, "1e3", Problem::None},
        {kNumeric, "123456789012345678", Problem::None},
        {kNumeric, "-999999999999999999", Problem::None},
        {kNumeric, "0.0000000001", Problem::None},
        {kNumeric, "12345.6789012345", Problem::None},
        {kNumeric, "1.50000000000000000000", Problem::None},
        {kNumeric, "abc", Problem::NotANumber},
        {kNumeric, "12abc", Problem::NotANumber},
        {kNumeric, "1,000", Problem::NotANumber},
        {kNumeric, "1e", Problem::NotANumber},
        {kNumeric, "-", Problem::NotANumber},
        {kNumeric, "1 2", Problem::NotANumber},
        {kNumeric, "1000000000000000000", Problem::OutOfRange},
        {kNumeric, "12345678901234567890123456789012", Problem::OutOfRange},
        {kNumeric, "1e400", Problem::OutOfRange},
        {kNumeric, "0.00000000001", Problem::TooManyPlaces},
        {kNumeric, "1e-11", Problem::TooManyPlaces},
        {kNumeric, "123456.7890123456", Problem::TooManyDigits},
        {kNumeric, "1234567890123456.5", Problem::TooManyDigits},
        {kInt, "2147483647", Problem::None},
        {kInt, "-2147483648", Problem::None},
        {kInt, "2.0", Problem::None},
        {kInt, "2147483648", Problem::OutOfRange},
        {kInt, "2.5", Problem::WholeOnly},
        {kFloat, "123456789012345", Problem::None},
        {kFloat, "1234567890123456", Problem::TooManyDigits},
        {kFloat, "1e-20", Problem::None},
        {kMoney, "12.3456", Problem::None},
        {kMoney, "12.34567", Problem::TooManyPlaces},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckTypedNumber(c.valueType, c.text), c.expected)
            << "type " << c.valueType << " \"" << c.text << "\"";
}

class NumericFieldTest : public testing::SessionTest {
  protected:
    // A class of its own, no plug-in: a decimal quantity and a whole count in the head.
    void SetUp() override {
        SessionTest::SetUp();
        session->Db().ExecuteNative(R"sql(
            CREATE TABLE T_Num (FID INTEGER PRIMARY KEY, FBillNo TEXT, FCheckerID INTEGER,
                                FQty NUMERIC, FCount INTEGER);
            INSERT INTO ICClassType (FID, FName_chs, FTableName, FBillNoPrefix) VALUES (1009930, 'test', 'T_Num', 'N');
            INSERT INTO ICClassTypeEntry VALUES (1009930, 1, 'T_Num', 0);
            INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs, FCaption_en, FValueType, FKeyWord)
                VALUES (1009930, 'FID', 'FID', 1, 0, '', '', 3, ''), (1009930, 'FBillNo', 'FBillNo', 1, 1, '', '', 200, 'BILLNO'),
                       (1009930, 'FQty', 'FQty', 1, 2, '数量', 'Quantity', 131, ''),
                       (1009930, 'FCount', 'FCount', 1, 3, '', '', 3, '');
        )sql");
    }

    host::BillForm& OpenNew() {
        host::BillForm& form = session->OpenNewBill(1009930);
        m_changes = 0;
        m_member.reset();
        m_member.emplace(BillEventHandlers{
            .Change = [this](const DictionaryPtr&, const DictionaryPtr&, int, int,
                             bool&) { ++m_changes; },
        });
        *m_member = std::static_pointer_cast<BillEvent>(form.shared_from_this());
        return form;
    }

    // Saves, then reads the bill back from the database.
    host::BillForm& SaveAndReopen(host::BillForm& form) {
        EXPECT_TRUE(form.Save());
        return session->OpenBill(1009930, form.BillId(), false);
    }

    int m_changes = 0;
    std::optional<EventMember<BillEvent>> m_member;
};

TEST_F(NumericFieldTest, TextThatIsNoNumberIsRefusedWithAMessageAndNoChange) {
    host::BillForm& form = OpenNew();
    form.Edit("FQty", 0, "12");
    ASSERT_EQ(m_changes, 1);
    for (const char* typed : {"abc", "1,000", "12abc"}) {
        form.Edit("FQty", 0, typed);
        EXPECT_EQ(NextMessage(), "数量必须是数字，请重新输入！") << typed;
        EXPECT_EQ(form.ValueText("FQty", 0), "12") << "the old value stays";
    }
    EXPECT_EQ(m_changes, 1) << "no Change for refused text";
    form.Edit("FQty", 0, "");
    EXPECT_EQ(form.ValueText("FQty", 0), "") << "clearing is no number and is allowed";
    EXPECT_EQ(NextMessage(), "");
}

TEST_F(NumericFieldTest, TooLargeOrTooPreciseNumbersAreRefusedNamingTheField) {
    host::BillForm& form = OpenNew();
    form.Edit("FQty", 0, "12345678901234567890123456789012");
    EXPECT_EQ(NextMessage(), "数量超出范围（-999999999999999999 ～ 999999999999999999）！");
    form.Edit("FQty", 0, "0.00000000001");
    EXPECT_EQ(NextMessage(), "数量最多10位小数！");
    form.Edit("FQty", 0, "1234567890123456.5");
    EXPECT_EQ(NextMessage(), "数量最多15位有效数字！");
    form.Edit("FCount", 0, "2.5");
    EXPECT_EQ(NextMessage(), "FCount只能输入整数！") << "a field without a caption by its key";
    EXPECT_EQ(m_changes, 0);
    EXPECT_EQ(form.ValueText("FQty", 0), "");
}

TEST_F(NumericFieldTest, TheMessagesFollowTheSessionLanguage) {
    host::LoginInfo login;
    login.language = "en";
    session->Login(login);
    host::BillForm& form = OpenNew();
    form.Edit("FQty", 0, "abc");
    EXPECT_EQ(NextMessage(), "Quantity must be a number, please enter it again!");
    form.Edit("FCount", 0, "3000000000");
    EXPECT_EQ(NextMessage(), "FCount is out of range (-2147483648 to 2147483647)!");
}

TEST_F(NumericFieldTest, WholeNumbersAndDecimalsAreStoredAndReadBackExactly) {
    struct Case {
        const char* typed;
        const char* stored;
        const char* storageClass;
    };
    const Case cases[] = {
        {"123456789012345678", "123456789012345678", "integer"},
        {"-999999999999999999", "-999999999999999999", "integer"},
        {"12345.6789012345", "12345.6789012345", "real"},
        {"0.0000000001", "0.0000000001", "real"},
        {" 2.50 ", "2.5", "real"},
        {"1e3", "1000", "integer"},
    };
    for (const Case& c : cases) {
        host::BillForm& form = OpenNew();
        form.Edit("FQty", 0, c.typed);
        EXPECT_EQ(NextMessage(), "") << c.typed;
        host::BillForm& reopened = SaveAndReopen(form);
        const std::string bill = " from T_Num where FID = " + std::to_string(reopened.BillId());
        EXPECT_EQ(reopened.ValueText("FQty", 0), c.stored) << c.typed;
        EXPECT_EQ(Query("select typeof(FQty)" + bill), c.storageClass) << c.typed;
        EXPECT_EQ(Query("select count(*)" + bill + " and FQty = " + c.stored), "1")
            << "the stored number equals its literal in SQL: " << c.typed;
    }
}

}  // namespace
}  // namespace velaqm
