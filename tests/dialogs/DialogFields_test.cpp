// Reading the dialogs' number fields: the seven-character cut and the
// leading number, with anything a float cannot hold left unread.
#include "dialogs/DialogFields.h"

#include <gtest/gtest.h>


namespace {

struct FloatCase {
    const char* text;
    bool readable;
    float value;
};

const FloatCase kFloatCases[] = {
    {"12.5", true, 12.5f},
    {"-1234.56", true, -1234.5f},   // only "-1234.5" is read
    {"1.23456789", true, 1.23456f},
    {"2,5", true, 2.0f},            // a comma ends the number
    {"12abc", true, 12.0f},
    {"  -3", true, -3.0f},
    {"+.5", true, 0.5f},
    {"5.", true, 5.0f},
    {"1e3", true, 1000.0f},
    {"2e", true, 2.0f},             // an 'e' without digits is not an exponent
    {"2e+x", true, 2.0f},
    {"0x10", true, 0.0f},           // no hexadecimal numbers
    {"      7", true, 7.0f},        // seven characters, the last one a digit
    {"       7", false, 0.0f},      // the digit is the eighth character
    {"", false, 0.0f},
    {"abc", false, 0.0f},
    {"-", false, 0.0f},
    {".", false, 0.0f},
    {"nan", false, 0.0f},
    {"inf", false, 0.0f},
    {"1e39", false, 0.0f},          // beyond any float
};

TEST(FloatFieldTest, ReadsLeadingNumberOfFirstSevenCharacters)
{
    for (const FloatCase& c : kFloatCases) {
        float value = 99.0f;
        EXPECT_EQ(ReadFloatField(QString::fromUtf8(c.text), value), c.readable) << c.text;
        EXPECT_FLOAT_EQ(value, c.readable ? c.value : 99.0f) << c.text;
    }
}

TEST(IntFieldTest, ReadsLeadingWholeNumberOrKeepsValue)
{
    const struct {
        const char* text;
        bool readable;
        int value;
    } cases[] = {
        {"7", true, 7},         {"-1", true, -1},      {" 12abc", true, 12}, {"3.9", true, 3},
        {"12345678", true, 1234567}, {"", false, 0},   {"abc", false, 0},    {"#3", false, 0},
    };
    for (const auto& c : cases) {
        int value = -1;
        EXPECT_EQ(ReadIntField(QString::fromUtf8(c.text), value), c.readable) << c.text;
        EXPECT_EQ(value, c.readable ? c.value : -1) << c.text;
    }
}

} // namespace
