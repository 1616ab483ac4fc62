// How fields are shown and read back: ints in plain decimal within 32 bits, doubles in the general
// format with 15 significant digits and a full parse.
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CDialog.h"
#include "res/Resource.h"

#include "../support/DialogDriver.h"
#include "../support/ScriptedModalHost.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>

TEST(DataExchange_ParseInt, AcceptsWholeDecimalIntegersWithin32Bits) {
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"0", 0},
        {"-12", -12},
        {" 42\t", 42},
        {"+7", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"1.5", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {"0x10", std::nullopt},
        {"--1", std::nullopt},
        {"+-1", std::nullopt},
        {"-", std::nullopt},
        {"１２", std::nullopt},
    };
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_EQ(AfxParseInt(c.text, value), c.value.has_value()) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value.value_or(12345)) << '"' << c.text << "\": a refused text leaves the value";
    }
}

TEST(DataExchange_ParseDouble, AcceptsWholeFiniteNumbers) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"1", 1.0},
        {"-2.5e3", -2500.0},
        {" .5 ", 0.5},
        {"+3", 3.0},
        {"1E-3", 0.001},
        {"1e308", 1e308},
        {"0.1", 0.1},
        {"1e309", std::nullopt},
        {"1e-320", 1e-320},        // subnormal
        {"2e-324", 0.0},           // too small for a double: zero, as the C library reads it
        {"-5e-99999999999", -0.0}, // and its sign is kept
        {"1e99999999999", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"", std::nullopt},
        {"1,5", std::nullopt},
        {"1.5x", std::nullopt},
        {"0x1p3", std::nullopt},
        {"e5", std::nullopt},
        {"+-1", std::nullopt},
    };
    for (const auto& c : cases) {
        double value = 7.0;
        EXPECT_EQ(AfxParseDouble(c.text, value), c.value.has_value()) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value.value_or(7.0)) << '"' << c.text << '"';
        EXPECT_EQ(std::signbit(value), std::signbit(c.value.value_or(7.0))) << '"' << c.text << '"';
    }
}

TEST(DataExchange_FormatDouble, GeneralFormatWithFifteenSignificantDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {1.0, "1"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346e+015"},
        {1e20, "1e+020"},
        {1e-5, "1e-005"},
        {0.0001, "0.0001"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(AfxFormatDouble(c.value).GetString(), c.text) << c.value;
}

namespace {

// The point edit template with a range check after the first field, as a dialog of its own.
class RangeCheckedDlg : public CDialog {
public:
    RangeCheckedDlg() : CDialog(IDD_DATA_EDIT) {}
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_EDIT_X, x);
        DDV_MinMaxInt(pDX, x, 1, 10);
        DDX_Text(pDX, IDC_EDIT_Y, y);
    }
    int x = 5;
    int y = 6;
};

} // namespace

// A range check sees the value just read, and a later refusal puts back what was read before it.
TEST(DataExchange_Dialog, RangeChecksSeeNewValuesAndRefusalsRestoreMembers) {
    ScriptedModalHost host;
    RangeCheckedDlg dlg;
    host.AnswerMessageBox(IDOK);
    host.AnswerMessageBox(IDOK);
    host.AnswerDialog([&](DialogDriver& d) {
        d.SetText(IDC_EDIT_X, "11");
        EXPECT_FALSE(d.PressOK());
        EXPECT_EQ(d.FocusedControlId(), IDC_EDIT_X);
        EXPECT_EQ(dlg.x, 5);
        d.SetText(IDC_EDIT_X, "9");
        d.SetText(IDC_EDIT_Y, "y");
        EXPECT_FALSE(d.PressOK());
        EXPECT_EQ(d.FocusedControlId(), IDC_EDIT_Y);
        EXPECT_EQ(dlg.x, 5) << "the field read before the refused one is put back";
        d.SetText(IDC_EDIT_Y, "-3");
        EXPECT_TRUE(d.PressOK());
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.x, 9);
    EXPECT_EQ(dlg.y, -3);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_STREQ(host.messages[1].text.GetString(), AFX_MSG_PARSE_INT);
}
